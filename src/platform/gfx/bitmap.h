#pragma once
// A 32-bit picture in memory, the device-independent bitmap every drawing works on: rows of pixels
// stored as blue, green, red, alpha bytes (one native-endian 0xAARRGGBB word), top row first. A bitmap
// with alpha holds premultiplied colour once its owner has premultiplied it (decoded PNGs arrive
// straight); one without alpha is opaque and its alpha bytes are ignored (drawn as 255).

#include <cstdint>

#include "platform/gfx/cairo_handles.h"

namespace platform {

class Bitmap final {
public:
    // More pixels than any picture the client shows could need (256 MiB of memory); larger requests,
    // which can only come from damaged or hostile input, give an empty bitmap.
    static constexpr std::int64_t kMaxPixels = 64 * 1024 * 1024;

    Bitmap() = default;
    // A bitmap of that size, all pixels zero; an empty bitmap when the size is not positive or the
    // memory cannot be had.
    Bitmap(int width, int height, bool hasAlpha);
    Bitmap(Bitmap&& other) noexcept;
    Bitmap& operator=(Bitmap&& other) noexcept;

    bool IsNull() const { return m_surface == nullptr; }
    int Width() const;
    int Height() const;
    bool HasAlpha() const { return m_hasAlpha; }
    // Bytes from one row to the next.
    int Stride() const;
    std::uint32_t* Row(int y);
    const std::uint32_t* Row(int y) const;
    std::uint32_t Pixel(int x, int y) const { return Row(y)[x]; }

    // Call after writing pixels directly, before drawing the bitmap elsewhere.
    void MarkDirty();
    cairo_surface_t* Surface() const { return m_surface.get(); }

private:
    SurfacePtr m_surface;
    bool m_hasAlpha = false;
};

}  // namespace platform
