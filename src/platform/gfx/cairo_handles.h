#pragma once
// Owning holders for cairo's reference-counted objects, each releasing its object once. The release
// functions are defined where cairo is included, so headers can hold these without including cairo.

#include <memory>

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo_pattern cairo_pattern_t;

namespace platform {

struct CairoRelease {
    void operator()(cairo_t* cr) const;
    void operator()(cairo_surface_t* surface) const;
    void operator()(cairo_pattern_t* pattern) const;
};

using CairoPtr = std::unique_ptr<cairo_t, CairoRelease>;
using SurfacePtr = std::unique_ptr<cairo_surface_t, CairoRelease>;
using PatternPtr = std::unique_ptr<cairo_pattern_t, CairoRelease>;

}  // namespace platform
