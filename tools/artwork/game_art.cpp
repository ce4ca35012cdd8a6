// The game window's title strip and the buttons that lie on it. The small window buttons are opaque,
// so each repeats the strip's own colours for the rows it covers and sits on it without a seam.
#include <cmath>
#include <string>

#include "artwork.h"
#include "layout.h"
#include "space_art.h"

namespace artwork {

namespace {

using namespace game;

// The strip's colour in row y. The stretched middle of the strip and every opaque button take their
// background from here, row by row in solid colour, so the same row is the same pixels everywhere.
Colour StripRow(const Palette& c, int y) {
    if (y <= 0) {
        return Mix(c.panel_raised, c.text_dim, 0.3);
    }
    if (y >= kStripHeight - 1) {
        return Darker(c.void_black, 0.3);
    }
    if (y == kStripHeight - 2) {
        return Mix(c.panel, c.cyan_deep, 0.18);
    }
    double t = (y - 1) / double(kStripHeight - 3);
    Colour top = Mix(c.panel_raised, c.space_indigo, 0.35);
    Colour bottom = Darker(c.panel, 0.3);
    return Mix(top, bottom, std::pow(t, 0.85));
}

void PaintStripRows(cairo_t* cr, const Palette& c, int first_row, int width, int height) {
    for (int y = 0; y < height; ++y) {
        SetColour(cr, StripRow(c, first_row + y));
        cairo_rectangle(cr, 0, y, width, 1);
        cairo_fill(cr);
    }
}

Surface DrawTitleStrip(const Brand& brand) {
    const Palette& c = brand.colours;
    Surface surface = NewSurface(kWidth, kStripHeight, true);
    Context context = NewContext(surface.get());
    cairo_t* cr = context.get();
    PaintStripRows(cr, c, 0, kWidth, kStripHeight);

    // Everything that is not a function of the row alone stays inside the fixed left margin; the glow
    // behind the mark has faded out long before the margin ends.
    cairo_save(cr);
    cairo_rectangle(cr, 0, 1, kGridLeft, kStripHeight - 2);
    cairo_clip(cr);
    Pattern glow = Radial(18, 16, 44, {{0, c.cyan_deep, 0.45}, {1, c.cyan_deep, 0}});
    SetSource(cr, glow);
    cairo_paint(cr);
    PaintRingedPlanet(cr, c, 18, 16, 6);
    PaintGlint(cr, 26.5, 7.5, 0.8, c.gold_light, 0.9);
    Layout title = NewLayout(cr, brand.title, Font{brand.cjk_font, 14, true, 1});
    Box ink = InkBox(title.get());
    Point origin = CentredOrigin(title.get(), 36 + ink.width / 2, 16);
    ShowLayout(cr, title.get(), Point{origin.x, origin.y + 1}, c.void_black, 0.9);
    // Hinted glyphs used as a mask keep the small title sharp under its metal gradient.
    cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
    ShowLayout(cr, title.get(), origin, kWhite);
    Pattern letters(cairo_pop_group(cr));
    Pattern metal =
        Linear(0, 16 - ink.height / 2, 0, 16 + ink.height / 2,
               {{0, c.gold_light}, {0.5, c.gold}, {0.55, c.gold_deep}, {1, Lighter(c.gold, 0.2)}});
    SetSource(cr, metal);
    cairo_mask(cr, letters.get());
    // A short upright rule closes the title off from what the client puts next to it.
    Pattern rule = Linear(0, 6, 0, 26, {{0, c.cyan, 0}, {0.5, c.cyan, 0.45}, {1, c.cyan, 0}});
    SetSource(cr, rule);
    cairo_rectangle(cr, kGridLeft - 6, 6, 1, 20);
    cairo_fill(cr);
    cairo_restore(cr);

    // The end cap: a lit edge and a dark outline in the last columns, which no button covers.
    for (int y = 1; y < kStripHeight - 1; ++y) {
        SetColour(cr, Lighter(StripRow(c, y), 0.08));
        cairo_rectangle(cr, kWidth - 2, y, 1, 1);
        cairo_fill(cr);
    }
    SetColour(cr, Darker(c.void_black, 0.3));
    cairo_rectangle(cr, kWidth - 1, 0, 1, kStripHeight);
    cairo_fill(cr);
    SetColour(cr, Darker(c.void_black, 0.3));
    cairo_rectangle(cr, 0, 0, 1, kStripHeight);
    cairo_fill(cr);
    return surface;
}

// Glyphs of the window buttons, centred in 24 x 20 on whole and half pixels so they stay sharp.
using Glyph = void (*)(cairo_t* cr);

void PackGlyph(cairo_t* cr) {
    cairo_set_line_width(cr, 1.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, 8.5, 5.5);
    cairo_line_to(cr, 12, 9);
    cairo_line_to(cr, 15.5, 5.5);
    cairo_stroke(cr);
    cairo_rectangle(cr, 7, 12, 10, 2);
    cairo_fill(cr);
}

void MinimiseGlyph(cairo_t* cr) {
    cairo_rectangle(cr, 7, 12, 10, 2);
    cairo_fill(cr);
}

void MaximiseGlyph(cairo_t* cr) {
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, 7.5, 5.5, 9, 8);
    cairo_stroke(cr);
    cairo_rectangle(cr, 7, 5, 10, 2);
    cairo_fill(cr);
}

void RestoreGlyph(cairo_t* cr) {
    cairo_set_line_width(cr, 1);
    // The window behind shows only where the front one does not cover it.
    cairo_move_to(cr, 9.5, 7);
    cairo_line_to(cr, 9.5, 4.5);
    cairo_line_to(cr, 17.5, 4.5);
    cairo_line_to(cr, 17.5, 11.5);
    cairo_line_to(cr, 15, 11.5);
    cairo_stroke(cr);
    cairo_rectangle(cr, 6.5, 7.5, 8, 7);
    cairo_stroke(cr);
    cairo_rectangle(cr, 6, 7, 9, 2);
    cairo_fill(cr);
}

void CloseGlyph(cairo_t* cr) {
    cairo_set_line_width(cr, 1.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 8, 6);
    cairo_line_to(cr, 16, 14);
    cairo_move_to(cr, 16, 6);
    cairo_line_to(cr, 8, 14);
    cairo_stroke(cr);
}

// The lit backdrop of a hovered or pressed window button hangs from the top of the strip like a tab.
void TabPath(cairo_t* cr, const Rect& place) {
    const double left = 1.5, right = place.width - 1.5, bottom = place.height - 0.5;
    RoundedPolygon(cr, {{left, -1, 0}, {right, -1, 0}, {right, bottom, 4}, {left, bottom, 4}});
}

Surface DrawWindowButton(const Palette& c, const Rect& place, Glyph glyph, State state, bool danger) {
    Surface surface = NewSurface(place.width, place.height, true);
    Context context = NewContext(surface.get());
    cairo_t* cr = context.get();
    PaintStripRows(cr, c, place.y, place.width, place.height);
    Colour ink = c.text_dim;
    if (state == State::Hover) {
        TabPath(cr, place);
        if (danger) {
            Pattern red = Linear(0, 0, 0, place.height, {{0, Lighter(c.danger, 0.15)}, {1, c.danger_deep}});
            SetSource(cr, red);
            cairo_fill_preserve(cr);
            SetColour(cr, Lighter(c.danger, 0.4), 0.9);
        } else {
            Pattern lift = Linear(0, 0, 0, place.height, {{0, kWhite, 0.2}, {1, kWhite, 0.07}});
            SetSource(cr, lift);
            cairo_fill_preserve(cr);
            SetColour(cr, Lighter(c.cyan, 0.3), 0.45);
        }
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        ink = kWhite;
    } else if (state == State::Pressed) {
        TabPath(cr, place);
        SetColour(cr, danger ? c.danger_deep : c.void_black, danger ? 0.9 : 0.5);
        cairo_fill_preserve(cr);
        SetColour(cr, kBlack, 0.45);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        ink = danger ? Lighter(c.danger, 0.55) : Darker(c.text_dim, 0.15);
        cairo_translate(cr, 0, 1);
    }
    // A pixel below the middle of the picture lines the glyphs up better with the toolbar pills.
    cairo_translate(cr, 0, 1);
    SetColour(cr, ink);
    glyph(cr);
    return surface;
}

// The toolbar icons, drawn centred on (0, 0) in about 10 px with the current source.
void RefreshIcon(cairo_t* cr) {
    // Clockwise round from one o'clock to just short of twelve, where the arrowhead points on.
    const double r = 3.7, end = -M_PI * 0.58;
    cairo_set_line_width(cr, 1.4);
    cairo_arc(cr, 0, 0, r, -M_PI * 0.3, end + 2 * M_PI);
    cairo_stroke(cr);
    double x = r * std::cos(end), y = r * std::sin(end);
    double tx = -std::sin(end), ty = std::cos(end);  // direction of travel
    double nx = std::cos(end), ny = std::sin(end);   // outwards
    cairo_move_to(cr, x + tx * 3.2, y + ty * 3.2);
    cairo_line_to(cr, x + nx * 2.4 - tx * 0.6, y + ny * 2.4 - ty * 0.6);
    cairo_line_to(cr, x - nx * 2.4 - tx * 0.6, y - ny * 2.4 - ty * 0.6);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void BinIcon(cairo_t* cr) {
    cairo_set_line_width(cr, 1.1);
    cairo_rectangle(cr, -4.5, -3.6, 9, 1.2);
    cairo_fill(cr);
    cairo_rectangle(cr, -1.5, -5.5, 3, 1.9);
    cairo_stroke(cr);
    cairo_move_to(cr, -3.4, -1.8);
    cairo_line_to(cr, -2.8, 4.8);
    cairo_line_to(cr, 2.8, 4.8);
    cairo_line_to(cr, 3.4, -1.8);
    cairo_stroke(cr);
    cairo_move_to(cr, -1, -0.6);
    cairo_line_to(cr, -1, 3.4);
    cairo_move_to(cr, 1, -0.6);
    cairo_line_to(cr, 1, 3.4);
    cairo_set_line_width(cr, 0.9);
    cairo_stroke(cr);
}

// A toolbar pill; the hover and pressed pictures are 4 px larger and put the same pill 2 px in, so
// that the glow has room all round.
Surface DrawPill(const Brand& brand, int width, const std::string& label, void (*icon)(cairo_t*),
                 State state) {
    const Palette& c = brand.colours;
    const int inset = state == State::Normal ? 0 : 2;
    const int w = width + 2 * inset, h = 16 + 2 * inset;
    Surface surface = NewSurface(w, h, false);
    Context context = NewContext(surface.get());
    cairo_t* cr = context.get();
    if (state == State::Hover) {
        PaintBlurred(cr, w, h, 1, 0.85, [&](cairo_t* layer) {
            RoundedRect(layer, 1, 1, w - 2, h - 2, (h - 2) / 2.0);
            SetColour(layer, c.cyan);
            cairo_fill(layer);
        });
    }
    const double x = inset + 0.5, y = inset + 0.5, pw = width - 1, ph = 15;
    RoundedRect(cr, x, y, pw, ph, ph / 2);
    Colour ink = c.text_dim, border = Mix(c.text_dim, c.cyan, 0.4);
    double border_alpha = 0.5;
    if (state == State::Normal) {
        Pattern fill = Linear(0, y, 0, y + ph, {{0, kWhite, 0.12}, {1, kWhite, 0.03}});
        SetSource(cr, fill);
    } else if (state == State::Hover) {
        Pattern fill = Linear(0, y, 0, y + ph, {{0, Lighter(c.cyan_deep, 0.25)}, {1, c.cyan_deep}});
        SetSource(cr, fill);
        ink = kWhite, border = Lighter(c.cyan, 0.4), border_alpha = 1;
    } else {
        Pattern fill = Linear(0, y, 0, y + ph, {{0, c.void_black, 0.85}, {1, c.panel, 0.85}});
        SetSource(cr, fill);
        ink = Darker(c.text_dim, 0.1), border = c.cyan_deep, border_alpha = 0.9;
    }
    cairo_fill_preserve(cr);
    SetColour(cr, border, border_alpha);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    Layout text = NewLayout(cr, label, Font{brand.cjk_font, 11, false, 0.5});
    Box ink_box = InkBox(text.get());
    const double icon_size = 10, gap = 3;
    double left = std::round(inset + width / 2.0 - (icon_size + gap + ink_box.width) / 2.0);
    double cy = inset + 8;
    cairo_save(cr);
    cairo_translate(cr, left + icon_size / 2, cy);
    SetColour(cr, state == State::Hover ? Lighter(c.cyan, 0.5) : Mix(ink, c.cyan, 0.4));
    icon(cr);
    cairo_restore(cr);
    Point origin = CentredOrigin(text.get(), left + icon_size + gap + ink_box.width / 2, cy);
    ShowLayoutWithShadow(cr, text.get(), origin, ink, c.void_black, 0.7);
    return surface;
}

void StarPath(cairo_t* cr, double cx, double cy, double outer, double inner) {
    cairo_new_path(cr);
    for (int i = 0; i < 10; ++i) {
        double angle = -M_PI / 2 + i * M_PI / 5;
        double r = i % 2 == 0 ? outer : inner;
        cairo_line_to(cr, cx + r * std::cos(angle), cy + r * std::sin(angle));
    }
    cairo_close_path(cr);
}

// The plate the client writes the server's name on; its middle is left plain for that caption.
Surface DrawVip(const Palette& c, State state) {
    const int w = kVip.width, h = kVip.height;
    Surface surface = NewSurface(w, h, false);
    Context context = NewContext(surface.get());
    cairo_t* cr = context.get();
    const double r = (h - 1) / 2.0;
    RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, r);
    Colour top = c.panel_raised, bottom = c.void_black;
    double border_alpha = 0.6;
    if (state == State::Hover) {
        top = Lighter(c.panel_raised, 0.12), bottom = c.panel, border_alpha = 1;
    } else if (state == State::Pressed) {
        top = c.void_black, bottom = c.panel, border_alpha = 0.75;
    }
    Pattern fill = Linear(0, 0, 0, h, {{0, top, 0.92}, {1, bottom, 0.92}});
    SetSource(cr, fill);
    cairo_fill_preserve(cr);
    Pattern edge = Linear(
        0, 0, w, 0,
        {{0, c.gold, border_alpha}, {0.5, c.gold_deep, border_alpha * 0.7}, {1, c.gold, border_alpha}});
    SetSource(cr, edge);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    if (state == State::Hover) {
        // A warm inner glow along the rim, leaving the caption's middle calm.
        cairo_save(cr);
        RoundedRect(cr, 1, 1, w - 2, h - 2, r - 0.5);
        cairo_clip(cr);
        PaintBlurred(cr, w, h, 1, 0.7, [&](cairo_t* layer) {
            RoundedRect(layer, 1.5, 1.5, w - 3, h - 3, r - 1);
            SetColour(layer, c.gold);
            cairo_set_line_width(layer, 1.5);
            cairo_stroke(layer);
        });
        cairo_restore(cr);
    }
    if (state != State::Pressed) {
        SetColour(cr, kWhite, state == State::Hover ? 0.3 : 0.16);
        cairo_rectangle(cr, r, 1, w - 2 * r, 1);
        cairo_fill(cr);
    }
    // The star sits in the rounded left end, clear of the centred caption.
    StarPath(cr, 9.5, 11.2, 5.2, 2.2);
    Pattern gold =
        Linear(0, 6, 0, 16, {{0, c.gold_light}, {1, state == State::Pressed ? c.gold_deep : c.gold}});
    SetSource(cr, gold);
    cairo_fill(cr);
    if (state == State::Hover) {
        PaintGlint(cr, 9.5, 11.2, 1.0, c.gold_light, 0.8);
    }
    return surface;
}

}  // namespace

