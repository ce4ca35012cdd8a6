#pragma once
// Small helpers over cairo and pango shared by every picture: owning handles, colours, gradients,
// rounded shapes, blurred glows and pixel-snapped text.

#include <cairo.h>
#include <pango/pangocairo.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace artwork {

struct Colour {
    double r = 0;
    double g = 0;
    double b = 0;
};

constexpr Colour Hex(std::uint32_t rgb) {
    return Colour{((rgb >> 16) & 0xff) / 255.0, ((rgb >> 8) & 0xff) / 255.0, (rgb & 0xff) / 255.0};
}

constexpr Colour kWhite = Hex(0xffffff);
constexpr Colour kBlack = Hex(0x000000);

Colour Mix(Colour a, Colour b, double t);
inline Colour Lighter(Colour c, double t) {
    return Mix(c, kWhite, t);
}
inline Colour Darker(Colour c, double t) {
    return Mix(c, kBlack, t);
}

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
struct PatternDeleter {
    void operator()(cairo_pattern_t* pattern) const { cairo_pattern_destroy(pattern); }
};
struct LayoutDeleter {
    void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Context = std::unique_ptr<cairo_t, ContextDeleter>;
using Pattern = std::unique_ptr<cairo_pattern_t, PatternDeleter>;
using Layout = std::unique_ptr<PangoLayout, LayoutDeleter>;

// An opaque surface has no alpha channel and is written as an RGB PNG; it starts black, the other
// starts fully transparent.
Surface NewSurface(int width, int height, bool opaque);
Context NewContext(cairo_surface_t* surface);
int WidthOf(cairo_surface_t* surface);
int HeightOf(cairo_surface_t* surface);

void SetColour(cairo_t* cr, Colour colour, double alpha = 1);

struct Stop {
    double offset;
    Colour colour;
    double alpha = 1;
};
Pattern Linear(double x0, double y0, double x1, double y1, std::initializer_list<Stop> stops);
Pattern Radial(double cx, double cy, double radius, std::initializer_list<Stop> stops);
// A radial gradient whose focus sits away from the centre of its outer circle.
Pattern Radial(double fx, double fy, double cx, double cy, double radius, std::initializer_list<Stop> stops);
void SetSource(cairo_t* cr, const Pattern& pattern);

void RoundedRect(cairo_t* cr, double x, double y, double width, double height, double radius);

struct Corner {
    double x;
    double y;
    double radius;
};
// A closed outline through the corners, each rounded by its own radius; concave corners work too.
void RoundedPolygon(cairo_t* cr, const std::vector<Corner>& corners);

// A separable box blur run three times, which comes close enough to a Gaussian for glows and shadows.
void Blur(cairo_surface_t* surface, int radius);
// Scales every pixel down towards the border of the surface so that its outermost pixels are fully
// transparent; a glow that would otherwise be cut by the edge of a picture fades out instead.
void FadeToEdges(cairo_surface_t* surface, int width);
// Renders `draw` into a scratch layer the size of the picture, blurs it and paints it on `cr`.
void PaintBlurred(cairo_t* cr, int width, int height, int radius, double alpha,
                  const std::function<void(cairo_t*)>& draw, int fade_edges = 0);

struct Font {
    std::string family;
    double pixels = 12;
    bool bold = false;
    double letter_spacing = 0;
};

Layout NewLayout(cairo_t* cr, const std::string& text, const Font& font);

struct Box {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};
Box InkBox(PangoLayout* layout);
Box LogicalBox(PangoLayout* layout);

struct Point {
    double x;
    double y;
};
// Where the layout has to be drawn from so that its inked pixels are centred on (cx, cy); whole
// pixels, so that hinted glyphs stay sharp.
Point CentredOrigin(PangoLayout* layout, double cx, double cy);
void ShowLayout(cairo_t* cr, PangoLayout* layout, Point origin, Colour colour, double alpha = 1);
// A label with a one pixel shadow under it, the way engraved captions on the buttons are drawn.
void ShowLayoutWithShadow(cairo_t* cr, PangoLayout* layout, Point origin, Colour colour, Colour shadow,
                          double shadow_alpha, double dy = 1);

// A reproducible sequence of numbers, so that every run draws the same star field.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    double Next();  // in [0, 1)
    double Range(double low, double high) { return low + (high - low) * Next(); }
    // Roughly normal around zero with the given spread, from the sum of a few uniform draws.
    double Spread(double spread);

private:
    std::uint64_t m_state;
};

}  // namespace artwork
