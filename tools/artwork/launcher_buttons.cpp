// The launcher's buttons: four navigation buttons with their captions baked in (the skin draws no
// text on them) and the window's minimise and close buttons, each in normal, hover and pressed.
#include <cmath>
#include <string>

#include "artwork.h"
#include "layout.h"

namespace artwork {

namespace {

// How one state of a navigation button looks.
struct NavLook {
    Colour top, middle, bottom;  // the body's vertical gradient
    Colour border;
    double border_alpha = 1;
    double gloss = 0;  // strength of the shine over the upper half
    Colour ink;        // the label
    Colour icon;
    Colour engrave;  // the one pixel under the label and icon
    double engrave_alpha = 0.8;
    Colour glow;
    double glow_alpha = 0;
    Colour accent;  // the short lit line along the bottom edge
    double accent_alpha = 0.5;
};

NavLook BlueLook(const Palette& c, State state) {
    NavLook look;
    look.top = Lighter(c.panel_raised, 0.08);
    look.middle = c.panel_raised;
    look.bottom = Mix(c.panel_raised, c.panel, 0.6);
    look.border = Mix(c.cyan_deep, c.text_dim, 0.3);
    look.border_alpha = 0.75;
    look.gloss = 0.1;
    look.ink = c.text;
    look.icon = c.cyan;
    look.engrave = c.void_black;
    look.engrave_alpha = 0.75;
    look.glow = c.cyan;
    look.accent = c.cyan;
    if (state == State::Hover) {
        look.top = Lighter(c.panel_raised, 0.22);
        look.middle = Mix(c.panel_raised, c.cyan_deep, 0.35);
        look.bottom = Mix(c.panel_raised, c.panel, 0.3);
        look.border = c.cyan;
        look.border_alpha = 0.9;
        look.gloss = 0.16;
        look.ink = kWhite;
        look.icon = Lighter(c.cyan, 0.35);
        look.engrave_alpha = 0.8;
        look.glow_alpha = 0.75;
        look.accent = Lighter(c.cyan, 0.5);
        look.accent_alpha = 1;
    } else if (state == State::Pressed) {
        look.top = Darker(c.panel, 0.45);
        look.middle = Darker(c.panel, 0.2);
        look.bottom = Mix(c.panel, c.panel_raised, 0.4);
        look.border = c.cyan_deep;
        look.border_alpha = 0.8;
        look.gloss = 0;
        look.ink = Darker(c.text, 0.2);
        look.icon = Darker(c.cyan, 0.15);
        look.engrave_alpha = 0.9;
        look.accent_alpha = 0.45;
    }
    return look;
}

// The pay button is gold, the one control meant to catch the eye.
NavLook GoldLook(const Palette& c, State state) {
    NavLook look;
    look.top = c.gold_light;
    look.middle = c.gold;
    look.bottom = c.gold_deep;
    look.border = Mix(c.gold_light, c.gold, 0.4);
    look.gloss = 0.22;
    look.ink = c.gold_ink;
    look.icon = c.gold_ink;
    look.engrave = Lighter(c.gold_light, 0.4);
    look.engrave_alpha = 0.45;
    look.glow = c.gold;
    look.accent = kWhite;
    look.accent_alpha = 0.7;
    if (state == State::Hover) {
        look.top = Lighter(c.gold_light, 0.3);
        look.middle = Lighter(c.gold, 0.2);
        look.bottom = Mix(c.gold, c.gold_deep, 0.4);
        look.border = Lighter(c.gold_light, 0.4);
        look.gloss = 0.3;
        look.icon = Darker(c.gold_ink, 0.1);
        look.engrave = Lighter(c.gold_light, 0.5);
        look.engrave_alpha = 0.55;
        look.glow_alpha = 0.85;
        look.accent_alpha = 0.9;
    } else if (state == State::Pressed) {
        look.top = Darker(c.gold_deep, 0.15);
        look.middle = Mix(c.gold_deep, c.gold, 0.3);
        look.bottom = Mix(c.gold, c.gold_deep, 0.2);
        look.border = Darker(c.gold_deep, 0.3);
        look.gloss = 0;
        look.ink = Darker(c.gold_ink, 0.2);
        look.icon = Darker(c.gold_ink, 0.2);
        look.engrave = c.gold_light;
        look.engrave_alpha = 0.25;
        look.accent = c.gold_light;
        look.accent_alpha = 0.5;
    }
    return look;
}

// Icons are drawn centred on (0, 0) in a 18 px square with the current source; `cut` is the body's
// colour, used for the lines cut into solid shapes.
using Icon = void (*)(cairo_t* cr, Colour ink, Colour cut);

void GlobeIcon(cairo_t* cr, Colour ink, Colour) {
    SetColour(cr, ink);
    cairo_set_line_width(cr, 1.6);
    cairo_arc(cr, 0, 0, 7.4, 0, 2 * M_PI);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 1.2);
    cairo_save(cr);
    cairo_scale(cr, 0.45, 1);
    cairo_arc(cr, 0, 0, 7.4, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_stroke(cr);
    cairo_move_to(cr, -7.4, 0);
    cairo_line_to(cr, 7.4, 0);
    cairo_move_to(cr, -6.2, -3.8);
    cairo_line_to(cr, 6.2, -3.8);
    cairo_move_to(cr, -6.2, 3.8);
    cairo_line_to(cr, 6.2, 3.8);
    cairo_stroke(cr);
}

void GemIcon(cairo_t* cr, Colour ink, Colour cut) {
    cairo_move_to(cr, -4.5, -6.5);
    cairo_line_to(cr, 4.5, -6.5);
    cairo_line_to(cr, 8.5, -2);
    cairo_line_to(cr, 0, 7.5);
    cairo_line_to(cr, -8.5, -2);
    cairo_close_path(cr);
    SetColour(cr, ink);
    cairo_fill(cr);
    // Facets.
    cairo_set_line_width(cr, 1.1);
    SetColour(cr, cut, 0.85);
    cairo_move_to(cr, -7.5, -2);
    cairo_line_to(cr, 7.5, -2);
    cairo_move_to(cr, -2.6, -5.8);
    cairo_line_to(cr, -3.6, -2);
    cairo_line_to(cr, 0, 6);
    cairo_line_to(cr, 3.6, -2);
    cairo_line_to(cr, 2.6, -5.8);
    cairo_stroke(cr);
}

void HeadsetIcon(cairo_t* cr, Colour ink, Colour) {
    SetColour(cr, ink);
    cairo_set_line_width(cr, 1.7);
    cairo_arc(cr, 0, 0.5, 7, M_PI, 2 * M_PI);
    cairo_stroke(cr);
    RoundedRect(cr, -8.8, -0.5, 4.2, 7.5, 1.6);
    RoundedRect(cr, 4.6, -0.5, 4.2, 7.5, 1.6);
    cairo_fill(cr);
    cairo_set_line_width(cr, 1.3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 6.7, 7);
    cairo_curve_to(cr, 6.7, 8.8, 4.5, 8.8, 1.8, 8.8);
    cairo_stroke(cr);
    cairo_arc(cr, 0.8, 8.8, 1.4, 0, 2 * M_PI);
    cairo_fill(cr);
}

void BubblesIcon(cairo_t* cr, Colour ink, Colour cut) {
    SetColour(cr, ink);
    cairo_set_line_width(cr, 1.4);
    RoundedRect(cr, -1.3, -7.3, 10, 8, 2.5);
    cairo_stroke(cr);
    RoundedRect(cr, -9, -3.5, 12, 9, 2.8);
    cairo_move_to(cr, -6.5, 5);
    cairo_line_to(cr, -8, 8.8);
    cairo_line_to(cr, -2.8, 5);
    cairo_close_path(cr);
    cairo_fill(cr);
    SetColour(cr, cut);
    for (int i = -1; i <= 1; ++i) {
        cairo_arc(cr, -3 + i * 3.2, 1, 1.05, 0, 2 * M_PI);
        cairo_fill(cr);
    }
}

struct NavButton {
    const char* name;  // the stem of the file names, e.g. "337-home"
    const char* hover;
    const char* pressed;
    std::string label;
    Icon icon;
    bool gold;
};

void BodyPath(cairo_t* cr, double dy) {
    RoundedRect(cr, 3.5, 3.5 + dy, 161, 37, 6.5);
}

Surface DrawNavButton(const Brand& brand, const NavButton& button, State state) {
    const Palette& c = brand.colours;
    const NavLook look = button.gold ? GoldLook(c, state) : BlueLook(c, state);
    const double dy = state == State::Pressed ? 1 : 0;
    const int w = launcher::kNavWidth, h = launcher::kNavHeight;
    Surface surface = NewSurface(w, h, false);
    Context context = NewContext(surface.get());
    cairo_t* cr = context.get();

    if (look.glow_alpha > 0) {
        PaintBlurred(
            cr, w, h, 2, look.glow_alpha,
            [&](cairo_t* layer) {
                RoundedRect(layer, 2, 2, 164, 40, 8);
                SetColour(layer, look.glow);
                cairo_fill(layer);
            },
            2);
    } else if (state != State::Pressed) {
        // A soft contact shadow under a resting button lifts it off the plate.
        PaintBlurred(
            cr, w, h, 1, 0.6,
            [&](cairo_t* layer) {
                RoundedRect(layer, 3, 5, 162, 38, 7);
                SetColour(layer, c.void_black);
                cairo_fill(layer);
            },
            1);
    }

    BodyPath(cr, dy);
    Pattern body = Linear(0, 4 + dy, 0, 40 + dy, {{0, look.top}, {0.5, look.middle}, {1, look.bottom}});
    SetSource(cr, body);
    cairo_fill(cr);
    cairo_save(cr);
    BodyPath(cr, dy);
    cairo_clip(cr);
    if (look.gloss > 0) {
        Pattern gloss = Linear(0, 4, 0, 22, {{0, kWhite, look.gloss}, {1, kWhite, 0}});
        SetSource(cr, gloss);
        RoundedRect(cr, 4, 4, 160, 18, 6);
        cairo_fill(cr);
    }
    if (state == State::Pressed) {
        // Pressed in: a shadow falls from the top edge inside the body.
        Pattern inner = Linear(0, 4 + dy, 0, 12 + dy, {{0, kBlack, 0.45}, {1, kBlack, 0}});
        SetSource(cr, inner);
        cairo_paint(cr);
    }
    // The lit line along the bottom edge, brightest at the centre.
    Pattern accent = Linear(
        24, 0, 144, 0, {{0, look.accent, 0}, {0.5, look.accent, look.accent_alpha}, {1, look.accent, 0}});
    SetSource(cr, accent);
    cairo_rectangle(cr, 24, 38 + dy, 120, 2);
    cairo_fill(cr);
    cairo_restore(cr);

    // A bright inner line just under the top edge, then the border.
    Pattern highlight = Linear(
        8, 0, 160, 0, {{0, kWhite, 0}, {0.5, kWhite, state == State::Pressed ? 0.06 : 0.32}, {1, kWhite, 0}});
    SetSource(cr, highlight);
    cairo_rectangle(cr, 8, 4 + dy, 152, 1);
    cairo_fill(cr);
    BodyPath(cr, dy);
    cairo_set_line_width(cr, 1);
    SetColour(cr, look.border, look.border_alpha);
    cairo_stroke(cr);

    // Icon and label, centred together.
    Layout label = NewLayout(cr, button.label, Font{brand.cjk_font, 16, true, 3});
    Box ink = InkBox(label.get());
    const double icon_size = 18, gap = 8;
    double group = icon_size + gap + ink.width;
    double left = std::round(w / 2.0 - group / 2.0);
    double cy = 22 + dy;
    cairo_save(cr);
    cairo_translate(cr, left + icon_size / 2, cy + 1);
    button.icon(cr, look.engrave, look.engrave);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_translate(cr, left + icon_size / 2, cy);
    button.icon(cr, look.icon, look.middle);
    cairo_restore(cr);
    Point origin = CentredOrigin(label.get(), left + icon_size + gap + ink.width / 2, cy);
    ShowLayoutWithShadow(cr, label.get(), origin, look.ink, look.engrave, look.engrave_alpha);
    return surface;
}

// The window's own small buttons share one look; close turns red under the pointer.
struct ControlLook {
    Colour fill_top, fill_bottom;
    double fill_alpha = 1;
    Colour border;
    double border_alpha = 1;
    Colour glyph;
    Colour glow;
    double glow_alpha = 0;
};

ControlLook ControlLookFor(const Palette& c, State state, bool danger) {
    ControlLook look;
    look.fill_top = Lighter(c.panel_raised, 0.12);
    look.fill_bottom = c.panel;
    look.fill_alpha = 0.7;
    look.border = Mix(c.text_dim, c.cyan, 0.3);
    look.border_alpha = 0.4;
    look.glyph = c.text_dim;
    look.glow = danger ? c.danger : c.cyan;
    if (state == State::Hover) {
        look.fill_top = danger ? Lighter(c.danger, 0.2) : Mix(c.cyan_deep, c.cyan, 0.3);
        look.fill_bottom = danger ? c.danger_deep : Mix(c.cyan_deep, c.panel, 0.4);
        look.fill_alpha = danger ? 1 : 0.85;
        look.border = danger ? Lighter(c.danger, 0.45) : c.cyan;
        look.border_alpha = 0.9;
        look.glyph = kWhite;
        look.glow_alpha = danger ? 0.8 : 0.6;
    } else if (state == State::Pressed) {
        look.fill_top = danger ? Darker(c.danger_deep, 0.35) : Darker(c.panel, 0.5);
        look.fill_bottom = danger ? c.danger_deep : c.panel;
        look.fill_alpha = danger ? 1 : 0.9;
        look.border = danger ? Darker(c.danger, 0.2) : c.cyan_deep;
        look.border_alpha = 0.8;
        look.glyph = danger ? Lighter(c.danger, 0.6) : Darker(c.text_dim, 0.1);
    }
    return look;
}

Surface DrawMinimise(const Palette& c, State state) {
    const ControlLook look = ControlLookFor(c, state, false);
    const double dy = state == State::Pressed ? 1 : 0;
    const int w = launcher::kMinimise.width, h = launcher::kMinimise.height;
    Surface surface = NewSurface(w, h, false);
    Context context = NewContext(surface.get());
    cairo_t* cr = context.get();
    if (look.glow_alpha > 0) {
        PaintBlurred(
            cr, w, h, 1, look.glow_alpha,
            [&](cairo_t* layer) {
                RoundedRect(layer, 1.5, 1.5, 25, 21, 6);
                SetColour(layer, look.glow);
                cairo_fill(layer);
            },
            2);
    }
    RoundedRect(cr, 2.5, 2.5 + dy, 23, 19, 5);
    Pattern fill = Linear(0, 3 + dy, 0, 21 + dy,
                          {{0, look.fill_top, look.fill_alpha}, {1, look.fill_bottom, look.fill_alpha}});
    SetSource(cr, fill);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    SetColour(cr, look.border, look.border_alpha);
    cairo_stroke(cr);
    SetColour(cr, kWhite, state == State::Pressed ? 0.04 : 0.18);
    cairo_rectangle(cr, 7, 3 + dy, 14, 1);
    cairo_fill(cr);
    SetColour(cr, look.glyph);
    cairo_rectangle(cr, 9, 11 + dy, 10, 2);
    cairo_fill(cr);
    return surface;
}

Surface DrawClose(const Palette& c, State state) {
    const ControlLook look = ControlLookFor(c, state, true);
    const double dy = state == State::Pressed ? 1 : 0;
    const int w = launcher::kClose.width, h = launcher::kClose.height;
    // The circle is centred level with the minimise button, which sits 12 px lower in the window.
    const double cx = 18, cy = 24 + dy, r = 10.5;
    Surface surface = NewSurface(w, h, false);
    Context context = NewContext(surface.get());
    cairo_t* cr = context.get();
    if (look.glow_alpha > 0) {
        PaintBlurred(
            cr, w, h, 2, look.glow_alpha,
            [&](cairo_t* layer) {
                cairo_arc(layer, cx, cy, r + 1, 0, 2 * M_PI);
                SetColour(layer, look.glow);
                cairo_fill(layer);
            },
            2);
    }
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    Pattern fill = Linear(0, cy - r, 0, cy + r,
                          {{0, look.fill_top, look.fill_alpha}, {1, look.fill_bottom, look.fill_alpha}});
    SetSource(cr, fill);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    SetColour(cr, look.border, look.border_alpha);
    cairo_stroke(cr);
    Pattern shine =
        Linear(0, cy - r, 0, cy, {{0, kWhite, state == State::Pressed ? 0.03 : 0.2}, {1, kWhite, 0}});
    cairo_arc(cr, cx, cy, r - 1, 0, 2 * M_PI);
    SetSource(cr, shine);
    cairo_fill(cr);
    cairo_set_line_width(cr, 1.8);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetColour(cr, look.glyph);
    const double arm = 4.2;
    cairo_move_to(cr, cx - arm, cy - arm);
    cairo_line_to(cr, cx + arm, cy + arm);
    cairo_move_to(cr, cx + arm, cy - arm);
    cairo_line_to(cr, cx - arm, cy + arm);
    cairo_stroke(cr);
    return surface;
}

}  // namespace

void DrawLauncherButtons(const Brand& brand, Pictures& out) {
    const NavButton buttons[] = {
        {"337-home", "338-home-hover", "339-home-pressed", "官网", GlobeIcon, false},
        {"343-pay", "344-pay-hover", "345-pay-pressed", "充值", GemIcon, true},
        {"340-service", "341-service-hover", "342-service-pressed", "客服", HeadsetIcon, false},
        {"334-forum", "335-forum-hover", "336-forum-pressed", "论坛", BubblesIcon, false},
    };
    for (const NavButton& button : buttons) {
        const char* names[] = {button.name, button.hover, button.pressed};
        for (int i = 0; i < 3; ++i) {
            out.push_back(Picture{std::string(names[i]) + ".png", DrawNavButton(brand, button, kStates[i])});
        }
    }
    const int minimise_ids[] = {314, 315, 316};
    const int close_ids[] = {311, 312, 313};
    for (int i = 0; i < 3; ++i) {
        out.push_back(
            Picture{std::to_string(minimise_ids[i]) + "-launcher-min" + StateSuffix(kStates[i]) + ".png",
                    DrawMinimise(brand.colours, kStates[i])});
        out.push_back(
            Picture{std::to_string(close_ids[i]) + "-launcher-close" + StateSuffix(kStates[i]) + ".png",
                    DrawClose(brand.colours, kStates[i])});
    }
}

}  // namespace artwork
