#include "skin/ImageEx.h"

#include <cstdint>

#include "platform/gfx/png.h"

namespace {

// floor(value / 255) for every value up to 255 * 255, without a division.
inline std::uint32_t DivideBy255(std::uint32_t value) {
    return (value * 0x8081u) >> 23;
}

bool IsEmpty(const RECT& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

}  // namespace

CImageEx::~CImageEx() = default;

std::unique_ptr<CImageEx> CImageEx::LoadSkinImage(int id, BOOL* pLoaded) {
    auto image = std::make_unique<CImageEx>();
    platform::ResourceBytes resource = platform::FindResource("PNG", id & 0xFFFF);
    const BOOL loaded = !resource.empty() && image->LoadFromResource(resource);
    if (pLoaded != nullptr) {
        *pLoaded = loaded;
    }
    return image;
}

BOOL CImageEx::LoadFromResource(const platform::ResourceBytes& resource) {
    if (resource.empty() || resource.size == 0) {
        return FALSE;
    }
    return LoadFromStream(resource.data, resource.size);
}

BOOL CImageEx::LoadFromStream(const void* data, std::size_t size) {
    platform::Bitmap decoded;
    return Adopt(data != nullptr && platform::DecodePng(data, size, decoded), std::move(decoded));
}

BOOL CImageEx::LoadFromFile(const std::string& path) {
    platform::Bitmap decoded;
    return Adopt(platform::LoadPngFile(path, decoded), std::move(decoded));
}

BOOL CImageEx::Adopt(bool decoded, platform::Bitmap&& bitmap) {
    m_bitmap = decoded ? std::move(bitmap) : platform::Bitmap();
    if (decoded) {
        PremultiplyAlpha();
    }
    return decoded ? TRUE : FALSE;
}

BOOL CImageEx::PremultiplyAlpha() {
    if (m_bitmap.IsNull() || !m_bitmap.HasAlpha()) {
        return FALSE;
    }
    for (int y = 0; y < m_bitmap.Height(); ++y) {
        std::uint32_t* row = m_bitmap.Row(y);
        for (int x = 0; x < m_bitmap.Width(); ++x) {
            const std::uint32_t pixel = row[x];
            const std::uint32_t alpha = pixel >> 24;
            const std::uint32_t red = DivideBy255(((pixel >> 16) & 0xFF) * alpha);
            const std::uint32_t green = DivideBy255(((pixel >> 8) & 0xFF) * alpha);
            const std::uint32_t blue = DivideBy255((pixel & 0xFF) * alpha);
            row[x] = (alpha << 24) | (red << 16) | (green << 8) | blue;
        }
    }
    m_bitmap.MarkDirty();
    return TRUE;
}

void CImageEx::DrawInto(platform::Canvas& canvas, const RECT& destination) const {
    const int width = destination.right - destination.left;
    const int height = destination.bottom - destination.top;
    if (m_bNineGrid && (width != GetWidth() || height != GetHeight())) {
        DrawNineGrid(canvas, destination.left, destination.top, width, height, m_rcNineGrid.left,
                     m_rcNineGrid.top, m_rcNineGrid.right, m_rcNineGrid.bottom);
        return;
    }
    Draw(canvas, destination, RECT{0, 0, GetWidth(), GetHeight()});
}

BOOL CImageEx::DrawNineGrid(platform::Canvas& canvas, int x, int y, int width, int height, int left, int top,
                            int right, int bottom) const {
    const int w = GetWidth();
    const int h = GetHeight();
    const int x2 = x + width;
    const int y2 = y + height;
    struct Piece {
        RECT destination;
        RECT source;
    };
    const Piece pieces[] = {
        {{x, y, x + left, y + top}, {0, 0, left, top}},                               // top-left corner
        {{x, y + top, x + left, y2 - bottom}, {0, top, left, h - bottom}},            // left edge
        {{x + left, y, x2 - right, y + top}, {left, 0, w - right, top}},              // top edge
        {{x2 - right, y, x2, y + top}, {w - right, 0, w, top}},                       // top-right corner
        {{x2 - right, y + top, x2, y2 - bottom}, {w - right, top, w, h - bottom}},    // right edge
        {{x + left, y2 - bottom, x2 - right, y2}, {left, h - bottom, w - right, h}},  // bottom edge
        {{x2 - right, y2 - bottom, x2, y2}, {w - right, h - bottom, w, h}},           // bottom-right
        {{x, y2 - bottom, x + left, y2}, {0, h - bottom, left, h}},                   // bottom-left
        {{x + left, y + top, x2 - right, y2 - bottom}, {left, top, w - right, h - bottom}},  // centre
    };
    for (const Piece& piece : pieces) {
        if (!IsEmpty(piece.destination) && !IsEmpty(piece.source)) {
            Draw(canvas, piece.destination, piece.source);
        }
    }
    return TRUE;
}

void CImageEx::Draw(platform::Canvas& canvas, const RECT& destination, const RECT& source) const {
    if (!m_bitmap.IsNull()) {
        canvas.DrawBitmap(m_bitmap, source, destination);
    }
}
