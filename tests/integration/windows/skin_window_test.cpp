// The two skinned window bases on the headless backend: the build from a section, dragging, closing,
// command routing, limits, stacking, and the pixels of their pictures.
#include <gtest/gtest.h>

#include <fstream>

#include "SkinTestSupport.h"
#include "UserEnvironment.h"
#include "config/ClientConfig.h"
#include "platform/base/clock.h"
#include "platform/headless/headless.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/win_api.h"
#include "platform/ui/window_system.h"
#include "skin/SkinDocument.h"
#include "support/ClientTest.h"
#include "windows/SkinWnd.h"
#include "windows/SkinWnd2.h"

using namespace platform::headless;
using platform::PumpUntilIdle;

namespace {

constexpr DWORD kExStyle = WS_EX_APPWINDOW;
constexpr DWORD kStyle = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr std::uint32_t kGreen = 0xFF00FF00;

const char kSkin[] =
    "<S><FONT name='f' size='14'/><IMG name='logo' stand='no/such/logo.png'/>"
    "<MAINWND width='1039' height='573' title='Launcher'>"
    "<IMG name='bg' stand='800' width='1039' height='100'/>"
    "<IMG name='Spot' stand='801' left='10' top='110'/><IMG name='spot' stand='801' left='40' top='110'/>"
    "<IMG name='tall' stand='801' left='100' top='200' width='0' height='300'/>"
    "<BTN name='close' stand='802' left='5' top='5' align='TopRight'/>"
    "<TEXT left='200' top='200' width='100' height='20' font='missing' title='x'/>"
    "<TEXT left='200' top='240' width='100' height='20' font='f' title=''/>"
    "</MAINWND>"
    "<GAMEWND width='1250' height='690' titleHeight='50' logo='1' font='f' title='Game' color='255,255,0'>"
    "<IMG name='top' stand='803' strech='1' rect='120,1,10,1'/>"
    "<BTN name='close' stand='802' left='3' top='1' align='TopRight'/>"
    "</GAMEWND>"
    "<OTHER width='300' height='200'/>"
    "<STRETCHED width='400' height='300'><IMG stand='801' left='10' top='10'/><IMG stand='804' left='50' "
    "strech='2'/>"
    "<IMG stand='805' left='100' top='100' strech='3'/></STRETCHED></S>";

template <typename Base>
class Recording : public Base {
public:
    using Base::Base;
    std::vector<std::wstring> clicked;
    void OnSkinButton(const SkinButtonDef& def) override { clicked.push_back(def.name); }
    using Base::m_buttons;
};
using Layered = Recording<CSkinWnd>;
using Framed = Recording<CSkinWnd2>;

class SkinWindowTest : public ClientTest {
protected:
    SkinWindowTest() {
        Backend().workArea = RECT{0, 0, 1920, 1040};
        platform::SetClock(&clock);
        RegisterPng(800, MakePng(100, 50, true, [](int, int) { return Rgba{255, 0, 0, 255}; }));
        RegisterPng(801, MakePng(20, 20, true, [](int, int) { return Rgba{0, 255, 0, 255}; }));
        RegisterPng(802, MakePng(24, 20, true, [](int, int) { return Rgba{0, 0, 255, 255}; }));
        RegisterPng(804, MakePng(20, 20, true, [](int, int) { return Rgba{0, 0, 255, 255}; }));
        RegisterPng(805, MakePng(20, 20, true, [](int, int) { return Rgba{255, 0, 0, 255}; }));
        // Column x of the title strip says where it came from: red x mod 256, green 40 per 256 columns.
        RegisterPng(803, MakePng(1250, 32, false, [](int x, int) {
                        return Rgba{static_cast<std::uint8_t>(x & 0xFF),
                                    static_cast<std::uint8_t>(40 * (x >> 8)), 9, 255};
                    }));
        SkinDocument::Instance().LoadDocumentFromBytes(kSkin, sizeof kSkin - 1);
    }
    ~SkinWindowTest() override { platform::SetClock(nullptr); }

