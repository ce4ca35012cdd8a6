#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "drawing_helpers.h"
#include "platform/gfx/canvas.h"

using platform::Bitmap;
using platform::Canvas;
using platform::FontSpec;
using platform::RectF;
using platform::TextAlign;
using platform::TextFormat;
using platform::TextTrimming;

namespace {

FontSpec Sans(float pixelSize = 16, int style = 0) {
    FontSpec font;
    font.family = L"DejaVu Sans";
    font.pixelSize = pixelSize;
    font.style = style;
    return font;
}

TextFormat Format(TextAlign horizontal, TextAlign vertical = TextAlign::Near,
                  TextTrimming trimming = TextTrimming::None) {
    TextFormat format;
    format.horizontal = horizontal;
    format.vertical = vertical;
    format.trimming = trimming;
    return format;
}

// The text drawn in black on a fresh transparent 200 x 40 bitmap.
Bitmap Drawn(const std::wstring& text, const FontSpec& font, const RectF& layout, const TextFormat& format) {
    Bitmap bitmap(200, 40, true);
    Canvas canvas(bitmap);
    canvas.DrawText(text, font, RGB(0, 0, 0), layout, format);
    return bitmap;
}

}  // namespace

TEST(CanvasText, TextIsDrawnInItsColourOnlyInsideItsRectangle) {
    Bitmap bitmap(100, 40, true);
    Canvas canvas(bitmap);
    const RectF layout{10, 10, 40, 14};
    canvas.DrawText(L"Hello, wide world", Sans(), RGB(255, 0, 0), layout, Format(TextAlign::Near));
    RECT ink = InkBox(bitmap);
    ASSERT_LT(ink.left, ink.right) << "some text was drawn";
    EXPECT_GE(ink.left, 10) << "no ink left of the rectangle";
    EXPECT_GE(ink.top, 10) << "no ink above the rectangle";
    EXPECT_LE(ink.right, 50) << "the overlong line is cut at the rectangle's right edge";
    EXPECT_GT(ink.right, 44) << "and runs up to it";
    EXPECT_LE(ink.bottom, 24) << "no ink below the rectangle";
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 100; ++x) {
            std::uint32_t pixel = bitmap.Pixel(x, y);
            if (Alpha(pixel) != 0) {
                ASSERT_TRUE(Red(pixel) == Alpha(pixel) && Green(pixel) == 0 && Blue(pixel) == 0)
                    << "opaque red, premultiplied by its coverage, at " << x << "," << y << ": "
                    << Hex(pixel);
            }
        }
    }
}

TEST(CanvasText, AlignmentPlacesTheLineInItsRectangle) {
    const RectF layout{20, 0, 160, 40};
    RECT near = InkBox(Drawn(L"Hi", Sans(), layout, Format(TextAlign::Near, TextAlign::Near)));
    RECT centre = InkBox(Drawn(L"Hi", Sans(), layout, Format(TextAlign::Center, TextAlign::Center)));
    RECT far = InkBox(Drawn(L"Hi", Sans(), layout, Format(TextAlign::Far, TextAlign::Far)));
    EXPECT_NEAR(near.left, 20, 3) << "near alignment starts at the left edge";
    EXPECT_LT(near.bottom, 20) << "near alignment keeps the line at the top";
    EXPECT_NEAR((centre.left + centre.right) / 2.0, 100, 3) << "centred text has its middle at the middle";
    EXPECT_NEAR((centre.top + centre.bottom) / 2.0, 20, 4) << "centred vertically too";
    EXPECT_NEAR(far.right, 180, 3) << "far alignment ends at the right edge";
    EXPECT_GT(far.top, 20) << "far alignment puts the line at the bottom";
    EXPECT_LE(far.bottom, 40);
}

