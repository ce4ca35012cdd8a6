// The launcher and the game window of the demo build on a real X server with a compositor, the real
// engine and the demo operator site: the portal over the launcher's "ie" as it is dragged, the game
// window resized from an edge and a corner with the browser following, and the "cache" button making
// the game fetch its files again where "refresh" does not. Pictures go to the build folder
// (launcher-portal.png, game-window-playing.png).
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <optional>

#include "BrowserTestKit.h"
#include "DemoSiteGtkTest.h"
#include "DesktopProgram.h"
#include "GtkFixture.h"
#include "UserEnvironment.h"
#include "Xdotool.h"
#include "browser/FrameLink.h"
#include "config/ClientConfig.h"
#include "platform/gtk/gtk_backend.h"
#include "platform/gtk/gtk_browser.h"
#include "platform/ui/window_system.h"
#include "skin/SkinDocument.h"
#include "support/DemoSiteRunner.h"
#include "support/FakeFrameLink.h"
#include "windows/GameWnd.h"
#include "windows/HtmlWnd.h"

// Last: its X11 headers define macros that clash with names in the headers above.
#include <gdk/gdkx.h>

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX;

// The frame as far as the windows need it: a signed game URL that differs at every request.
unsigned long XidOf(const CWnd& wnd) {
    GtkWidget* window = platform::gtk::GtkWindowOf(wnd.m_hWnd);
    GdkWindow* native = window != nullptr ? gtk_widget_get_window(window) : nullptr;
    return native != nullptr ? gdk_x11_window_get_xid(native) : 0;
}

