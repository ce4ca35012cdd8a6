#pragma once
// PNG decoding into Bitmaps, for the skin pictures among the resources and for picture files.
//
// A picture with transparency (an alpha channel, or a tRNS chunk) becomes a bitmap with alpha holding
// STRAIGHT colour: it is not premultiplied, because the client premultiplies the pictures it blends
// itself. Any other picture becomes an opaque bitmap (no alpha, alpha bytes 255). Pixels keep their
// stored values: 16-bit samples are reduced to 8, low bit depths and palettes expanded, interlaced
// pictures assembled; no gamma or colour-profile conversion is applied.
//
// Damaged data (wrong signature, corrupt or truncated content) and pictures of more than
// Bitmap::kMaxPixels pixels are refused: the call returns false and leaves `out` empty. The size is
// checked from the header, before any pixel memory is taken.

#include <cstddef>
#include <string>

#include "platform/gfx/bitmap.h"

namespace platform {

bool DecodePng(const void* data, std::size_t size, Bitmap& out);
// `path` is UTF-8. Anything but a readable regular file is refused.
bool LoadPngFile(const std::string& path, Bitmap& out);

}  // namespace platform
