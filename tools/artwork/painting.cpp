#include "painting.h"

#include <algorithm>
#include <cmath>

namespace artwork {

Colour Mix(Colour a, Colour b, double t) {
    return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Surface NewSurface(int width, int height, bool opaque) {
    Surface surface(
        cairo_image_surface_create(opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32, width, height));
    // A fresh image surface is zeroed already, but an opaque one is painted so that the unused
    // fourth byte of each pixel is defined too.
    if (opaque) {
        Context cr = NewContext(surface.get());
        cairo_set_source_rgb(cr.get(), 0, 0, 0);
        cairo_paint(cr.get());
    }
    return surface;
}

Context NewContext(cairo_surface_t* surface) {
    return Context(cairo_create(surface));
}

int WidthOf(cairo_surface_t* surface) {
    return cairo_image_surface_get_width(surface);
}
int HeightOf(cairo_surface_t* surface) {
    return cairo_image_surface_get_height(surface);
}

void SetColour(cairo_t* cr, Colour colour, double alpha) {
    cairo_set_source_rgba(cr, colour.r, colour.g, colour.b, alpha);
}

namespace {

void AddStops(cairo_pattern_t* pattern, std::initializer_list<Stop> stops) {
    for (const Stop& stop : stops) {
        cairo_pattern_add_color_stop_rgba(pattern, stop.offset, stop.colour.r, stop.colour.g, stop.colour.b,
                                          stop.alpha);
    }
}

}  // namespace

Pattern Linear(double x0, double y0, double x1, double y1, std::initializer_list<Stop> stops) {
    Pattern pattern(cairo_pattern_create_linear(x0, y0, x1, y1));
    AddStops(pattern.get(), stops);
    return pattern;
}

Pattern Radial(double cx, double cy, double radius, std::initializer_list<Stop> stops) {
    return Radial(cx, cy, cx, cy, radius, stops);
}

Pattern Radial(double fx, double fy, double cx, double cy, double radius, std::initializer_list<Stop> stops) {
    Pattern pattern(cairo_pattern_create_radial(fx, fy, 0, cx, cy, radius));
    AddStops(pattern.get(), stops);
    return pattern;
}

void SetSource(cairo_t* cr, const Pattern& pattern) {
    cairo_set_source(cr, pattern.get());
}

void RoundedRect(cairo_t* cr, double x, double y, double width, double height, double radius) {
    RoundedPolygon(
        cr,
        {{x, y, radius}, {x + width, y, radius}, {x + width, y + height, radius}, {x, y + height, radius}});
}

void RoundedPolygon(cairo_t* cr, const std::vector<Corner>& corners) {
    const size_t count = corners.size();
    cairo_new_sub_path(cr);
    for (size_t i = 0; i < count; ++i) {
        const Corner& here = corners[i];
        const Corner& before = corners[(i + count - 1) % count];
        const Corner& after = corners[(i + 1) % count];
        double ux = before.x - here.x, uy = before.y - here.y;
        double vx = after.x - here.x, vy = after.y - here.y;
        double ulen = std::hypot(ux, uy), vlen = std::hypot(vx, vy);
        if (here.radius <= 0 || ulen <= 0 || vlen <= 0) {
            cairo_line_to(cr, here.x, here.y);
            continue;
        }
        ux /= ulen, uy /= ulen, vx /= vlen, vy /= vlen;
        double half = std::acos(std::clamp(ux * vx + uy * vy, -1.0, 1.0)) / 2;
        if (half < 1e-6 || half > M_PI / 2 - 1e-6) {
            // A folded-back or straight corner has nothing that could be rounded.
            cairo_line_to(cr, here.x, here.y);
            continue;
        }
        // Never round away more than half of either neighbouring edge.
        double reach = std::min({here.radius / std::tan(half), ulen / 2, vlen / 2});
        double radius = reach * std::tan(half);
        double bx = ux + vx, by = uy + vy;
        double blen = std::hypot(bx, by);
        double cx = here.x + bx / blen * radius / std::sin(half);
        double cy = here.y + by / blen * radius / std::sin(half);
        double start = std::atan2(here.y + uy * reach - cy, here.x + ux * reach - cx);
        double end = std::atan2(here.y + vy * reach - cy, here.x + vx * reach - cx);
        double turn = (here.x - before.x) * (after.y - here.y) - (here.y - before.y) * (after.x - here.x);
        if (turn > 0) {
            cairo_arc(cr, cx, cy, radius, start, end);
        } else {
            cairo_arc_negative(cr, cx, cy, radius, start, end);
        }
    }
    cairo_close_path(cr);
}

namespace {

// One box-blur pass along a line of `count` pixels `step` bytes apart, all four bytes of each pixel
// treated alike (premultiplied colour blurs correctly channel by channel). Outside is transparent.
void BlurLine(unsigned char* first, int count, int step, int radius, std::vector<int>& scratch) {
    scratch.assign(static_cast<size_t>(count) * 4, 0);
    int window = 2 * radius + 1;
    for (int channel = 0; channel < 4; ++channel) {
        int sum = 0;
        for (int i = 0; i < radius && i < count; ++i) {
            sum += first[i * step + channel];
        }
        for (int i = 0; i < count; ++i) {
            int enter = i + radius;
            int leave = i - radius - 1;
            if (enter < count) {
                sum += first[enter * step + channel];
            }
            if (leave >= 0) {
                sum -= first[leave * step + channel];
            }
            scratch[static_cast<size_t>(i) * 4 + channel] = (sum + window / 2) / window;
        }
    }
    for (int i = 0; i < count; ++i) {
        for (int channel = 0; channel < 4; ++channel) {
            first[i * step + channel] =
                static_cast<unsigned char>(scratch[static_cast<size_t>(i) * 4 + channel]);
        }
    }
}

}  // namespace

void Blur(cairo_surface_t* surface, int radius) {
    if (radius <= 0) {
        return;
    }
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    int width = WidthOf(surface), height = HeightOf(surface);
    int stride = cairo_image_surface_get_stride(surface);
    std::vector<int> scratch;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < height; ++y) {
            BlurLine(data + y * stride, width, 4, radius, scratch);
        }
        for (int x = 0; x < width; ++x) {
            BlurLine(data + x * 4, height, stride, radius, scratch);
        }
    }
    cairo_surface_mark_dirty(surface);
}

