// The client's browser view on the real engine, with the demo operator site and a fake frame: the
// portal in the launcher's popup, entering the game from it and from a frame, the game page naming its
// server to the game window, and the engine's same-origin rule.
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <optional>

#include "BrowserTestKit.h"
#include "DemoSiteGtkTest.h"
#include "GtkFixture.h"
#include "UserEnvironment.h"
#include "browser/ClientMessages.h"
#include "browser/FrameLink.h"
#include "browser/IEWnd.h"
#include "config/ClientConfig.h"
#include "platform/gtk/gtk_browser.h"
#include "support/DemoSiteRunner.h"
#include "support/FakeFrameLink.h"

namespace {

// A window that keeps the names its game page gives it.
class GameHost : public ColourWnd {
public:
    std::vector<std::string> names;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_GS_NAME) {
            names.push_back(platform::WideToUtf8(reinterpret_cast<const wchar_t*>(lParam)));
        }
        return ColourWnd::WindowProc(message, wParam, lParam);
    }
};

class GtkViewTest : public DemoSiteGtkTest {
protected:
    static bool ShowsLocation(CIEView& view, const std::wstring& url) {
        return TurnUntil([&] { return view.GetLocationURL() == url; }, std::chrono::seconds(15));
    }
    // The launcher's popup over a window, showing `url`.
    void OpenPopup(CIEWnd& popup, const std::wstring& url) {
        ASSERT_TRUE(owner.CreateTop(RECT{40, 40, 1040, 640}));
        ASSERT_TRUE(popup.Create(owner.m_hWnd, 0, WS_POPUP));
        popup.SetWindowPos(nullptr, 40, 40, 1000, 600, SWP_NOZORDER | SWP_SHOWWINDOW);
        popup.GetView().Navigate(url);
        ASSERT_TRUE(ShowsLocation(popup.GetView(), url));
        ASSERT_TRUE(TurnUntil([&] { return !webkit_web_view_is_loading(Engine(popup.GetView())); },
                              std::chrono::seconds(15)));
    }

    ColourWnd owner;
};

}  // namespace

TEST_F(GtkViewTest, ThePortalsEnterLinkEntersTheGameAndLeavesThePortalShown) {
    CIEWnd popup;
    OpenPopup(popup, Demo("/"));
    // The page has drawn (neither its owner's red nor an empty page's white) before a person looks at it.
    ASSERT_TRUE(TurnUntil([] {
        const uint32_t shown = TakeScreenshot().Pixel(540, 340);
        return !Near(shown, Rgb(RGB(200, 40, 40)), 8) && !Near(shown, 0xFFFFFF, 8);
    }));
    TakeScreenshot().SavePng(std::string(SCREENSHOT_DIR) + "/portal-view.png");
    EXPECT_EQ(EvalInPage(Engine(popup.GetView()), "document.querySelector('a.enter').click(); 'clicked'"),
              "clicked");
    const std::string game = "http://127.0.0.1:" + std::to_string(port) + "/game?server=1&wd_entergame=1";
    ASSERT_TRUE(TurnUntil([&] { return !frame.Entered().empty(); }));
    EXPECT_EQ(frame.Entered(), std::vector<std::string>{game});
    EXPECT_EQ(popup.GetView().GetLocationURL(), Demo("/")) << "the link itself was cancelled";
}

TEST_F(GtkViewTest, AGameLinkInsideAFrameEntersTheGameToo) {
    TestSite pages;
    CIEWnd popup;
    OpenPopup(popup, pages.Url("/framed-game"));
    ASSERT_TRUE(TurnUntil([&] { return !frame.Entered().empty(); }, std::chrono::seconds(15)));
    EXPECT_EQ(frame.Entered(),
              std::vector<std::string>{platform::WideToUtf8(pages.Url("/b?wd_entergame=1"))});
    EXPECT_FALSE(pages.Asked("/b")) << "the frame's game page was never fetched";
}

TEST_F(GtkViewTest, TheGamePageNamesItsServerToTheGameWindowWithinItsCall) {
    GameHost game;
    ASSERT_TRUE(game.CreateTop(RECT{60, 60, 1060, 700}));
    frame.game = game.m_hWnd;
    CIEView view;
    view.CreateInHost(&game);
    view.MoveWindow(0, 0, 1000, 640);
    view.Navigate(Demo("/game?server=2&wd_entergame=1"));
    ASSERT_TRUE(TurnUntil([&] { return !game.names.empty(); }, std::chrono::seconds(15)));
    EXPECT_EQ(game.names, std::vector<std::string>{"星海二区"});
    EXPECT_TRUE(frame.Entered().empty()) << "a game page in the game window loads in place";
    // The page's next line sees what the window did with the call: here, that it was heard.
    EXPECT_EQ(EvalInPage(Engine(view), "window.external.getGsName('银河三区'); 'after'"), "after");
    EXPECT_EQ(game.names.back(), "银河三区");
    view.DestroyWindow();
}

TEST_F(GtkViewTest, APageCannotReadAnotherSitesData) {
    TestSite pages;
    CIEWnd popup;
    OpenPopup(popup, pages.Url("/b"));
    const std::string other = platform::WideToUtf8(pages.Url("/a", "localhost"));
    EXPECT_EQ(EvalInPage(Engine(popup.GetView()),
                         "var x = new XMLHttpRequest(); try { x.open('GET', '" + other +
                             "', false); x.send(); 'read: ' + x.responseText } catch (e) { 'refused' }"),
              "refused");
}
