#pragma once
// The pieces of space scenery the key art, the icon and the title strip are assembled from.

#include <cstdint>
#include <functional>

#include "brand.h"
#include "painting.h"

namespace artwork {

struct StarField {
    Box area;
    int count = 100;
    std::uint64_t seed = 1;
    double brightness = 1;
    double largest = 1.4;  // radius of the biggest stars, in pixels
    int glints = 0;        // how many of the brightest stars get diffraction spikes
    Colour tint = kWhite;
    // How visible a star at (x, y) may be, 0 to 1; leaves room for text and controls.
    std::function<double(double, double)> density;
};
void PaintStars(cairo_t* cr, const StarField& field);
// A bright star with a soft core and thin horizontal and vertical spikes.
void PaintGlint(cairo_t* cr, double x, double y, double size, Colour colour, double alpha);

struct Cloud {
    double cx = 0;
    double cy = 0;
    double rx = 100;  // spread of the puffs around the centre
    double ry = 60;
    double angle = 0;
    Colour colour;
    double alpha = 0.2;
    int puffs = 30;
    std::uint64_t seed = 1;
    double stretch = 1;  // how much longer than tall each puff is
};
// Glowing gas, screened onto the sky so that overlapping clouds brighten rather than cover each other.
void PaintNebula(cairo_t* cr, const Cloud& cloud);
// Dark dust drawn over the glow, which is what makes a nebula look like a cloud and not a blob.
void PaintDust(cairo_t* cr, const Cloud& cloud);

struct Planet {
    double cx = 0;
    double cy = 0;
    double radius = 100;
    // Unit vector from the planet towards its sun.
    double light_x = 0.6;
    double light_y = -0.8;
    double halo = 16;  // how far the atmosphere glows beyond the surface
    int bands = 18;
    std::uint64_t seed = 7;
};
void PaintPlanet(cairo_t* cr, const Palette& colours, const Planet& planet);

// A swept-wing cruiser seen from above, nose along the angle, with a glowing drive.
void PaintStarship(cairo_t* cr, const Palette& colours, double x, double y, double angle, double scale);

// The brand's mark: a small planet in a tilted gold ring. `radius` is the planet's; the ring reaches
// about 1.8 times as far.
void PaintRingedPlanet(cairo_t* cr, const Palette& colours, double cx, double cy, double radius);

}  // namespace artwork
