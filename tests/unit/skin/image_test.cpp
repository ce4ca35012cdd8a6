// Skin pictures: loading from resources, premultiplying, and drawing whole or as a nine-grid.
#include "skin/ImageEx.h"

#include <gtest/gtest.h>

#include "SkinTestSupport.h"

namespace {

// A picture whose pixel (x, y) says where it came from: red x, green 10 * y.
Rgba Where(int x, int y) {
    return Rgba{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(10 * y), 0, 255};
}

std::unique_ptr<CImageEx> Loaded(const std::string& png) {
    auto image = std::make_unique<CImageEx>();
    EXPECT_TRUE(image->LoadFromStream(png.data(), png.size()));
    return image;
}

// The red and green a canvas pixel holds: the source column and 10 x the source row when copied 1:1.
struct Origin {
    int column;
    int row10;
};
Origin At(const platform::Bitmap& bitmap, int x, int y) {
    const std::uint32_t pixel = bitmap.Pixel(x, y);
    return Origin{static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF)};
}

}  // namespace

TEST(ImageEx, ColourIsMultipliedByAlphaRoundingDownForEveryProduct) {
    // Row a holds alpha a, column c colour c, so every product c * a appears once per channel.
    auto image = Loaded(MakePng(256, 256, true, [](int c, int a) {
        return Rgba{static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(255 - c),
                    static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(a)};
    }));
    int wrong = 0;
    for (std::uint32_t a = 0; a < 256; ++a) {
        for (std::uint32_t c = 0; c < 256; ++c) {
            const std::uint32_t expected =
                (a << 24) | ((c * a / 255) << 16) | (((255 - c) * a / 255) << 8) | (c * a / 255);
            wrong += image->GetBitmap().Pixel(static_cast<int>(c), static_cast<int>(a)) != expected;
        }
    }
    EXPECT_EQ(wrong, 0);

    auto vector = Loaded(MakePng(1, 1, true, [](int, int) { return Rgba{50, 100, 200, 128}; }));
    EXPECT_EQ(vector->GetBitmap().Pixel(0, 0), 0x80193264u) << "blue 200, green 100, red 50 at alpha 128";

    auto opaque = Loaded(MakePng(2, 1, false, [](int, int) { return Rgba{50, 100, 200, 7}; }));
    EXPECT_FALSE(opaque->PremultiplyAlpha()) << "a picture without alpha stays as it is";
    EXPECT_EQ(opaque->GetBitmap().Pixel(1, 0) & 0xFFFFFF, 0x3264C8u);
}

TEST(ImageEx, ResourcesThatAreNoPictureGiveAnEmptyImage) {
    const std::string good = MakePng(4, 3, true, Where);
    RegisterPng(901, "");
    RegisterPng(902, good.substr(0, good.size() / 2));
    RegisterPng(903, "GIF89a, not a PNG at all");
    RegisterPng(905, good);
    platform::Bitmap target(10, 10, true);
    platform::Canvas canvas(target);
    for (int id : {901, 902, 903, 904}) {
        BOOL loaded = TRUE;
        std::unique_ptr<CImageEx> image = CImageEx::LoadSkinImage(id, &loaded);
        ASSERT_NE(image, nullptr) << id;
        EXPECT_FALSE(loaded) << id;
        EXPECT_TRUE(image->IsNull()) << id;
        EXPECT_EQ(image->GetWidth(), 0) << id;
        image->m_bNineGrid = TRUE;
        image->m_rcNineGrid = RECT{2, 2, 2, 2};
        image->DrawInto(canvas, RECT{0, 0, 10, 10});
    }
    EXPECT_EQ(target.Pixel(5, 5), 0u) << "an empty image draws nothing";
    BOOL loaded = FALSE;
    std::unique_ptr<CImageEx> image = CImageEx::LoadSkinImage(65536 + 905, &loaded);
    EXPECT_TRUE(loaded) << "ids are taken modulo 65536";
    EXPECT_EQ(image->GetWidth(), 4);
    EXPECT_EQ(image->GetHeight(), 3);
}

