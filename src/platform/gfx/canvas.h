#pragma once
// The drawing device windows paint with: fills, bitmap blits and single lines of text onto a Bitmap.
// A canvas has an origin and a clip, so a child window paints into its own part of its parent's bitmap
// in its own coordinates. Colour on the bitmap is premultiplied (the DIB contract of per-pixel alpha).
// Bad input (empty or inverted rectangles, empty bitmaps, NaN layouts, odd font sizes) draws nothing or
// falls back to something sensible; nothing throws.

#include <string>

#include "platform/base/win_types.h"
#include "platform/gfx/bitmap.h"

typedef struct _cairo cairo_t;

namespace platform {

struct RectF {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
};

struct FontSpec {
    static constexpr int kBold = 1;
    static constexpr int kItalic = 2;
    static constexpr int kUnderline = 4;
    static constexpr int kStrikeout = 8;

    // A family the machine does not have, or none, falls back to the generic sans-serif.
    std::wstring family;
    // The em size in device pixels; a size that is not positive gives the default 12 px.
    float pixelSize = 12;
    int style = 0;  // the k... bits above
};

enum class TextAlign { Near, Center, Far };

enum class TextTrimming {
    None,               // an overlong line runs out of its rectangle and is clipped there
    Word,               // whole trailing words that do not fit are left out
    EllipsisCharacter,  // an overlong line ends in "…"
};

struct TextFormat {
    TextAlign horizontal = TextAlign::Near;
    TextAlign vertical = TextAlign::Near;
    TextTrimming trimming = TextTrimming::None;
};

class Canvas final {
public:
    // Draws on `target`, which must outlive the canvas. The origin starts at the bitmap's top left and
    // the clip covers the whole bitmap. A canvas on an empty bitmap draws nothing.
    explicit Canvas(Bitmap& target);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Where the canvas's (0, 0) lies on the bitmap. The clip stays where it is on the bitmap.
    void SetOrigin(int x, int y);
    // Moves the origin by (dx, dy) of the current coordinates, as a child's position in its parent.
    void OffsetOrigin(int dx, int dy);
    POINT Origin() const;
    // Narrows the clip to `rect` (current coordinates); the clip only grows again through Restore.
    void ClipTo(const RECT& rect);
    // The part of the bitmap drawing can still reach, in current coordinates; all zero when none.
    RECT ClipBox() const;
    // Saves origin and clip; Restore returns to the state of the matching Save and does nothing when
    // there is none.
    void Save();
    void Restore();

    // An opaque fill that replaces what was there.
    void FillRect(const RECT& rect, COLORREF colour);
    // Makes every pixel inside the clip fully transparent (all bytes zero).
    void Clear();
    // Draws `sourceRect` of `source`, stretched onto `destination`. A source with alpha is blended
    // source-over as premultiplied colour; one without is copied opaque. The part of `sourceRect`
    // outside the source is left out, together with the matching part of `destination`. A destination
    // more than a million pixels away from the origin, far beyond any window, draws nothing.
    void DrawBitmap(const Bitmap& source, const RECT& sourceRect, const RECT& destination);
    void DrawBitmap(const Bitmap& source, const RECT& destination);
    // One line of text in an opaque colour, placed in `layout` by the alignments and clipped to it.
    // Line breaks in `text` count as blanks: the text is never wrapped.
    void DrawText(const std::wstring& text, const FontSpec& font, COLORREF colour, const RectF& layout,
                  const TextFormat& format);

    // The width and height of one line of `text`, in whole pixels, as DrawText would lay it out.
    static SIZE MeasureText(const std::wstring& text, const FontSpec& font);
    // The font a window uses when nothing else is chosen: sans-serif, 12 px, regular.
    static FontSpec DefaultGuiFont();

private:
    // Finishes one drawing operation so that the bitmap's memory shows it.
    void Flush();

    Bitmap& m_target;
    cairo_t* m_cr = nullptr;
    int m_saveDepth = 0;
};

}  // namespace platform