WindowRect ScreenRect(const RECT& r) {
    return WindowRect{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

class GtkWindowsTest : public DemoSiteGtkTest {
protected:
    void SetUp() override {
        DemoSiteGtkTest::SetUp();
        compositor.emplace(DesktopProgram::Compositor());
    }
    static bool Loaded(CIEView& view, const std::wstring& url) {
        return TurnUntil(
            [&] { return view.GetLocationURL() == url && !webkit_web_view_is_loading(Engine(view)); },
            std::chrono::seconds(20));
    }
    static RECT Rect(const CWnd& wnd) {
        RECT rect{};
        wnd.GetWindowRect(&rect);
        return rect;
    }

    std::optional<DesktopProgram> compositor;
};

}  // namespace

TEST_F(GtkWindowsTest, ThePortalCoversTheLaunchersIeAndStaysOverItWhileItIsDragged) {
    CHtmlWnd launcher;
    ASSERT_TRUE(launcher.Create(nullptr, WS_EX_APPWINDOW, kStyle));
    CIEWnd& popup = *launcher.GetBrowserHost();
    popup.GetView().Navigate(Demo("/"));
    launcher.Show(TRUE);
    ASSERT_TRUE(Loaded(popup.GetView(), Demo("/")));
    SkinRectDef ie;
    ASSERT_TRUE(launcher.FindRect(L"ie", ie));
    const auto placed = [&] {
        RECT expected = ie.rect;
        launcher.ClientToScreen(&expected);
        return WindowGeometry(XidOf(popup)) == ScreenRect(expected);
    };
    const auto onTop = [&] {
        const std::vector<unsigned long> order = StackingOrder();
        for (std::size_t i = 0; i + 1 < order.size(); ++i) {
            if (order[i] == XidOf(launcher)) {
                return order[i + 1] == XidOf(popup);
            }
        }
        return false;
    };
    EXPECT_TRUE(TurnUntil(placed)) << "over \"ie\" on the screen";
    EXPECT_TRUE(TurnUntil(onTop)) << "directly above the launcher";
    // The page has drawn (an empty page is white) before a person looks at it.
    RECT middle{};
    popup.GetWindowRect(&middle);
    EXPECT_TRUE(TurnUntil([&] {
        const uint32_t shown =
            TakeScreenshot().Pixel((middle.left + middle.right) / 2, (middle.top + middle.bottom) / 2);
        return !Near(shown, 0xFFFFFF, 8);
    }));
    EXPECT_TRUE(KeepScreenshotOf(launcher, std::string(SCREENSHOT_DIR) + "/launcher-portal.png"));

    const RECT start = Rect(launcher);
    EXPECT_TRUE(DragWithPointer(POINT{start.left + 150, start.top + 300},
                                POINT{start.left + 90, start.top + 260},
                                [&] { return Rect(launcher).left == start.left - 60 && placed(); }))
        << "the popup follows the drag";
    EXPECT_TRUE(TurnUntil(placed));
    EXPECT_TRUE(onTop());
}

TEST_F(GtkWindowsTest, TheGameWindowResizesFromAnEdgeAndACornerWithTheBrowserFollowing) {
    CGameWnd game;
    ASSERT_TRUE(game.Create(nullptr, WS_EX_APPWINDOW, kStyle));
    frame.game = game.m_hWnd;
    game.m_view.Navigate(Demo("/game?server=1&wd_entergame=1"));
    game.Show(TRUE);
    ASSERT_TRUE(Loaded(game.m_view, Demo("/game?server=1&wd_entergame=1")));
    GtkWidget* browser = reinterpret_cast<GtkWidget*>(game.m_view.GetBrowser()->Widget());
    const auto browserFills = [&] {
        const RECT rect = Rect(game);
        // The skin's "ie" stretches both ways: a 2-pixel frame and the 32-pixel title strip stay.
        return gtk_widget_get_allocated_width(browser) == rect.right - rect.left - 4 &&
               gtk_widget_get_allocated_height(browser) == rect.bottom - rect.top - 34;
    };
    ASSERT_TRUE(TurnUntil(browserFills));
    EXPECT_TRUE(KeepScreenshotOf(game, std::string(SCREENSHOT_DIR) + "/game-window-playing.png"));
    // It may only grow (the skin's size is its least), and the pointer stays on the 1280 x 1024 screen.
    game.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    const RECT start = Rect(game);
    const POINT edge{start.right - 1, start.top + 300};
    auto hover = Xdotool::Start({"mousemove", std::to_string(edge.x), std::to_string(edge.y)});
    ASSERT_TRUE(hover->Wait(std::chrono::seconds(5), Turn));
    ASSERT_TRUE(TurnUntil([&] { return game.m_nHitCode == HTRIGHT; }));
    EXPECT_TRUE(DragWithPointer(edge, POINT{edge.x + 15, edge.y}, [&] {
        return Rect(game).right == start.right + 15;
    })) << "wider from its right edge";
    EXPECT_TRUE(TurnUntil(browserFills)) << "the browser follows";

    const RECT wider = Rect(game);
    const POINT corner{wider.right - 2, wider.bottom - 2};
    hover = Xdotool::Start({"mousemove", std::to_string(corner.x), std::to_string(corner.y)});
    ASSERT_TRUE(hover->Wait(std::chrono::seconds(5), Turn));
    ASSERT_TRUE(TurnUntil([&] { return game.m_nHitCode == HTBOTTOMRIGHT; }));
    EXPECT_TRUE(DragWithPointer(corner, POINT{corner.x + 10, corner.y + 30}, [&] {
        return Rect(game).right == wider.right + 10 && Rect(game).bottom == wider.bottom + 30;
    })) << "larger from its corner";
    EXPECT_TRUE(TurnUntil(browserFills)) << "the browser follows";
    EXPECT_EQ(Rect(game).left, start.left) << "the other edges stay";
}

TEST_F(GtkWindowsTest, TheCacheButtonMakesTheGameFetchItsFilesAgainWhereRefreshDoesNot) {
    CGameWnd game;
    ASSERT_TRUE(game.Create(nullptr, WS_EX_APPWINDOW, kStyle));
    frame.game = game.m_hWnd;
    const std::wstring gameUrl = Demo("/game?server=1&wd_entergame=1");
    frame.gameUrl = [&](GameUrlReason) { return gameUrl + L"&t=" + std::to_wstring(frame.fetches); };
    game.m_view.Navigate(gameUrl);
    game.Show(TRUE);
    ASSERT_TRUE(Loaded(game.m_view, gameUrl));
    const std::string script = "GET /js/game.js 200";
    const int first = site->Log().Count(script);  // 1, or 0 when an earlier test in this process cached it
    const auto press = [&](const wchar_t* name) {
        game.PostMessage(WM_COMMAND, MAKEWPARAM(game.FindButton(name)->GetDlgCtrlID(), BN_CLICKED), 0);
        const int asked = frame.fetches;
        return TurnUntil([&] { return frame.fetches >= asked + 2; }) &&
               Loaded(game.m_view, gameUrl + L"&t=" + std::to_wstring(frame.fetches));
    };
    // The engine lists a file in its disk cache a moment after it wrote it; a removal takes what is listed.
    const auto written = [&] {
        return TurnUntil([&] { return EngineDiskCacheHolds(Engine(game.m_view), "127.0.0.1"); },
                         std::chrono::seconds(15));
    };
    ASSERT_TRUE(written());
    ASSERT_TRUE(press(L"cache"));
    EXPECT_EQ(site->Log().Count(script), first + 1) << "fetched again after the cache was cleared";
    ASSERT_TRUE(written());
    ASSERT_TRUE(press(L"refresh"));
    EXPECT_EQ(site->Log().Count(script), first + 1) << "refresh loads the game anew from the cache";
}