TEST(ImageEx, AtItsOwnSizeAnImageIsCopiedWholeMarginsOrNot) {
    auto image = Loaded(MakePng(40, 6, false, Where));
    image->m_bNineGrid = TRUE;
    image->m_rcNineGrid = RECT{12, 1, 5, 2};
    platform::Bitmap target(50, 10, false);
    platform::Canvas canvas(target);
    image->DrawInto(canvas, RECT{3, 2, 43, 8});
    for (int x = 0; x < 40; ++x) {
        for (int y = 0; y < 6; ++y) {
            ASSERT_EQ(At(target, 3 + x, 2 + y).column, x) << x << "," << y;
            ASSERT_EQ(At(target, 3 + x, 2 + y).row10, 10 * y) << x << "," << y;
        }
    }
}

TEST(ImageEx, WiderThanItsSizeTheCornersKeepTheirSizeAndOnlyTheMiddleStretches) {
    auto image = Loaded(MakePng(40, 6, false, Where));
    image->m_bNineGrid = TRUE;
    image->m_rcNineGrid = RECT{12, 1, 5, 2};
    platform::Bitmap target(41, 8, false);
    platform::Canvas canvas(target);
    image->DrawInto(canvas, RECT{0, 0, 41, 8});  // one pixel wider, two taller
    for (int x = 0; x < 12; ++x) {
        EXPECT_EQ(At(target, x, 0).column, x) << "left column " << x;
    }
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(At(target, 36 + x, 0).column, 35 + x) << "right column " << x;
        EXPECT_EQ(At(target, 36 + x, 7).row10, 50) << "bottom row, unscaled";
        EXPECT_EQ(At(target, 36 + x, 6).row10, 40) << "bottom row, unscaled";
    }
    for (int x = 12; x < 36; ++x) {
        const Origin middle = At(target, x, 3);
        EXPECT_GE(middle.column, 12) << "nothing of the left column bleeds into the middle, at " << x;
        EXPECT_LE(middle.column, 34) << "nothing of the right column bleeds into the middle, at " << x;
        EXPECT_GE(middle.row10, 10) << "nothing of the top row bleeds into the centre";
        EXPECT_LE(middle.row10, 30) << "nothing of the bottom rows bleed into the centre";
    }
}

TEST(ImageEx, ANineGridWithoutMarginsIsTheWholeImageStretched) {
    auto image = Loaded(MakePng(40, 6, true, Where));
    platform::Bitmap grid(90, 20, true);
    platform::Canvas gridCanvas(grid);
    image->DrawNineGrid(gridCanvas, 5, 5, 80, 12, 0, 0, 0, 0);
    platform::Bitmap whole(90, 20, true);
    platform::Canvas wholeCanvas(whole);
    wholeCanvas.DrawBitmap(image->GetBitmap(), RECT{0, 0, 40, 6}, RECT{5, 5, 85, 17});
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 90; ++x) {
            ASSERT_EQ(grid.Pixel(x, y), whole.Pixel(x, y)) << x << "," << y;
        }
    }
}

TEST(ImageEx, ADestinationNarrowerThanBothColumnsDropsTheMiddleAndKeepsTheCorners) {
    auto image = Loaded(MakePng(200, 4, true, Where));
    platform::Bitmap target(140, 4, true);
    platform::Canvas canvas(target);
    image->DrawNineGrid(canvas, 0, 0, 100, 4, 120, 1, 10, 1);
    EXPECT_EQ(At(target, 50, 0).column, 50) << "the left corner at its own size";
    EXPECT_EQ(At(target, 110, 2).column, 110) << "the left column runs past the destination";
    EXPECT_EQ(At(target, 95, 0).column, 195) << "the right corner, drawn after the left one";
    EXPECT_EQ(At(target, 95, 2).column, 195) << "the right edge";
    EXPECT_EQ(target.Pixel(130, 2), 0u) << "no middle column: nothing right of the left one";
}