    template <typename Window>
    void Make(Window& window, DWORD exStyle = kExStyle) {
        ASSERT_TRUE(window.Create(nullptr, exStyle, kStyle));
        window.Show(TRUE);
        PumpUntilIdle();
    }
    static RECT Rect(const CWnd& wnd) {
        RECT rect;
        wnd.GetWindowRect(&rect);
        return rect;
    }
    // A press at a client point, then a pointer move by (30, 20) and the release.
    void Drag(CWnd& window, POINT client) {
        clock.Advance(1000);  // never a double-click with the press before
        const POINT at = ScreenPoint(window.m_hWnd, client);
        PressLeft(window.m_hWnd, at);
        MoveMouse(window.m_hWnd, POINT{at.x + 30, at.y + 20});
        ReleaseLeft(window.m_hWnd, POINT{at.x + 30, at.y + 20});
        PumpUntilIdle();
    }

    platform::ManualClock clock;
};

}  // namespace

TEST_F(SkinWindowTest, TheBuildCentresTheWindowInTheWorkAreaAndTogglesTheLayeredBit) {
    Layered launcher(L"MAINWND");
    Make(launcher);
    EXPECT_EQ(Rect(launcher).left, 440);
    EXPECT_EQ(Rect(launcher).top, 233);
    EXPECT_EQ(Rect(launcher).right, 440 + 1039);
    EXPECT_NE(launcher.GetExStyle() & WS_EX_LAYERED, 0u);
    EXPECT_TRUE(Backend().WindowOf(launcher.m_hWnd)->layered);
    EXPECT_EQ(launcher.GetWindowText(), L"Launcher");
    EXPECT_EQ(Backend().WindowOf(launcher.m_hWnd)->icon, 128);

    Layered already(L"MAINWND");
    Make(already, kExStyle | WS_EX_LAYERED);
    EXPECT_EQ(already.GetExStyle() & WS_EX_LAYERED, 0u) << "toggled, not set";
    EXPECT_FALSE(Backend().WindowOf(already.m_hWnd)->layered);

    Framed game(L"GAMEWND");
    Make(game);
    EXPECT_EQ(game.GetExStyle() & WS_EX_LAYERED, 0u);
    EXPECT_EQ(game.GetWindowText().rfind(L"\u661F\u6D77\u7EAA\u5143 Ver ", 0), 0u) << "the product caption";
    EXPECT_GE(launcher.m_buttons[0]->GetDlgCtrlID(), 10000);
    EXPECT_EQ(already.m_buttons[0]->GetDlgCtrlID(), launcher.m_buttons[0]->GetDlgCtrlID() + 1)
        << "one counter for the whole family";
}

TEST_F(SkinWindowTest, ThePressThatDragsIsAnywhereOnTheLayeredWindowAndInTheTitleStripOfTheFramedOne) {
    Layered launcher(L"MAINWND");
    Make(launcher);
    Drag(launcher, POINT{500, 400});
    EXPECT_EQ(Rect(launcher).left, 470);
    EXPECT_EQ(Rect(launcher).top, 253);

    Framed game(L"GAMEWND");
    Make(game);
    struct Case {
        BOOL movable;
        int y;
        bool moves;
    };
    for (const Case& c : {Case{TRUE, 50, true}, Case{TRUE, 51, false}, Case{FALSE, 10, false}}) {
        game.m_bMovable = c.movable;
        const RECT before = Rect(game);
        Drag(game, POINT{600, c.y});
        EXPECT_EQ(Rect(game).left - before.left, c.moves ? 30 : 0)
            << "press at y " << c.y << ", movable " << c.movable;
    }
}

TEST_F(SkinWindowTest, ACloseRequestClicksTheCloseButtonOrDoesNothing) {
    Layered launcher(L"MAINWND");
    Framed game(L"GAMEWND");
    Layered bare(L"OTHER");
    Make(launcher);
    Make(game);
    Make(bare);
    for (CWnd* window :
         {static_cast<CWnd*>(&launcher), static_cast<CWnd*>(&game), static_cast<CWnd*>(&bare)}) {
        window->PostMessage(WM_CLOSE);
    }
    PumpUntilIdle();
    EXPECT_EQ(launcher.clicked, std::vector<std::wstring>{L"close"});
    EXPECT_EQ(game.clicked, std::vector<std::wstring>{L"close"});
    EXPECT_TRUE(platform::IsWindow(launcher.m_hWnd) && platform::IsWindow(game.m_hWnd) &&
                platform::IsWindow(bare.m_hWnd))
        << "no window goes on a close request";
}

