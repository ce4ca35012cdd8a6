// Maps Bitmap onto a cairo image surface.
#include "platform/gfx/bitmap.h"

#include <cairo.h>

#include <utility>

namespace platform {

Bitmap::Bitmap(int width, int height, bool hasAlpha) {
    if (width <= 0 || height <= 0 || static_cast<std::int64_t>(width) * height > kMaxPixels) {
        return;
    }
    // Cairo hands out zeroed memory, and reports a failed allocation or a size beyond its own limits
    // as an error surface rather than a null pointer.
    SurfacePtr surface(
        cairo_image_surface_create(hasAlpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, width, height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        return;
    }
    m_surface = std::move(surface);
    m_hasAlpha = hasAlpha;
}

// A moved-from bitmap is empty, alpha included.
Bitmap::Bitmap(Bitmap&& other) noexcept
    : m_surface(std::move(other.m_surface)), m_hasAlpha(std::exchange(other.m_hasAlpha, false)) {}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    if (this != &other) {
        m_surface = std::move(other.m_surface);
        m_hasAlpha = std::exchange(other.m_hasAlpha, false);
    }
    return *this;
}

void CairoRelease::operator()(cairo_t* cr) const {
    cairo_destroy(cr);
}

void CairoRelease::operator()(cairo_surface_t* surface) const {
    cairo_surface_destroy(surface);
}

void CairoRelease::operator()(cairo_pattern_t* pattern) const {
    cairo_pattern_destroy(pattern);
}

int Bitmap::Width() const {
    return m_surface != nullptr ? cairo_image_surface_get_width(m_surface.get()) : 0;
}

int Bitmap::Height() const {
    return m_surface != nullptr ? cairo_image_surface_get_height(m_surface.get()) : 0;
}

int Bitmap::Stride() const {
    return m_surface != nullptr ? cairo_image_surface_get_stride(m_surface.get()) : 0;
}

std::uint32_t* Bitmap::Row(int y) {
    if (m_surface == nullptr) {
        return nullptr;
    }
    unsigned char* data = cairo_image_surface_get_data(m_surface.get());
    return reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * Stride());
}

const std::uint32_t* Bitmap::Row(int y) const {
    return const_cast<Bitmap*>(this)->Row(y);
}

void Bitmap::MarkDirty() {
    if (m_surface != nullptr) {
        cairo_surface_mark_dirty(m_surface.get());
    }
}

}  // namespace platform
