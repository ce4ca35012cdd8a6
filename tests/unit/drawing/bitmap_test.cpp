#include "platform/gfx/bitmap.h"

#include <gtest/gtest.h>

#include <utility>

using platform::Bitmap;

TEST(Bitmap, NewBitmapIsZeroedAndRowsFollowTheStride) {
    Bitmap bitmap(3, 2, true);
    ASSERT_FALSE(bitmap.IsNull());
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.Height(), 2);
    EXPECT_TRUE(bitmap.HasAlpha());
    EXPECT_GE(bitmap.Stride(), 3 * 4);
    EXPECT_EQ(reinterpret_cast<const char*>(bitmap.Row(1)) - reinterpret_cast<const char*>(bitmap.Row(0)),
              bitmap.Stride());
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(bitmap.Pixel(x, y), 0u) << "a new pixel is transparent black at " << x << "," << y;
        }
    }
    bitmap.Row(1)[2] = 0x11223344u;
    bitmap.MarkDirty();
    EXPECT_EQ(bitmap.Pixel(2, 1), 0x11223344u);
    EXPECT_FALSE(Bitmap(1, 1, false).HasAlpha());
}

TEST(Bitmap, EmptyAndAbsurdSizesGiveAnEmptyBitmap) {
    const int sizes[][2] = {{0, 5}, {5, 0}, {-3, 4}, {100000, 100000}, {8193, 8193}, {40000, 1}};
    for (const auto& size : sizes) {
        Bitmap bitmap(size[0], size[1], true);
        EXPECT_TRUE(bitmap.IsNull()) << size[0] << " x " << size[1];
        EXPECT_EQ(bitmap.Width(), 0);
        EXPECT_EQ(bitmap.Height(), 0);
        EXPECT_EQ(bitmap.Row(0), nullptr);
    }
}

TEST(Bitmap, MovingHandsOverThePixels) {
    Bitmap first(2, 2, true);
    first.Row(0)[0] = 0xFF000001u;
    Bitmap second(std::move(first));
    EXPECT_TRUE(first.IsNull());
    EXPECT_FALSE(first.HasAlpha());
    EXPECT_EQ(second.Pixel(0, 0), 0xFF000001u);

    Bitmap third(1, 1, false);
    third = std::move(second);
    EXPECT_TRUE(second.IsNull());
    EXPECT_TRUE(third.HasAlpha());
    EXPECT_EQ(third.Width(), 2);
    Bitmap& same = third;
    third = std::move(same);
    EXPECT_EQ(third.Pixel(0, 0), 0xFF000001u) << "moving onto itself keeps the pixels";
}
