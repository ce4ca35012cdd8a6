#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "drawing_helpers.h"
#include "platform/gfx/canvas.h"

using platform::Bitmap;
using platform::Canvas;

namespace {

// A bitmap with every pixel set to `pixel`.
Bitmap Filled(int width, int height, bool hasAlpha, std::uint32_t pixel) {
    Bitmap bitmap(width, height, hasAlpha);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.Row(y)[x] = pixel;
        }
    }
    bitmap.MarkDirty();
    return bitmap;
}

// Counts the pixels of `bitmap` that differ from `pixel`.
int Changed(const Bitmap& bitmap, std::uint32_t pixel) {
    int changed = 0;
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            changed += bitmap.Pixel(x, y) != pixel;
        }
    }
    return changed;
}

}  // namespace

TEST(CanvasFill, FillIsOpaqueInPixelOrderAndClearEmptiesTheClip) {
    Bitmap target = Filled(4, 4, true, 0x40102030u);
    Canvas canvas(target);
    canvas.FillRect({1, 1, 3, 3}, RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(target.Pixel(1, 1), 0xFF112233u) << "COLORREF 0x00BBGGRR becomes pixel 0xAARRGGBB, alpha 255";
    EXPECT_EQ(target.Pixel(2, 2), 0xFF112233u) << "the fill replaces the half-transparent pixel below";
    EXPECT_EQ(target.Pixel(3, 3), 0x40102030u) << "right and bottom edges are exclusive";
    EXPECT_EQ(target.Pixel(0, 0), 0x40102030u) << "outside the rectangle";

    canvas.ClipTo({0, 0, 2, 4});
    canvas.Clear();
    EXPECT_EQ(target.Pixel(1, 1), 0u) << "cleared inside the clip";
    EXPECT_EQ(target.Pixel(2, 2), 0xFF112233u) << "the clear stays inside the clip";
}

TEST(CanvasFill, OriginAndClipPlaceAChildInItsPartOfTheBitmap) {
    Bitmap target(20, 20, true);
    Canvas canvas(target);
    canvas.SetOrigin(10, 10);
    canvas.ClipTo({0, 0, 5, 5});
    EXPECT_EQ(canvas.Origin().x, 10);
    RECT clip = canvas.ClipBox();
    EXPECT_EQ(clip.left, 0);
    EXPECT_EQ(clip.right, 5);
    canvas.FillRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, RGB(255, 0, 0));
    EXPECT_EQ(Changed(target, 0), 25) << "a fill of everything covers exactly the 5 x 5 clip";
    EXPECT_EQ(target.Pixel(10, 10), 0xFFFF0000u) << "the child's (0, 0) is the bitmap's (10, 10)";
    EXPECT_EQ(target.Pixel(14, 14), 0xFFFF0000u);

    canvas.Save();
    canvas.OffsetOrigin(2, 2);  // a grandchild at (2, 2) of the child
    canvas.ClipTo({0, 0, 100, 100});
    EXPECT_EQ(canvas.ClipBox().right, 3) << "a clip only narrows: the child's clip still ends at 5";
    canvas.FillRect({0, 0, 1, 1}, RGB(0, 0, 255));
    EXPECT_EQ(target.Pixel(12, 12), 0xFF0000FFu) << "the grandchild's (0, 0) is the bitmap's (12, 12)";
    canvas.Restore();
    canvas.Restore();  // unmatched: nothing happens and the canvas keeps drawing
    EXPECT_EQ(canvas.Origin().x, 10);
    canvas.ClipTo({3, 3, 1, 1});  // inverted: nothing is left to draw on
    canvas.FillRect({0, 0, 5, 5}, RGB(0, 255, 0));
    EXPECT_EQ(target.Pixel(10, 10), 0xFFFF0000u) << "an empty clip lets nothing through";
}

TEST(CanvasBlit, AlphaSourceBlendsAsPremultipliedColour) {
    Bitmap halfRed = Filled(2, 2, true, 0x80800000u);  // red at 50%, premultiplied
    Bitmap target = Filled(4, 2, true, 0xFF0000FFu);
    Canvas canvas(target);
    canvas.DrawBitmap(halfRed, {0, 0, 2, 2});
    EXPECT_TRUE(Near(target.Pixel(0, 0), 0xFF80007Fu))
        << "50% red over opaque blue: src + dst * (1 - 0.5) gives " << Hex(target.Pixel(0, 0));
    EXPECT_EQ(target.Pixel(2, 0), 0xFF0000FFu) << "beside the destination the blue is untouched";

    Bitmap clear(2, 2, true);
    Canvas onClear(clear);
    onClear.DrawBitmap(halfRed, {0, 0, 2, 2});
    EXPECT_EQ(clear.Pixel(1, 1), 0x80800000u) << "over transparent pixels the source arrives unchanged";
}

TEST(CanvasBlit, SourceWithoutAlphaIsCopiedOpaque) {
    Bitmap opaque = Filled(2, 2, false, 0x00336699u);  // its alpha bytes are meaningless
    Bitmap target(2, 2, true);
    Canvas canvas(target);
    canvas.DrawBitmap(opaque, {0, 0, 2, 2});
    EXPECT_EQ(target.Pixel(0, 0), 0xFF336699u) << "a source without alpha lands with alpha 255";
    EXPECT_EQ(target.Pixel(1, 1), 0xFF336699u);
}