void DrawGameArt(const Brand& brand, Pictures& out) {
    const Palette& c = brand.colours;
    out.push_back(Picture{"347-game-title.png", DrawTitleStrip(brand)});

    const int refresh_ids[] = {350, 351, 352};
    const int cache_ids[] = {353, 354, 355};
    const int vip_ids[] = {356, 357, 358};
    for (int i = 0; i < 3; ++i) {
        State state = kStates[i];
        out.push_back(Picture{std::to_string(refresh_ids[i]) + "-refresh" + StateSuffix(state) + ".png",
                              DrawPill(brand, kRefresh.width, "刷新", RefreshIcon, state)});
        out.push_back(Picture{std::to_string(cache_ids[i]) + "-cache" + StateSuffix(state) + ".png",
                              DrawPill(brand, kCache.width, "清理缓存", BinIcon, state)});
        out.push_back(
            Picture{std::to_string(vip_ids[i]) + "-vip" + StateSuffix(state) + ".png", DrawVip(c, state)});
    }

    struct WindowButton {
        int first_id;
        const char* name;
        Rect place;
        Glyph glyph;
        bool danger;
    };
    const WindowButton buttons[] = {
        {330, "pack", kPack, PackGlyph, false},
        {321, "game-min", kMinimise, MinimiseGlyph, false},
        {324, "game-max", kMaximise, MaximiseGlyph, false},
        {327, "game-restore", kMaximise, RestoreGlyph, false},
        {318, "game-close", kClose, CloseGlyph, true},
    };
    for (const WindowButton& button : buttons) {
        for (int i = 0; i < 3; ++i) {
            out.push_back(Picture{
                std::to_string(button.first_id + i) + "-" + button.name + StateSuffix(kStates[i]) + ".png",
                DrawWindowButton(c, button.place, button.glyph, kStates[i], button.danger)});
        }
    }
}

}  // namespace artwork
