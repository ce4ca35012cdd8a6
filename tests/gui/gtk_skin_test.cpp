// The demo build's launcher and game window on a real X server with a compositor: the artwork where the
// skin puts it, a see-through launcher corner, hover pictures, drags. Screenshots of both windows are
// written to the build folder (launcher.png, game-window.png) for a person to look at.
#include <gtk/gtk.h>

#include "DesktopProgram.h"
#include "FailureScreenshot.h"
#include "GtkFixture.h"
#include "Xdotool.h"
#include "platform/ui/window_system.h"
#include "skin/SkinDocument.h"
#include "windows/SkinWnd.h"
#include "windows/SkinWnd2.h"

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr uint32_t kDesktop = 0xFF00FF;  // a colour no artwork uses

class Launcher final : public CSkinWnd {
public:
    Launcher() : CSkinWnd(L"MAINWND") {}
    void OnSkinButton(const SkinButtonDef&) override {}
};

// 0xRRGGBB of a composed (premultiplied, here opaque) picture pixel.
uint32_t Colour(std::uint32_t pixel) {
    return pixel & 0xFFFFFF;
}

class GtkSkinTest : public GtkTest {
protected:
    void SetUp() override {
        GtkTest::SetUp();
        compositor.emplace(DesktopProgram::Compositor());
        SetRootBackground(kDesktop);
    }
    void TearDown() override {
        SkinDocument::DestroyInstance();
        GtkTest::TearDown();
    }
    static RECT Rect(const CWnd& wnd) {
        RECT rect;
        wnd.GetWindowRect(&rect);
        return rect;
    }
    // Where the first opaque pixel of a button's picture lies on the screen, and its colour.
    static bool OpaquePoint(const CSkinButton& button, const platform::Bitmap& picture, POINT& at,
                            uint32_t& rgb) {
        RECT rect;
        button.GetWindowRect(&rect);
        RECT parent;
        button.GetParent()->GetWindowRect(&parent);
        for (int y = rect.top + (rect.bottom - rect.top) / 2; y < rect.bottom; ++y) {
            for (int x = rect.left + 2; x < rect.right - 2; ++x) {
                const std::uint32_t pixel = picture.Pixel(x - parent.left, y - parent.top);
                if ((pixel >> 24) == 0xFF) {
                    at = POINT{x, y};
                    rgb = Colour(pixel);
                    return true;
                }
            }
        }
        return false;
    }
    std::optional<DesktopProgram> compositor;
};

}  // namespace

TEST_F(GtkSkinTest, TheLauncherShowsItsArtworkSeeThroughAtTheCornersAndHoversAndDrags) {
    Launcher launcher;
    ASSERT_TRUE(launcher.Create(nullptr, WS_EX_APPWINDOW, kStyle));
    launcher.Show(TRUE);
    const RECT rect = Rect(launcher);
    EXPECT_TRUE(ShowsColour(rect.left + 1, rect.top + 1, kDesktop))
        << "the rounded, shadowed corner is see-through";
    EXPECT_TRUE(ShowsColour(rect.left + 500, rect.top + 400, Colour(launcher.Picture().Pixel(500, 400))))
        << "the background as composed";

    CSkinButton* pay = launcher.FindButton(L"pay");
    ASSERT_NE(pay, nullptr);
    POINT at{};
    uint32_t normal = 0;
    ASSERT_TRUE(OpaquePoint(*pay, launcher.Picture(), at, normal));
    EXPECT_TRUE(ShowsColour(at.x, at.y, normal)) << "the pay button's picture";
    EXPECT_TRUE(KeepScreenshotOf(launcher, std::string(SCREENSHOT_DIR) + "/launcher.png"));

    auto hover = Xdotool::Start({"mousemove", std::to_string(at.x), std::to_string(at.y)});
    ASSERT_TRUE(hover->Wait(std::chrono::seconds(5), Turn));
    EXPECT_TRUE(TurnUntil([&] { return pay->ShownState() == 1; })) << "the hover picture";
    EXPECT_TRUE(TurnUntil([&] { return !Near(TakeScreenshot().Pixel(at.x, at.y), normal, 4); }))
        << "the screen shows the hover picture " << SaveForInspection(TakeScreenshot());

    EXPECT_TRUE(DragWithPointer(
        POINT{rect.left + 600, rect.top + 140}, POINT{rect.left + 560, rect.top + 120},
        [&] { return Rect(launcher).left == rect.left - 40 && Rect(launcher).top == rect.top - 20; }))
        << "dragged by a press on its background";
}

TEST_F(GtkSkinTest, TheGameWindowShowsItsTitleStripAndToolbarAndDragsByTheStrip) {
    CSkinWnd2 game(L"GAMEWND");
    ASSERT_TRUE(game.Create(nullptr, WS_EX_APPWINDOW, kStyle));
    if (CSkinButton* restore = game.FindButton(L"restore")) {
        restore->ShowWindow(SW_HIDE);
    }
    if (CSkinButton* vip = game.FindButton(L"vip")) {
        vip->SetTitle(L"\u661F\u6D77\u4E00\u533A");  // the server name a game page reports
    }
    game.Show(TRUE);
    const RECT rect = Rect(game);
    std::unique_ptr<CImageEx> strip = CImageEx::LoadSkinImage(347);
    ASSERT_FALSE(strip->IsNull());
    EXPECT_TRUE(ShowsColour(rect.left + 60, rect.top + 16, Colour(strip->GetBitmap().Pixel(60, 16))))
        << "the title strip's left end, unscaled";
    CSkinButton* close = game.FindButton(L"close");
    ASSERT_NE(close, nullptr);
    POINT at{};
    uint32_t colour = 0;
    ASSERT_TRUE(OpaquePoint(*close, game.Picture(), at, colour));
    EXPECT_TRUE(ShowsColour(at.x, at.y, colour)) << "the close button";
    EXPECT_TRUE(ShowsColour(rect.left + 600, rect.top + 400, 0x000000)) << "the black background below";
    EXPECT_TRUE(KeepScreenshotOf(game, std::string(SCREENSHOT_DIR) + "/game-window.png"));

    EXPECT_TRUE(
        DragWithPointer(POINT{rect.left + 700, rect.top + 20}, POINT{rect.left + 660, rect.top + 40},
                        [&] { return Rect(game).left == rect.left - 40 && Rect(game).top == rect.top + 20; }))
        << "dragged by its title strip";
}