TEST(CanvasText, EllipsisMakesALongLineFitItsRectangle) {
    const std::wstring text = L"The quick brown fox jumps over the lazy dog";
    const RectF layout{0, 0, 90, 20};
    RECT clipped = InkBox(Drawn(text, Sans(), layout, Format(TextAlign::Near)));
    RECT ellipsis = InkBox(Drawn(text, Sans(), layout,
                                 Format(TextAlign::Near, TextAlign::Near, TextTrimming::EllipsisCharacter)));
    EXPECT_GE(clipped.right, 87) << "without trimming the line runs into the rectangle's edge";
    EXPECT_LT(ellipsis.right, 90) << "with an ellipsis the line ends inside the rectangle";
    EXPECT_GT(ellipsis.right, 60) << "and still uses most of it";

    RECT far = InkBox(Drawn(text, Sans(), {100, 0, 90, 20},
                            Format(TextAlign::Far, TextAlign::Near, TextTrimming::EllipsisCharacter)));
    EXPECT_GE(far.left, 100) << "a far-aligned shortened line starts inside its rectangle";
    EXPECT_NEAR(far.right, 190, 3) << "and ends at the far edge";

    const RectF roomy{0, 0, 200, 20};
    EXPECT_TRUE(SamePixels(Drawn(L"Short", Sans(), roomy, Format(TextAlign::Near)),
                           Drawn(L"Short", Sans(), roomy,
                                 Format(TextAlign::Near, TextAlign::Near, TextTrimming::EllipsisCharacter))))
        << "a line that fits is not shortened";
}

TEST(CanvasText, WordTrimmingDropsTheWordsThatDoNotFit) {
    const float width = static_cast<float>(Canvas::MeasureText(L"alpha beta", Sans()).cx + 4);
    ASSERT_LT(width, Canvas::MeasureText(L"alpha beta gamma", Sans()).cx);
    for (TextAlign align : {TextAlign::Near, TextAlign::Far}) {
        const RectF layout{10, 0, width, 20};
        EXPECT_TRUE(SamePixels(
            Drawn(L"alpha beta gamma", Sans(), layout, Format(align, TextAlign::Near, TextTrimming::Word)),
            Drawn(L"alpha beta", Sans(), layout, Format(align))))
            << "the words that fit are drawn as if alone, with no blank kept before the dropped word";
    }

    RECT oneWord = InkBox(Drawn(L"Extraordinarily", Sans(), {0, 0, 40, 20},
                                Format(TextAlign::Near, TextAlign::Near, TextTrimming::Word)));
    EXPECT_GT(oneWord.right, 20) << "a single word too long for the line is cut at a character";
    EXPECT_LT(oneWord.right, 40) << "at a character that still fits";
}

TEST(CanvasText, AnyFamilyDrawsAndMeasuresLikeSansSerif) {
    FontSpec unknown = Sans();
    unknown.family = L"No Such Family Anywhere";
    FontSpec empty = Sans();
    empty.family.clear();
    FontSpec generic = Sans();
    generic.family = L"sans-serif";
    const RectF layout{0, 0, 200, 40};
    for (const FontSpec& font : {unknown, empty}) {
        RECT ink = InkBox(Drawn(L"Fallback", font, layout, Format(TextAlign::Near)));
        EXPECT_LT(ink.left, ink.right) << "a family that does not exist still draws the text";
        EXPECT_EQ(Canvas::MeasureText(L"Fallback", font).cx, Canvas::MeasureText(L"Fallback", generic).cx)
            << "in the generic sans-serif face";
    }
    FontSpec chosen = Canvas::DefaultGuiFont();
    EXPECT_EQ(chosen.pixelSize, 12);
    EXPECT_EQ(chosen.style, 0);
    FontSpec twelve = generic;
    twelve.pixelSize = 12;
    EXPECT_EQ(Canvas::MeasureText(L"Fallback", chosen).cx, Canvas::MeasureText(L"Fallback", twelve).cx)
        << "the default font is 12 px sans-serif";
}