TEST_F(SkinWindowTest, OnlyClicksOfItsOwnButtonsReachOnSkinButton) {
    Layered launcher(L"MAINWND");
    Layered other(L"MAINWND");
    Make(launcher);
    Make(other);
    const WORD own = static_cast<WORD>(launcher.m_buttons[0]->GetDlgCtrlID());
    const WORD foreign = static_cast<WORD>(other.m_buttons[0]->GetDlgCtrlID());
    for (WPARAM command : {MAKEWPARAM(foreign, BN_CLICKED), MAKEWPARAM(9999, BN_CLICKED),
                           MAKEWPARAM(20000, BN_CLICKED), MAKEWPARAM(own, 1)}) {
        launcher.SendMessage(WM_COMMAND, command, 0);
    }
    EXPECT_TRUE(launcher.clicked.empty());
    launcher.SendMessage(WM_COMMAND, MAKEWPARAM(own, BN_CLICKED), 0);
    EXPECT_EQ(launcher.clicked, std::vector<std::wstring>{L"close"});
}

TEST_F(SkinWindowTest, LimitsAreTheWorkAreaAndTheFramedWindowsSkinSize) {
    Framed game(L"GAMEWND");
    Make(game);
    MINMAXINFO info{};
    game.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 1250);
    EXPECT_EQ(info.ptMinTrackSize.y, 690);
    EXPECT_EQ(info.ptMaxSize.x, 1920);
    EXPECT_EQ(info.ptMaxTrackSize.y, 1040);
}

TEST_F(SkinWindowTest, ShowRestoresAMinimisedWindowAndComposingLeavesTheNormalBandAsItIs) {
    Layered launcher(L"MAINWND");
    Layered other(L"OTHER");
    Make(launcher);
    Make(other);
    launcher.ShowWindow(SW_MINIMIZE);
    EXPECT_TRUE(launcher.m_bMinimized);
    launcher.Show(TRUE);
    EXPECT_FALSE(launcher.IsIconic());
    EXPECT_FALSE(launcher.m_bMinimized);

    other.BringWindowToTop();
    launcher.Compose();
    EXPECT_EQ(Backend().stacking.back(), other.Native()) << "a composition does not raise the window";
    launcher.SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    launcher.Compose();
    other.BringWindowToTop();
    EXPECT_EQ(Backend().stacking.back(), other.Native()) << "it returned the window to the normal band";
}

TEST_F(SkinWindowTest, TheLayeredPictureHoldsTheVisibleImagesAndNothingElse) {
    Layered launcher(L"MAINWND");
    Make(launcher);
    auto pixel = [&](int x, int y) { return launcher.Picture().Pixel(x, y); };
    EXPECT_EQ(pixel(500, 50), 0xFFFF0000u) << "the background, stretched to its declared size";
    EXPECT_EQ(pixel(1039 - 5 - 12, 12), 0xFF0000FFu) << "the close button, anchored top right";
    EXPECT_EQ(pixel(15, 115), kGreen);
    EXPECT_EQ(pixel(105, 495), kGreen) << "declared height 300 with the image's own width";
    EXPECT_EQ(pixel(125, 300), 0u) << "beyond the image's own width";
    EXPECT_EQ(pixel(500, 300), 0u) << "no image here: fully transparent";
    for (int y = 200; y < 260; ++y) {
        for (int x = 200; x < 300; ++x) {
            ASSERT_EQ(pixel(x, y), 0u) << "a text with an unknown font or no title draws nothing";
        }
    }
    launcher.SetImageVisible(L"SPOT", FALSE);
    launcher.Compose();
    EXPECT_EQ(pixel(15, 115), 0u);
    EXPECT_EQ(pixel(45, 115), 0u) << "both images of that name";
    EXPECT_EQ(pixel(105, 300), kGreen) << "another name stays";
}