void FadeToEdges(cairo_surface_t* surface, int width) {
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    int w = WidthOf(surface), h = HeightOf(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int distance = std::min({x, y, w - 1 - x, h - 1 - y});
            if (distance >= width) {
                continue;
            }
            double t = static_cast<double>(distance) / width;
            double keep = t * t * (3 - 2 * t);
            unsigned char* pixel = data + y * stride + x * 4;
            for (int channel = 0; channel < 4; ++channel) {
                pixel[channel] = static_cast<unsigned char>(std::lround(pixel[channel] * keep));
            }
        }
    }
    cairo_surface_mark_dirty(surface);
}

void PaintBlurred(cairo_t* cr, int width, int height, int radius, double alpha,
                  const std::function<void(cairo_t*)>& draw, int fade_edges) {
    Surface layer = NewSurface(width, height, false);
    {
        Context layer_cr = NewContext(layer.get());
        draw(layer_cr.get());
    }
    Blur(layer.get(), radius);
    if (fade_edges > 0) {
        FadeToEdges(layer.get(), fade_edges);
    }
    cairo_save(cr);
    cairo_set_source_surface(cr, layer.get(), 0, 0);
    cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
}

Layout NewLayout(cairo_t* cr, const std::string& text, const Font& font) {
    PangoContext* context = pango_cairo_create_context(cr);
    cairo_font_options_t* options = cairo_font_options_create();
    // Grey antialiasing: the pictures are shown on any screen, where colour fringes would be wrong.
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    // Small captions get full hinting, which snaps their stems to whole pixels; large type keeps
    // its true shapes.
    cairo_font_options_set_hint_style(options,
                                      font.pixels <= 13 ? CAIRO_HINT_STYLE_FULL : CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    Layout layout(pango_layout_new(context));
    g_object_unref(context);

    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, font.family.c_str());
    pango_font_description_set_absolute_size(description, font.pixels * PANGO_SCALE);
    pango_font_description_set_weight(description, font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_layout_set_font_description(layout.get(), description);
    pango_font_description_free(description);
    if (font.letter_spacing != 0) {
        PangoAttrList* attributes = pango_attr_list_new();
        pango_attr_list_insert(
            attributes, pango_attr_letter_spacing_new(static_cast<int>(font.letter_spacing * PANGO_SCALE)));
        pango_layout_set_attributes(layout.get(), attributes);
        pango_attr_list_unref(attributes);
    }
    pango_layout_set_text(layout.get(), text.c_str(), -1);
    return layout;
}

namespace {

Box FromPango(const PangoRectangle& rect) {
    return Box{rect.x / double(PANGO_SCALE), rect.y / double(PANGO_SCALE), rect.width / double(PANGO_SCALE),
               rect.height / double(PANGO_SCALE)};
}

}  // namespace

Box InkBox(PangoLayout* layout) {
    PangoRectangle ink, logical;
    pango_layout_get_extents(layout, &ink, &logical);
    return FromPango(ink);
}

Box LogicalBox(PangoLayout* layout) {
    PangoRectangle ink, logical;
    pango_layout_get_extents(layout, &ink, &logical);
    return FromPango(logical);
}

Point CentredOrigin(PangoLayout* layout, double cx, double cy) {
    Box ink = InkBox(layout);
    return Point{std::round(cx - ink.x - ink.width / 2), std::round(cy - ink.y - ink.height / 2)};
}

void ShowLayout(cairo_t* cr, PangoLayout* layout, Point origin, Colour colour, double alpha) {
    cairo_save(cr);
    SetColour(cr, colour, alpha);
    cairo_move_to(cr, origin.x, origin.y);
    pango_cairo_update_layout(cr, layout);
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
}

void ShowLayoutWithShadow(cairo_t* cr, PangoLayout* layout, Point origin, Colour colour, Colour shadow,
                          double shadow_alpha, double dy) {
    ShowLayout(cr, layout, Point{origin.x, origin.y + dy}, shadow, shadow_alpha);
    ShowLayout(cr, layout, origin, colour);
}

double Random::Next() {
    // splitmix64: tiny, and the same numbers on every platform.
    std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) / static_cast<double>(1ull << 53);
}

double Random::Spread(double spread) {
    return (Next() + Next() + Next() - 1.5) / 1.5 * spread;
}

}  // namespace artwork
