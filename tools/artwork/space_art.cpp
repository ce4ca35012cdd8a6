#include "space_art.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace artwork {

void PaintGlint(cairo_t* cr, double x, double y, double size, Colour colour, double alpha) {
    cairo_save(cr);
    Pattern halo = Radial(x, y, size * 3, {{0, kWhite, alpha}, {0.18, colour, alpha * 0.7}, {1, colour, 0}});
    SetSource(cr, halo);
    cairo_arc(cr, x, y, size * 3, 0, 2 * M_PI);
    cairo_fill(cr);
    // Spikes on pixel centres stay one crisp pixel wide.
    double px = std::floor(x) + 0.5, py = std::floor(y) + 0.5;
    double reach = size * 7;
    cairo_set_line_width(cr, 1);
    Pattern across =
        Linear(px - reach, 0, px + reach, 0, {{0, colour, 0}, {0.5, kWhite, alpha * 0.9}, {1, colour, 0}});
    SetSource(cr, across);
    cairo_move_to(cr, px - reach, py);
    cairo_line_to(cr, px + reach, py);
    cairo_stroke(cr);
    Pattern down = Linear(0, py - reach * 0.8, 0, py + reach * 0.8,
                          {{0, colour, 0}, {0.5, kWhite, alpha * 0.9}, {1, colour, 0}});
    SetSource(cr, down);
    cairo_move_to(cr, px, py - reach * 0.8);
    cairo_line_to(cr, px, py + reach * 0.8);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void PaintStars(cairo_t* cr, const StarField& field) {
    Random random(field.seed);
    struct Star {
        double x, y, size, alpha;
        Colour colour;
    };
    std::vector<Star> stars;
    for (int i = 0; i < field.count; ++i) {
        Star star;
        star.x = field.area.x + random.Next() * field.area.width;
        star.y = field.area.y + random.Next() * field.area.height;
        // Most stars are faint pin pricks; a handful are large.
        double magnitude = random.Next();
        star.size = 0.45 + std::pow(magnitude, 5) * field.largest;
        star.alpha = field.brightness * (0.25 + 0.75 * random.Next()) * (0.5 + 0.5 * magnitude);
        star.colour = Mix(kWhite, field.tint, random.Next() * 0.7);
        if (field.density) {
            star.alpha *= std::clamp(field.density(star.x, star.y), 0.0, 1.0);
        }
        if (star.alpha > 0.02) {
            stars.push_back(star);
        }
    }
    cairo_save(cr);
    for (const Star& star : stars) {
        if (star.size < 0.9) {
            // A single pixel, so the faint ones stay sharp instead of smearing into grey.
            SetColour(cr, star.colour, std::min(1.0, star.alpha * star.size * 1.4));
            cairo_rectangle(cr, std::floor(star.x), std::floor(star.y), 1, 1);
            cairo_fill(cr);
        } else {
            Pattern dot = Radial(star.x, star.y, star.size * 1.6,
                                 {{0, kWhite, std::min(1.0, star.alpha * 1.2)},
                                  {0.4, star.colour, star.alpha * 0.8},
                                  {1, star.colour, 0}});
            SetSource(cr, dot);
            cairo_arc(cr, star.x, star.y, star.size * 1.6, 0, 2 * M_PI);
            cairo_fill(cr);
        }
    }
    std::sort(stars.begin(), stars.end(), [](const Star& a, const Star& b) { return a.size > b.size; });
    for (int i = 0; i < field.glints && i < static_cast<int>(stars.size()); ++i) {
        PaintGlint(cr, stars[i].x, stars[i].y, std::max(1.2, stars[i].size), stars[i].colour,
                   std::min(1.0, stars[i].alpha * 1.1));
    }
    cairo_restore(cr);
}

namespace {

void PaintPuffs(cairo_t* cr, const Cloud& cloud, cairo_operator_t op, double size_low, double size_high) {
    Random random(cloud.seed);
    double ca = std::cos(cloud.angle), sa = std::sin(cloud.angle);
    cairo_save(cr);
    cairo_set_operator(cr, op);
    for (int i = 0; i < cloud.puffs; ++i) {
        double dx = random.Spread(cloud.rx), dy = random.Spread(cloud.ry);
        double x = cloud.cx + dx * ca - dy * sa;
        double y = cloud.cy + dx * sa + dy * ca;
        double radius = std::min(cloud.rx, cloud.ry) * random.Range(size_low, size_high);
        double alpha = cloud.alpha * random.Range(0.35, 1.0);
        Colour colour = Mix(cloud.colour, kWhite, random.Range(0, 0.12));
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, cloud.angle + random.Spread(0.3));
        cairo_scale(cr, cloud.stretch, 1);
        Pattern puff =
            Radial(0, 0, radius, {{0, colour, alpha}, {0.45, colour, alpha * 0.45}, {1, colour, 0}});
        SetSource(cr, puff);
        cairo_arc(cr, 0, 0, radius, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    cairo_restore(cr);
}

}  // namespace

void PaintNebula(cairo_t* cr, const Cloud& cloud) {
    PaintPuffs(cr, cloud, CAIRO_OPERATOR_SCREEN, 0.5, 1.3);
}

void PaintDust(cairo_t* cr, const Cloud& cloud) {
    PaintPuffs(cr, cloud, CAIRO_OPERATOR_OVER, 0.25, 0.7);
}

void PaintPlanet(cairo_t* cr, const Palette& colours, const Planet& planet) {
    const double r = planet.radius;
    const double lx = planet.light_x, ly = planet.light_y;
    cairo_save(cr);

    // The atmosphere behind the disc first: a halo strongest towards the sun.
    double outer = r + planet.halo;
    cairo_push_group(cr);
    Pattern halo = Radial(planet.cx, planet.cy, outer,
                          {{(r - 2) / outer, colours.atmosphere, 0.0},
                           {r / outer, colours.atmosphere, 0.85},
                           {(r + planet.halo * 0.25) / outer, colours.atmosphere, 0.35},
                           {1, colours.atmosphere, 0}});
    SetSource(cr, halo);
    cairo_paint(cr);
    cairo_pop_group_to_source(cr);
    Pattern towards_sun =
        Linear(planet.cx - lx * r, planet.cy - ly * r, planet.cx + lx * r, planet.cy + ly * r,
               {{0, kBlack, 0.04}, {0.5, kBlack, 0.12}, {1, kBlack, 1}});
    cairo_mask(cr, towards_sun.get());

    cairo_new_path(cr);
    cairo_arc(cr, planet.cx, planet.cy, r, 0, 2 * M_PI);
    cairo_clip(cr);

    // The surface, lit from the sun's side.
    Pattern surface =
        Radial(planet.cx + lx * r * 0.55, planet.cy + ly * r * 0.55, planet.cx, planet.cy, r * 1.05,
               {{0, colours.planet_light},
                {0.35, colours.planet_mid},
                {0.8, colours.planet_dark},
                {1, Darker(colours.planet_dark, 0.3)}});
    SetSource(cr, surface);
    cairo_paint(cr);

    // Cloud bands, soft-edged, tilted a little against the frame.
    Random random(planet.seed);
    cairo_save(cr);
    cairo_translate(cr, planet.cx, planet.cy);
    cairo_rotate(cr, -0.32);
    for (int i = 0; i < planet.bands; ++i) {
        double y = random.Range(-r, r);
        double half = r * random.Range(0.015, 0.09);
        bool light = random.Next() < 0.5;
        Colour colour = light ? Lighter(colours.planet_light, 0.3) : Darker(colours.planet_dark, 0.4);
        double alpha = random.Range(0.06, 0.2);
        Pattern band =
            Linear(0, y - half, 0, y + half, {{0, colour, 0}, {0.5, colour, alpha}, {1, colour, 0}});
        SetSource(cr, band);
        cairo_rectangle(cr, -r * 1.2, y - half, r * 2.4, half * 2);
        cairo_fill(cr);
    }
    // Storms: small elongated eddies along the bands.
    for (int i = 0; i < planet.bands; ++i) {
        double x = random.Range(-r * 0.8, r * 0.8), y = random.Range(-r * 0.8, r * 0.8);
        double size = r * random.Range(0.02, 0.07);
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_scale(cr, 3.2, 1);
        Colour colour = Lighter(colours.planet_light, 0.45);
        Pattern eddy = Radial(0, 0, size, {{0, colour, 0.16}, {1, colour, 0}});
        SetSource(cr, eddy);
        cairo_arc(cr, 0, 0, size, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    cairo_restore(cr);

    // The night side: a soft shadow disc pushed away from the sun.
    Pattern night = Radial(planet.cx - lx * r * 0.5, planet.cy - ly * r * 0.5, r * 1.2,
                           {{0, colours.void_black, 0.96},
                            {0.62, colours.void_black, 0.9},
                            {0.84, colours.void_black, 0.35},
                            {1, colours.void_black, 0}});
    SetSource(cr, night);
    cairo_paint(cr);

    // The lit limb: a thin bright crescent where the atmosphere is seen edge-on.
    cairo_push_group(cr);
    Pattern limb = Radial(planet.cx, planet.cy, r,
                          {{0, colours.atmosphere, 0},
                           {1 - std::min(14.0, r * 0.35) / r, colours.atmosphere, 0},
                           {1 - std::min(3.0, r * 0.1) / r, colours.atmosphere, 0.45},
                           {1, Lighter(colours.atmosphere, 0.6), 1}});
    SetSource(cr, limb);
    cairo_paint(cr);
    cairo_pop_group_to_source(cr);
    Pattern lit_side = Linear(planet.cx - lx * r * 0.2, planet.cy - ly * r * 0.2, planet.cx + lx * r,
                              planet.cy + ly * r, {{0, kBlack, 0}, {0.45, kBlack, 0.08}, {1, kBlack, 1}});
    cairo_mask(cr, lit_side.get());
    cairo_restore(cr);
}

void PaintStarship(cairo_t* cr, const Palette& colours, double x, double y, double angle, double scale) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    cairo_scale(cr, scale, scale);

    // The drive's trail and glow go under the hull.
    Pattern trail = Linear(-19, 0, -90, 0, {{0, colours.cyan, 0.5}, {1, colours.cyan, 0}});
    SetSource(cr, trail);
    cairo_move_to(cr, -19, -2.6);
    cairo_line_to(cr, -90, -0.6);
    cairo_line_to(cr, -90, 0.6);
    cairo_line_to(cr, -19, 2.6);
    cairo_close_path(cr);
    cairo_fill(cr);
    Pattern drive = Radial(-19, 0, 9, {{0, kWhite, 1}, {0.25, colours.cyan, 0.9}, {1, colours.cyan, 0}});
    SetSource(cr, drive);
    cairo_arc(cr, -19, 0, 9, 0, 2 * M_PI);
    cairo_fill(cr);

    static const double hull[][2] = {{42, 0},   {14, -4},  {-2, -7}, {-10, -19}, {-16, -19},
                                     {-12, -7}, {-19, -4}, {-19, 4}, {-12, 7},   {-16, 19},
                                     {-10, 19}, {-2, 7},   {14, 4}};
    cairo_new_path(cr);
    for (const auto& point : hull) {
        cairo_line_to(cr, point[0], point[1]);
    }
    cairo_close_path(cr);
    Pattern plating = Linear(
        0, -19, 0, 19,
        {{0, Lighter(colours.space_indigo, 0.25)}, {0.5, colours.space_navy}, {1, colours.void_black}});
    SetSource(cr, plating);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 0.9 / scale);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    SetColour(cr, colours.atmosphere, 0.55);
    cairo_stroke(cr);
    // A spine light along the hull catches the sun.
    cairo_move_to(cr, 38, 0);
    cairo_line_to(cr, -14, 0);
    cairo_set_line_width(cr, 1.1 / scale);
    Pattern spine = Linear(38, 0, -14, 0, {{0, kWhite, 0.9}, {1, colours.cyan, 0.1}});
    SetSource(cr, spine);
    cairo_stroke(cr);
    cairo_restore(cr);
}

namespace {

void RingPath(cairo_t* cr, double cx, double cy, double rx, double ry, double tilt) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, tilt);
    cairo_scale(cr, 1, ry / rx);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, rx, 0, 2 * M_PI);
    cairo_restore(cr);
}

}  // namespace

