// The launcher's background: a shaped, shadowed panel with the key art on the left, a header band
// with the season line, the plate the navigation buttons stand on and the well the web page fills.
#include <cmath>

#include "artwork.h"
#include "layout.h"
#include "space_art.h"

namespace artwork {

namespace {

using namespace launcher;

void PanelPath(cairo_t* cr) {
    RoundedPolygon(cr, {{kPanelLeft, kArtTop, 16},
                        {322, kArtTop, 16},
                        {388, kHeaderTop, 16},
                        {kPanelRight, kHeaderTop, 14},
                        {kPanelRight, kHeight, 3},
                        {kPanelLeft, kHeight, 14}});
}

void PaintShadow(cairo_t* cr) {
    PaintBlurred(
        cr, kWidth, kHeight, 4, 0.8,
        [](cairo_t* layer) {
            cairo_translate(layer, 0, 2);
            PanelPath(layer);
            cairo_set_source_rgb(layer, 0, 0, 0);
            cairo_fill(layer);
        },
        6);
}

void PaintSky(cairo_t* cr, const Palette& c) {
    Pattern sky =
        Linear(0, kArtTop, 0, kHeight,
               {{0, Mix(c.space_indigo, c.space_navy, 0.4)}, {0.35, c.space_navy}, {1, c.void_black}});
    SetSource(cr, sky);
    cairo_paint(cr);
    // Haze behind the title, where the eye lands first.
    Pattern haze = Radial(175, 150, 260, {{0, c.space_indigo, 0.9}, {1, c.space_indigo, 0}});
    SetSource(cr, haze);
    cairo_paint(cr);

    PaintNebula(cr, Cloud{200, 150, 170, 80, -0.5, c.nebula_violet, 0.32, 46, 11, 1.6});
    PaintNebula(cr, Cloud{70, 60, 110, 60, 0.3, c.nebula_magenta, 0.22, 26, 12, 1.4});
    PaintNebula(cr, Cloud{300, 250, 120, 60, -0.7, c.nebula_teal, 0.28, 30, 13, 1.8});
    // The glow drifts into the header band and fades out before the window's controls.
    PaintNebula(cr, Cloud{520, 112, 200, 26, 0.05, c.nebula_violet, 0.2, 30, 14, 2.6});
    PaintNebula(cr, Cloud{700, 104, 160, 20, -0.05, c.nebula_teal, 0.16, 20, 15, 2.6});
    PaintDust(cr, Cloud{190, 160, 150, 60, -0.5, c.void_black, 0.28, 34, 21, 2.2});
    PaintDust(cr, Cloud{500, 125, 200, 14, 0.03, c.void_black, 0.22, 22, 22, 3.0});

    StarField field;
    field.area = Box{kPanelLeft, kArtTop, kPanelRight - kPanelLeft, kNavBandTop - kArtTop + 260};
    field.count = 900;
    field.seed = 31;
    field.largest = 1.6;
    field.glints = 7;
    field.tint = Lighter(c.cyan, 0.3);
    field.density = [](double x, double y) {
        if (x > kArtRight && y > kNavBandTop) {
            return 0.0;  // under the button plate and the page
        }
        if (x > kArtRight) {
            // Thinner towards the right, and none around the window's buttons.
            double fade = 1 - (x - kArtRight) / 640.0;
            return x > 900 ? 0.0 : fade * fade;
        }
        return 1.0;
    };
    PaintStars(cr, field);
}

void PaintKeyArtScene(cairo_t* cr, const Palette& c) {
    PaintPlanet(cr, c, Planet{112, 478, 172, 0.62, -0.78, 22, 26, 5});
    PaintPlanet(cr, c, Planet{296, 292, 15, 0.85, -0.5, 6, 6, 9});
    PaintStarship(cr, c, 214, 300, -0.52, 0.95);
    PaintStarship(cr, c, 262, 346, -0.52, 0.42);
    PaintGlint(cr, 286, 74, 2.0, Lighter(c.cyan, 0.4), 0.95);
    // Darken the outer edges of the art so the planet and title stay the centre of attention.
    Pattern vignette = Radial(172, 250, 420, {{0.55, c.void_black, 0}, {1, c.void_black, 0.65}});
    SetSource(cr, vignette);
    cairo_paint(cr);
}

void TitlePath(cairo_t* cr, PangoLayout* layout, double cx, double cy) {
    Box ink = InkBox(layout);
    cairo_matrix_t slant;
    cairo_matrix_init(&slant, 1, 0, -0.16, 1, 0, 0);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_transform(cr, &slant);
    cairo_translate(cr, -ink.x - ink.width / 2, -ink.y - ink.height / 2);
    cairo_new_path(cr);
    cairo_move_to(cr, 0, 0);
    pango_cairo_update_layout(cr, layout);
    pango_cairo_layout_path(cr, layout);
    cairo_restore(cr);
}

void PaintTitle(cairo_t* cr, const Brand& brand, double cx, double cy) {
    const Palette& c = brand.colours;
    Layout layout = NewLayout(cr, brand.title, Font{brand.cjk_font, 60, true, 3});
    PangoLayout* title = layout.get();
    Box ink = InkBox(title);
    double top = cy - ink.height / 2, bottom = cy + ink.height / 2;

    PaintBlurred(cr, kWidth, kHeight, 3, 0.9, [&](cairo_t* layer) {
        cairo_translate(layer, 0, 4);
        TitlePath(layer, title, cx, cy);
        cairo_set_source_rgb(layer, 0, 0, 0);
        cairo_set_line_width(layer, 6);
        cairo_fill_preserve(layer);
        cairo_stroke(layer);
    });
    PaintBlurred(cr, kWidth, kHeight, 8, 0.45, [&](cairo_t* layer) {
        TitlePath(layer, title, cx, cy);
        SetColour(layer, c.gold);
        cairo_fill(layer);
    });

    cairo_save(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    TitlePath(cr, title, cx, cy);
    cairo_set_line_width(cr, 6);
    SetColour(cr, Darker(c.gold_ink, 0.4));
    cairo_stroke(cr);
    TitlePath(cr, title, cx, cy);
    cairo_set_line_width(cr, 3);
    Pattern rim = Linear(0, top, 0, bottom, {{0, c.gold_light}, {0.5, c.gold_deep}, {1, c.gold}});
    SetSource(cr, rim);
    cairo_stroke(cr);
    // Polished metal: bright top, a hard horizon just under the middle, warm reflection below.
    TitlePath(cr, title, cx, cy);
    Pattern metal = Linear(0, top, 0, bottom,
                           {{0, c.gold_light},
                            {0.3, Lighter(c.gold, 0.25)},
                            {0.52, c.gold},
                            {0.53, c.gold_deep},
                            {0.75, Mix(c.gold_deep, c.gold, 0.5)},
                            {1, Lighter(c.gold, 0.35)}});
    SetSource(cr, metal);
    cairo_fill_preserve(cr);
    cairo_clip(cr);
    Pattern shine = Linear(0, top, 0, cy, {{0, kWhite, 0.55}, {1, kWhite, 0}});
    SetSource(cr, shine);
    cairo_paint(cr);
    cairo_restore(cr);

    PaintGlint(cr, cx + ink.width / 2 - 2, top + 2, 2.2, c.gold_light, 1);
}

void PaintSubtitle(cairo_t* cr, const Brand& brand, double cx, double cy) {
    const Palette& c = brand.colours;
    Layout latin = NewLayout(cr, brand.subtitle, Font{brand.latin_font, 11, true, 4});
    Box ink = InkBox(latin.get());
    ShowLayoutWithShadow(cr, latin.get(), CentredOrigin(latin.get(), cx, cy), Lighter(c.cyan, 0.55),
                         c.void_black, 0.8);
    // Rules either side of the line, each ending in a small diamond.
    double gap = ink.width / 2 + 12, reach = 48;
    for (int side : {-1, 1}) {
        double inner = cx + side * gap, outer = cx + side * (gap + reach);
        Pattern rule = Linear(inner, 0, outer, 0, {{0, c.cyan, 0.8}, {1, c.cyan, 0}});
        SetSource(cr, rule);
        cairo_rectangle(cr, std::min(inner, outer), std::round(cy), reach, 1);
        cairo_fill(cr);
        cairo_save(cr);
        cairo_translate(cr, inner - side * 1.5, std::round(cy) + 0.5);
        cairo_rotate(cr, M_PI / 4);
        SetColour(cr, Lighter(c.cyan, 0.4));
        cairo_rectangle(cr, -2, -2, 4, 4);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    Layout tagline = NewLayout(cr, brand.tagline, Font{brand.cjk_font, 14, false, 3});
    ShowLayoutWithShadow(cr, tagline.get(), CentredOrigin(tagline.get(), cx, cy + 25), c.text_dim,
                         c.void_black, 0.9);
}

void PaintHeader(cairo_t* cr, const Brand& brand) {
    const Palette& c = brand.colours;
    const double x = kArtRight + 40, cy = 118;
    cairo_save(cr);
    cairo_translate(cr, x, cy);
    cairo_rotate(cr, M_PI / 4);
    SetColour(cr, c.gold);
    cairo_rectangle(cr, -3, -3, 6, 6);
    cairo_fill(cr);
    cairo_restore(cr);
    Layout season = NewLayout(cr, brand.season, Font{brand.cjk_font, 15, true, 1});
    Box ink = InkBox(season.get());
    Point origin = CentredOrigin(season.get(), x + 12 + ink.width / 2, cy);
    ShowLayoutWithShadow(cr, season.get(), origin, c.gold_light, c.void_black, 0.9);
    Layout note = NewLayout(cr, brand.season_note, Font{brand.latin_font, 9, false, 2});
    Box note_ink = InkBox(note.get());
    ShowLayout(cr, note.get(), CentredOrigin(note.get(), x + 12 + note_ink.width / 2, cy + 18), c.text_dim,
               0.85);
    Pattern rule = Linear(x + 12, 0, x + 360, 0, {{0, c.gold, 0.5}, {1, c.gold, 0}});
    SetSource(cr, rule);
    cairo_rectangle(cr, x + 12, cy + 28, 348, 1);
    cairo_fill(cr);
}

void PaintNavPlate(cairo_t* cr, const Palette& c) {
    const double top = kNavBandTop, bottom = kBrowser.y - 2;
    Pattern plate = Linear(0, top, 0, bottom, {{0, Mix(c.panel, c.panel_raised, 0.45)}, {1, c.panel}});
    SetSource(cr, plate);
    cairo_rectangle(cr, kArtRight, top, kPanelRight - kArtRight, bottom - top);
    cairo_fill(cr);
    // A lit edge on top of the plate and a dark one under it read as a step down from the sky.
    SetColour(cr, c.void_black, 0.7);
    cairo_rectangle(cr, kArtRight, top - 1, kPanelRight - kArtRight, 1);
    cairo_fill(cr);
    Pattern edge =
        Linear(kArtRight, 0, kPanelRight, 0, {{0, c.cyan, 0.55}, {0.5, c.cyan, 0.3}, {1, c.cyan, 0.05}});
    SetSource(cr, edge);
    cairo_rectangle(cr, kArtRight, top, kPanelRight - kArtRight, 1);
    cairo_fill(cr);
}

void PaintPageWell(cairo_t* cr, const Palette& c) {
    const Rect& b = kBrowser;
    SetColour(cr, c.void_black, 0.9);
    cairo_rectangle(cr, b.x - 2, b.y - 2, b.width + 4, b.height + 4);
    cairo_fill(cr);
    // The 1 px light border right round the page.
    SetColour(cr, Mix(c.text_dim, c.cyan, 0.35), 0.42);
    cairo_rectangle(cr, b.x - 1, b.y - 1, b.width + 2, b.height + 2);
    cairo_fill(cr);
    SetColour(cr, c.page_well);
    cairo_rectangle(cr, b.x, b.y, b.width, b.height);
    cairo_fill(cr);
    // A faint mark in the middle, so the moment before the page arrives looks intended.
    cairo_push_group(cr);
    PaintRingedPlanet(cr, c, b.x + b.width / 2.0, b.y + b.height / 2.0, 22);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, 0.12);
    // The line between the key art and the button plate continues the page's border upwards.
    Pattern divider =
        Linear(0, kNavBandTop, 0, b.y, {{0, c.cyan, 0.1}, {1, Mix(c.text_dim, c.cyan, 0.35), 0.42}});
    SetSource(cr, divider);
    cairo_rectangle(cr, b.x - 1, kNavBandTop, 1, b.y - kNavBandTop);
    cairo_fill(cr);
}

void PaintPanelEdges(cairo_t* cr, const Palette& c) {
    cairo_save(cr);
    PanelPath(cr);
    cairo_clip_preserve(cr);
    cairo_set_line_width(cr, 3);
    SetColour(cr, kWhite, 0.09);
    cairo_stroke(cr);
    cairo_restore(cr);

    PanelPath(cr);
    cairo_set_line_width(cr, 1);
    SetColour(cr, c.void_black, 0.85);
    cairo_stroke(cr);

    // Accent hairlines along the two top edges.
    Pattern gold = Linear(40, 0, 300, 0, {{0, c.gold, 0}, {0.5, c.gold_light, 0.9}, {1, c.gold, 0}});
    SetSource(cr, gold);
    cairo_rectangle(cr, 40, kArtTop, 260, 1);
    cairo_fill(cr);
    Pattern cyan = Linear(420, 0, 1000, 0, {{0, c.cyan, 0}, {0.3, c.cyan, 0.6}, {1, c.cyan, 0}});
    SetSource(cr, cyan);
    cairo_rectangle(cr, 420, kHeaderTop, 580, 1);
    cairo_fill(cr);
}

}  // namespace

void DrawLauncherBackground(const Brand& brand, Pictures& out) {
    const Palette& c = brand.colours;
    Surface surface = NewSurface(kWidth, kHeight, false);
    {
        Context context = NewContext(surface.get());
        cairo_t* cr = context.get();
        PaintShadow(cr);
        cairo_save(cr);
        PanelPath(cr);
        cairo_clip(cr);
        PaintSky(cr, c);
        cairo_save(cr);
        cairo_rectangle(cr, 0, 0, kArtRight, kHeight);
        cairo_clip(cr);
        PaintKeyArtScene(cr, c);
        cairo_restore(cr);
        const double art_centre = (kPanelLeft + kArtRight) / 2.0;
        PaintRingedPlanet(cr, c, art_centre, 52, 9);
        PaintTitle(cr, brand, art_centre, 112);
        PaintSubtitle(cr, brand, art_centre, 162);
        PaintHeader(cr, brand);
        PaintNavPlate(cr, c);
        PaintPageWell(cr, c);
        cairo_restore(cr);
        PaintPanelEdges(cr, c);
    }
    out.push_back(Picture{"348-launcher-background.png", std::move(surface)});
}

}  // namespace artwork
