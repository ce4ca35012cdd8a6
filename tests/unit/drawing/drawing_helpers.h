#pragma once
// Small helpers the drawing tests share for reading pixels.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iomanip>
#include <sstream>
#include <string>

#include "platform/base/win_types.h"
#include "platform/gfx/bitmap.h"

inline int Channel(std::uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}
inline int Alpha(std::uint32_t pixel) {
    return Channel(pixel, 24);
}
inline int Red(std::uint32_t pixel) {
    return Channel(pixel, 16);
}
inline int Green(std::uint32_t pixel) {
    return Channel(pixel, 8);
}
inline int Blue(std::uint32_t pixel) {
    return Channel(pixel, 0);
}

inline std::string Hex(std::uint32_t pixel) {
    std::ostringstream text;
    text << "0x" << std::hex << std::uppercase << std::setw(8) << std::setfill('0') << pixel;
    return text.str();
}

// True when every channel of the two pixels differs by at most `tolerance`.
inline bool Near(std::uint32_t actual, std::uint32_t expected, int tolerance = 1) {
    for (int shift = 0; shift < 32; shift += 8) {
        if (std::abs(Channel(actual, shift) - Channel(expected, shift)) > tolerance) {
            return false;
        }
    }
    return true;
}

// The bounding box of the pixels that are not fully transparent; all zero when there are none.
inline RECT InkBox(const platform::Bitmap& bitmap) {
    RECT box{bitmap.Width(), bitmap.Height(), 0, 0};
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            if (Alpha(bitmap.Pixel(x, y)) != 0) {
                box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                       std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
            }
        }
    }
    return box.right == 0 ? RECT{0, 0, 0, 0} : box;
}

inline bool SamePixels(const platform::Bitmap& a, const platform::Bitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) {
        return false;
    }
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            if (a.Pixel(x, y) != b.Pixel(x, y)) {
                return false;
            }
        }
    }
    return true;
}