void PaintRingedPlanet(cairo_t* cr, const Palette& colours, double cx, double cy, double radius) {
    const double tilt = -0.38;
    const double rx = radius * 1.8, ry = radius * 0.52;
    const double ring_width = std::max(1.2, radius * 0.2);
    Pattern gold = Linear(
        cx - rx, cy, cx + rx, cy,
        {{0, colours.gold_deep}, {0.35, colours.gold_light}, {0.7, colours.gold}, {1, colours.gold_deep}});
    cairo_save(cr);
    // The far half of the ring, which the planet then covers.
    RingPath(cr, cx, cy, rx, ry, tilt);
    cairo_set_line_width(cr, ring_width);
    SetSource(cr, gold);
    cairo_stroke(cr);

    Pattern body = Radial(cx - radius * 0.35, cy - radius * 0.45, cx, cy, radius,
                          {{0, Lighter(colours.planet_light, 0.35)},
                           {0.45, colours.planet_mid},
                           {1, Darker(colours.planet_dark, 0.1)}});
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    SetSource(cr, body);
    cairo_fill(cr);
    // A rim of atmosphere on the lit side keeps the disc from looking flat.
    cairo_arc(cr, cx, cy, radius - std::max(0.5, radius * 0.05), M_PI * 0.95, M_PI * 1.75);
    cairo_set_line_width(cr, std::max(0.8, radius * 0.09));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetColour(cr, colours.atmosphere, 0.75);
    cairo_stroke(cr);

    // The near half of the ring, over the planet, with a dark gap so it reads at small sizes.
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, tilt);
    cairo_rectangle(cr, -rx * 2, 0, rx * 4, rx * 2);
    cairo_restore(cr);
    cairo_clip(cr);
    RingPath(cr, cx, cy, rx, ry, tilt);
    cairo_set_line_width(cr, ring_width + std::max(1.0, radius * 0.12));
    SetColour(cr, colours.planet_dark, 0.9);
    cairo_stroke(cr);
    RingPath(cr, cx, cy, rx, ry, tilt);
    cairo_set_line_width(cr, ring_width);
    SetSource(cr, gold);
    cairo_stroke(cr);
    cairo_restore(cr);
}

}  // namespace artwork
