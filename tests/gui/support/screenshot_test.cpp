// Tests of screenshots: what the server shows, in place and channel order, composited, saved unchanged.
#include <cairo.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "DesktopProgram.h"
#include "DesktopState.h"
#include "FailureScreenshot.h"
#include "PlainWindow.h"
#include "Screenshot.h"
#include "TestDisplay.h"
#include "WaitUntil.h"
#include "support/TempDir.h"

namespace {

// Channels all different, so a swap of red and blue shows.
constexpr uint32_t kWindowColour = 0x3366cc;
constexpr uint32_t kRootColour = 0x204010;

std::string Hex(uint32_t colour) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%06x", colour);
    return text;
}

}  // namespace

TEST(Screenshot, ShowsAWindowWhereTheServerDrewIt) {
    SetRootBackground(kRootColour);
    PlainWindow window({100, 50, 200, 100}, kWindowColour);
    window.Map();

    Screenshot shot = TakeScreenshot();
    EXPECT_EQ(shot.Width(), TestDisplay::Get().Width());
    EXPECT_EQ(shot.Height(), TestDisplay::Get().Height());
    // The window's corners, and the pixels just outside them.
    EXPECT_EQ(Hex(shot.Pixel(100, 50)), Hex(kWindowColour)) << SaveForInspection(shot);
    EXPECT_EQ(Hex(shot.Pixel(299, 149)), Hex(kWindowColour));
    EXPECT_EQ(Hex(shot.Pixel(99, 50)), Hex(kRootColour));
    EXPECT_EQ(Hex(shot.Pixel(100, 49)), Hex(kRootColour));
    EXPECT_EQ(Hex(shot.Pixel(300, 149)), Hex(kRootColour));
    EXPECT_EQ(Hex(shot.Pixel(299, 150)), Hex(kRootColour));
    // The screen's far corner, where a wrong row length would go astray.
    EXPECT_EQ(Hex(shot.Pixel(shot.Width() - 1, shot.Height() - 1)), Hex(kRootColour));
}

TEST(Screenshot, ShowsWhatTheCompositorBlended) {
    SetRootBackground(0x0000ff);
    DesktopProgram compositor = DesktopProgram::Compositor();
    // Red at half opacity, premultiplied, over blue.
    PlainWindow window({200, 200, 100, 100}, 0x80800000, PlainWindow::Kind::kTranslucent);
    window.Map();

    constexpr uint32_t kBlend = 0x80007f;
    bool blended =
        WaitUntil([&] { return Near(TakeScreenshot().Pixel(250, 250), kBlend, 2); }, std::chrono::seconds(5));
    Screenshot shot = TakeScreenshot();
    EXPECT_TRUE(blended) << "found " << Hex(shot.Pixel(250, 250)) << "; " << SaveForInspection(shot);
    EXPECT_EQ(Hex(shot.Pixel(199, 250)), Hex(0x0000ff));
}

TEST(Screenshot, SavedPngHoldsTheSamePixels) {
    SetRootBackground(kRootColour);
    PlainWindow window({10, 20, 30, 40}, kWindowColour);
    window.Map();
    Screenshot shot = TakeScreenshot();
    TempDir folder;
    ASSERT_TRUE(shot.SavePng(folder / "shot.png"));

    cairo_surface_t* png = cairo_image_surface_create_from_png((folder / "shot.png").c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(png), shot.Width());
    EXPECT_EQ(cairo_image_surface_get_height(png), shot.Height());
    const unsigned char* data = cairo_image_surface_get_data(png);
    int stride = cairo_image_surface_get_stride(png);
    auto at = [&](int x, int y) {
        return *reinterpret_cast<const uint32_t*>(data + static_cast<std::size_t>(y) * stride + x * 4) &
               0xffffff;
    };
    for (auto [x, y] : {std::pair{10, 20}, std::pair{39, 59}, std::pair{40, 59}, std::pair{0, 0},
                        std::pair{shot.Width() - 1, shot.Height() - 1}}) {
        EXPECT_EQ(Hex(at(x, y)), Hex(shot.Pixel(x, y))) << "at " << x << "," << y;
    }
    cairo_surface_destroy(png);
}

TEST(Screenshot, SavingWhereNothingCanBeWrittenFails) {
    Screenshot shot(2, 2, {0, 0, 0, 0});
    EXPECT_FALSE(shot.SavePng("/velmora-no-such-folder/shot.png"));
}

TEST(Screenshot, PixelsOffTheScreenAreRefused) {
    Screenshot shot(2, 1, {0x112233, 0x445566});
    EXPECT_EQ(shot.Pixel(1, 0), 0x445566u);
    EXPECT_THROW(shot.Pixel(2, 0), std::out_of_range);
    EXPECT_THROW(shot.Pixel(0, 1), std::out_of_range);
    EXPECT_THROW(shot.Pixel(-1, 0), std::out_of_range);
}

TEST(ColourNear, ToleratesEachChannelOnItsOwn) {
    EXPECT_TRUE(Near(0x102030, 0x131f33, 3));
    // A difference in one channel is not made up for by the others.
    EXPECT_FALSE(Near(0x102030, 0x142030, 3));
    EXPECT_FALSE(Near(0x102030, 0x102034, 3));
    EXPECT_FALSE(Near(0x000000, 0x0000ff, 254));
    EXPECT_TRUE(Near(0xffffff, 0x000000, 255));
}