TEST_F(SkinWindowTest, TheTitleStripSpansTheWidthWithItsEndsUnscaledAndTheTitleFollowsTheMissingLogo) {
    Framed game(L"GAMEWND");
    Make(game);
    auto column = [&](int x) {
        const std::uint32_t p = game.Picture().Pixel(x, 26);  // below the close button
        return static_cast<int>((p >> 16) & 0xFF) + 256 * static_cast<int>(((p >> 8) & 0xFF) / 40);
    };
    for (int width : {1250, 1400, 1920}) {
        game.MoveWindow(0, 0, width, 700);
        game.Invalidate();
        PumpUntilIdle();
        const int right = width - 10;
        EXPECT_EQ(column(3), 3) << width;
        EXPECT_EQ(column(119), 119) << "the left column, unscaled, at " << width;
        EXPECT_EQ(column(right + 4), 1244) << "the right column, unscaled, at " << width;
        if (width == 1250) {
            for (int x = 60; x < 1250; x += 7) {  // right of the title
                ASSERT_EQ(column(x), x) << "copied 1:1 at its own width";
            }
        }
        EXPECT_EQ(game.Picture().Pixel(width - 1, 600) & 0xFFFFFF, 0xFFFFFFu)
            << "the background colour below";
    }
    // No logo file: the title starts at X = 6 in the 50-pixel title bar.
    int first = -1;
    for (int x = 0; x < 40 && first < 0; ++x) {
        for (int y = 0; y < 50; ++y) {
            const std::uint32_t p = game.Picture().Pixel(x, y);
            if (((p >> 16) & 0xFF) > 128 && ((p >> 8) & 0xFF) > 128 && (p & 0xFF) < 100) {
                first = x;
                break;
            }
        }
    }
    EXPECT_GE(first, 6);
    EXPECT_LE(first, 9);
}

TEST_F(SkinWindowTest, FramedImagesFollowTheWindowsSizeByTheirStretchMode) {
    Framed window(L"STRETCHED");
    Make(window);
    window.MoveWindow(0, 0, 500, 400);
    PumpUntilIdle();
    auto pixel = [&](int x, int y) { return window.Picture().Pixel(x, y) & 0xFFFFFF; };
    EXPECT_EQ(pixel(15, 15), 0x00FF00u) << "mode 0: its own size";
    EXPECT_EQ(pixel(35, 15), 0xFFFFFFu);
    EXPECT_EQ(pixel(55, 399), 0x0000FFu) << "mode 2: the window's height";
    EXPECT_EQ(pixel(75, 10), 0xFFFFFFu) << "and its own width";
    EXPECT_EQ(pixel(499, 399), 0xFF0000u) << "mode 3: both, from its place";
    EXPECT_EQ(pixel(99, 150), 0xFFFFFFu);
}

TEST_F(SkinWindowTest, ALogoBesideTheProgramComesBeforeTheTitle) {
    UserEnvironment user;  // a program folder of its own
    std::ofstream(user.ProgramFolder() + "/logo.png", std::ios::binary)
        << MakePng(24, 30, true, [](int, int) {
               return Rgba{0, 255, 255, 255};
           });
    std::string skin = kSkin;
    skin.replace(skin.find("no/such/logo.png"), std::string("no/such/logo.png").size(), "logo.png");
    SkinDocument::Instance().LoadDocumentFromBytes(skin.data(), skin.size());
    Framed game(L"GAMEWND");
    Make(game);
    EXPECT_EQ(game.Picture().Pixel(4, 12) & 0xFFFFFF, 0x00FFFFu)
        << "at x 3, centred in the 50-pixel title bar";
    EXPECT_NE(game.Picture().Pixel(4, 9) & 0xFFFFFF, 0x00FFFFu) << "its 30 rows are 10 to 39";
    EXPECT_EQ(game.Picture().Pixel(4, 39) & 0xFFFFFF, 0x00FFFFu);
    EXPECT_NE(game.Picture().Pixel(4, 40) & 0xFFFFFF, 0x00FFFFu);
    int first = -1;
    for (int x = 27; x < 80 && first < 0; ++x) {
        for (int y = 0; y < 50; ++y) {
            const std::uint32_t p = game.Picture().Pixel(x, y);
            if (((p >> 16) & 0xFF) > 128 && ((p >> 8) & 0xFF) > 128 && (p & 0xFF) < 100) {
                first = x;
                break;
            }
        }
    }
    EXPECT_GE(first, 30) << "the title starts 3 pixels after the logo";
    EXPECT_LE(first, 33);
}
