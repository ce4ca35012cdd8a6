#pragma once
// A skin picture: a PNG resource decoded into a 32-bit bitmap whose colour is premultiplied by its alpha,
// drawn into any rectangle stretched whole or as a nine-grid whose corners keep their size.

#include <cstddef>
#include <memory>
#include <string>

#include "platform/base/resources.h"
#include "platform/base/win_types.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"

class CImageEx {
public:
    CImageEx() = default;
    virtual ~CImageEx();
    CImageEx(const CImageEx&) = delete;
    CImageEx& operator=(const CImageEx&) = delete;

    // A new image filled from the PNG resource `id` (taken modulo 65536, as resource ids are); never
    // null, empty when the resource is missing or does not decode. `pLoaded` tells which.
    static std::unique_ptr<CImageEx> LoadSkinImage(int id, BOOL* pLoaded = nullptr);

    // Decodes the resource's bytes; true when the image then holds a bitmap.
    BOOL LoadFromResource(const platform::ResourceBytes& resource);
    // Decodes PNG bytes held in memory and premultiplies them. A failure leaves the image empty.
    BOOL LoadFromStream(const void* data, std::size_t size);
    // The same from a PNG file (`path` in UTF-8).
    BOOL LoadFromFile(const std::string& path);
    // Multiplies each colour channel by the pixel's alpha (rounding down). Only a bitmap with alpha is
    // changed; for any other the result is false.
    BOOL PremultiplyAlpha();

    // The whole image into `destination`: as a nine-grid when it has margins and the destination's size
    // is not the image's own, else stretched whole (1:1 in one blit at its own size).
    void DrawInto(platform::Canvas& canvas, const RECT& destination) const;
    // Nine pieces: corners at their margin sizes, edges stretched along one axis, the centre along both.
    // A piece whose source or destination is empty is left out.
    BOOL DrawNineGrid(platform::Canvas& canvas, int x, int y, int width, int height, int left, int top,
                      int right, int bottom) const;
    // `source` of the image stretched onto `destination`: blended when the image has alpha, copied opaque
    // when it has none.
    void Draw(platform::Canvas& canvas, const RECT& destination, const RECT& source) const;

    // An empty image has no bitmap and a size of 0 x 0.
    bool IsNull() const { return m_bitmap.IsNull(); }
    int GetWidth() const { return m_bitmap.IsNull() ? 0 : m_bitmap.Width(); }
    int GetHeight() const { return m_bitmap.IsNull() ? 0 : m_bitmap.Height(); }
    bool HasAlpha() const { return m_bitmap.HasAlpha(); }
    const platform::Bitmap& GetBitmap() const { return m_bitmap; }

    BOOL m_bNineGrid = FALSE;
    RECT m_rcNineGrid{};  // widths of the left and right columns, heights of the top and bottom rows

private:
    // Takes a freshly decoded bitmap (straight colour) and premultiplies it; an empty image on failure.
    BOOL Adopt(bool decoded, platform::Bitmap&& bitmap);

    platform::Bitmap m_bitmap;
};