TEST(CanvasText, MeasuredSizeFollowsTextSizeAndStyle) {
    SIZE one = Canvas::MeasureText(L"m", Sans());
    SIZE two = Canvas::MeasureText(L"mm", Sans());
    SIZE four = Canvas::MeasureText(L"mmmm", Sans());
    EXPECT_GT(one.cx, 0);
    EXPECT_GT(two.cx, one.cx) << "a longer text is wider";
    EXPECT_GT(four.cx, two.cx);
    EXPECT_EQ(two.cy, one.cy) << "one line keeps its height";
    EXPECT_GE(one.cy, 16) << "a line is at least as high as the font's pixel size";
    EXPECT_LT(one.cy, 32);
    EXPECT_GT(Canvas::MeasureText(L"m", Sans(32)).cy, one.cy) << "a bigger font gives a higher line";
    EXPECT_GT(Canvas::MeasureText(L"mmmm", Sans(16, FontSpec::kBold)).cx, four.cx) << "bold is wider";

    SIZE nothing = Canvas::MeasureText(L"", Sans());
    EXPECT_EQ(nothing.cx, 0) << "empty text has no width";
    EXPECT_EQ(nothing.cy, one.cy) << "but the height of a line";
    EXPECT_EQ(Canvas::MeasureText(L"m\r\nm", Sans()).cy, one.cy) << "a line break does not add a line";
    EXPECT_EQ(Canvas::MeasureText(L"m\r\nm", Sans()).cx, Canvas::MeasureText(L"m m", Sans()).cx)
        << "a CR LF pair counts as one blank";
}

TEST(CanvasText, StylesAddInk) {
    const RectF layout{0, 0, 200, 40};
    RECT plain = InkBox(Drawn(L"gap", Sans(), layout, Format(TextAlign::Near)));
    RECT underlined = InkBox(Drawn(L"gap", Sans(16, FontSpec::kUnderline), layout, Format(TextAlign::Near)));
    EXPECT_LT(underlined.left, plain.left + 1) << "the underline runs under the whole text";
    EXPECT_FALSE(SamePixels(Drawn(L"gap", Sans(), layout, Format(TextAlign::Near)),
                            Drawn(L"gap", Sans(16, FontSpec::kStrikeout), layout, Format(TextAlign::Near))))
        << "a strikeout line is drawn";
    EXPECT_FALSE(SamePixels(Drawn(L"gap", Sans(), layout, Format(TextAlign::Near)),
                            Drawn(L"gap", Sans(16, FontSpec::kItalic), layout, Format(TextAlign::Near))))
        << "italic text slants";
}

TEST(CanvasText, BadInputDrawsNothingAndSizesFallBack) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float huge = std::numeric_limits<float>::max();
    const RectF bad[] = {
        {nan, 0, 100, 20}, {0, 0, nan, 20}, {0, 0, -5, 20}, {0, 0, 100, 0}, {huge, 0, 100, 20}};
    for (const RectF& layout : bad) {
        EXPECT_EQ(InkBox(Drawn(L"text", Sans(), layout, Format(TextAlign::Center))).right, 0)
            << "a layout of " << layout.x << "," << layout.y << " " << layout.width << "x" << layout.height;
    }
    EXPECT_EQ(InkBox(Drawn(L"", Sans(), {0, 0, 100, 20}, Format(TextAlign::Near))).right, 0) << "empty text";
    EXPECT_GT(InkBox(Drawn(L"text", Sans(), {0, 0, huge, huge}, Format(TextAlign::Near))).right, 0)
        << "an unbounded rectangle still shows text at its near corner";
    EXPECT_GT(
        InkBox(Drawn(std::wstring(L"a\0b\x2028", 4), Sans(), {0, 0, 100, 20}, Format(TextAlign::Near))).right,
        0)
        << "control characters do not stop the text";

    const SIZE standard = Canvas::MeasureText(L"size", Sans(12));
    for (float size : {0.0f, -12.0f, nan, std::numeric_limits<float>::infinity()}) {
        SIZE measured = Canvas::MeasureText(L"size", Sans(size));
        EXPECT_EQ(measured.cx, standard.cx) << "a font size of " << size << " falls back to 12 px";
        EXPECT_EQ(measured.cy, standard.cy);
    }
    EXPECT_GT(Canvas::MeasureText(L"size", Sans(1e9f)).cy, 100) << "a huge size is capped, not refused";
}