TEST(CanvasBlit, OneToOneBlitIsAnExactCopy) {
    Bitmap source(3, 2, true);
    const std::uint32_t pixels[6] = {0xFF010203u, 0x80402000u, 0x00000000u,
                                     0x10101010u, 0xFFFFFFFFu, 0x7F7F007Fu};
    for (int i = 0; i < 6; ++i) {
        source.Row(i / 3)[i % 3] = pixels[i];
    }
    source.MarkDirty();
    Bitmap target(6, 4, true);
    Canvas canvas(target);
    canvas.DrawBitmap(source, {2, 1, 5, 3});
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(target.Pixel(2 + i % 3, 1 + i / 3), pixels[i])
            << "source pixel " << i << " copied unfiltered";
    }
    EXPECT_EQ(Changed(target, 0), 5) << "nothing outside the destination (one source pixel is transparent)";
}

TEST(CanvasBlit, StretchedSourceRectangleTakesNothingFromItsNeighbours) {
    // A 2 x 2 block of reds and greens in the middle of a 4 x 4 source whose other pixels are blue.
    Bitmap source = Filled(4, 4, true, 0xFF0000FFu);
    source.Row(1)[1] = 0xFFFF0000u;
    source.Row(1)[2] = 0xFF00FF00u;
    source.Row(2)[1] = 0xFF00FF00u;
    source.Row(2)[2] = 0xFFFF0000u;
    source.MarkDirty();
    Bitmap target(10, 10, true);
    Canvas canvas(target);
    canvas.DrawBitmap(source, {1, 1, 3, 3}, {1, 1, 9, 9});
    EXPECT_EQ(target.Pixel(1, 1), 0xFFFF0000u) << "top left corner is the block's red, not mixed with blue";
    EXPECT_EQ(target.Pixel(8, 1), 0xFF00FF00u) << "top right corner is the block's green";
    EXPECT_EQ(target.Pixel(8, 8), 0xFFFF0000u) << "bottom right corner is the block's red";
    for (int y = 1; y < 9; ++y) {
        for (int x = 1; x < 9; ++x) {
            EXPECT_EQ(Blue(target.Pixel(x, y)), 0) << "no blue bleeds in at " << x << "," << y;
            EXPECT_EQ(Alpha(target.Pixel(x, y)), 255) << "the stretch stays opaque at " << x << "," << y;
        }
    }
    EXPECT_EQ(target.Pixel(0, 0), 0u) << "outside the destination";
    EXPECT_EQ(target.Pixel(9, 9), 0u) << "outside the destination";
}

TEST(CanvasBlit, EmptyOrOutsideRectanglesDrawOnlyWhatIsValid) {
    const std::uint32_t background = 0xFF101010u;
    Bitmap source = Filled(2, 2, true, 0xFFFFFFFFu);
    Bitmap target = Filled(4, 2, true, background);
    Canvas canvas(target);
    canvas.DrawBitmap(source, {0, 0, 0, 2}, {0, 0, 4, 2});
    canvas.DrawBitmap(source, {2, 0, 0, 2}, {0, 0, 4, 2});
    canvas.DrawBitmap(source, {0, 0, 2, 2}, {4, 0, 0, 2});
    canvas.DrawBitmap(source, {5, 5, 7, 7}, {0, 0, 4, 2});
    canvas.DrawBitmap(Bitmap(), {0, 0, 4, 2});
    EXPECT_EQ(Changed(target, background), 0) << "empty or inverted rectangles, a source rectangle outside "
                                                 "the source and an empty source draw nothing";
    canvas.DrawBitmap(source, {0, 0, 2, 2}, {INT_MIN, INT_MIN, INT_MAX, INT_MAX});
    EXPECT_EQ(Changed(target, background), 0) << "a destination far beyond any window is left out";

    canvas.DrawBitmap(source, {-2, 0, 2, 2}, {0, 0, 4, 2});
    EXPECT_EQ(target.Pixel(1, 1), background)
        << "the part of the source rectangle left of the source is skipped";
    EXPECT_EQ(target.Pixel(2, 0), 0xFFFFFFFFu)
        << "the part inside the source lands on the matching destination";
    EXPECT_EQ(target.Pixel(3, 1), 0xFFFFFFFFu);

    canvas.SetOrigin(INT_MAX, INT_MIN);
    canvas.OffsetOrigin(INT_MAX, INT_MIN);
    canvas.DrawBitmap(source, {0, 0, 4, 2});
    canvas.DrawText(L"far", platform::FontSpec(), RGB(0, 0, 0), {0, 0, 40, 20}, platform::TextFormat());
    EXPECT_EQ(target.Pixel(0, 0), background) << "with the origin far off the bitmap nothing lands on it";

    Bitmap empty;
    Canvas onNothing(empty);
    onNothing.FillRect({0, 0, 5, 5}, RGB(1, 2, 3));
    onNothing.DrawBitmap(source, {0, 0, 2, 2});
    EXPECT_EQ(onNothing.ClipBox().right, 0) << "a canvas on an empty bitmap has nothing to draw on";
}

TEST(CanvasBlit, BitmapDrawnOntoItselfCopiesTheOldPixels) {
    Bitmap target = Filled(4, 1, true, 0xFF000000u);
    target.Row(0)[0] = 0xFFFF0000u;
    target.MarkDirty();
    Canvas canvas(target);
    canvas.DrawBitmap(target, {0, 0, 2, 1}, {1, 0, 3, 1});
    EXPECT_EQ(target.Pixel(1, 0), 0xFFFF0000u) << "the old first pixel moved one to the right";
    EXPECT_EQ(target.Pixel(2, 0), 0xFF000000u) << "the old second pixel, not the just-written one";
}
