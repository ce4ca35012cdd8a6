// The application icon: the brand's ringed planet and a bright star on a tile of deep space.
#include <cmath>

#include "artwork.h"
#include "space_art.h"

namespace artwork {

Surface DrawIcon(const Brand& brand) {
    const Palette& c = brand.colours;
    const int size = 64;
    Surface surface = NewSurface(size, size, false);
    Context context = NewContext(surface.get());
    cairo_t* cr = context.get();

    PaintBlurred(cr, size, size, 1, 0.5, [](cairo_t* layer) {
        RoundedRect(layer, 3, 4, 58, 58, 13);
        cairo_set_source_rgb(layer, 0, 0, 0);
        cairo_fill(layer);
    });
    cairo_save(cr);
    RoundedRect(cr, 3, 2, 58, 58, 13);
    cairo_clip(cr);
    Pattern sky = Linear(0, 2, 0, 60, {{0, Mix(c.space_indigo, c.nebula_violet, 0.25)}, {1, c.void_black}});
    SetSource(cr, sky);
    cairo_paint(cr);
    PaintNebula(cr, Cloud{22, 20, 20, 12, -0.6, c.nebula_violet, 0.35, 12, 41, 1.5});
    PaintNebula(cr, Cloud{46, 44, 18, 10, -0.6, c.nebula_teal, 0.3, 10, 42, 1.5});
    StarField field;
    field.area = Box{3, 2, 58, 58};
    field.count = 40;
    field.seed = 43;
    field.largest = 0.6;
    PaintStars(cr, field);
    cairo_restore(cr);

    PaintRingedPlanet(cr, c, 30, 34, 13);
    PaintGlint(cr, 48.5, 14.5, 1.8, c.gold_light, 1);

    // A lit rim on the tile so it holds its shape on dark panels.
    RoundedRect(cr, 3.5, 2.5, 57, 57, 12.5);
    Pattern rim = Linear(0, 2, 0, 60, {{0, Lighter(c.cyan, 0.3), 0.55}, {1, c.cyan_deep, 0.25}});
    SetSource(cr, rim);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    return surface;
}

}  // namespace artwork
