// The browser view on the headless backend with a fake frame: the app:// commands, the game and login
// tests in their order, new windows, the sentinel in either host, the external object and title changes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser/ClientMessages.h"
#include "browser/FrameLink.h"
#include "browser/IEView.h"
#include "browser/IEWnd.h"
#include "config/ClientConfig.h"
#include "platform/base/text.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_browser.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/win_api.h"
#include "platform/ui/window_system.h"
#include "support/ClientTest.h"
#include "support/FakeFrameLink.h"

using platform::ExternalValue;
using platform::PumpUntilIdle;
using Lines = std::vector<std::string>;

namespace {

// A top-level window that keeps the client's messages it gets, with the text of those that carry one.
class Host : public CWnd {
public:
    Lines seen;

    bool Make() { return CreateEx(0, L"TestHost", L"", WS_POPUP, 0, 0, 800, 600, nullptr, 0) != FALSE; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_GS_NAME || message == WM_VIEW_TITLE) {
            seen.push_back((message == WM_GS_NAME ? "name " : "title ") +
                           platform::WideToUtf8(reinterpret_cast<const wchar_t*>(lParam)));
        } else if (message == WM_NEW_MSG) {
            seen.push_back("new message");
        } else if (message == WM_GAME_CLOSED) {
            seen.push_back("game closed");
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class BrowserViewTest : public ClientTest {
protected:
    BrowserViewTest() {
        platform::RegisterWindowClass(L"TestHost", CS_DBLCLKS);
        Configure("game.velmora.test", "login=1");
        SetFrameLink(&frame);
        frameWindow.Make();
        frame.frameWnd = frameWindow.m_hWnd;
        launcherHost.Make();
        gameHost.Make();
    }
    ~BrowserViewTest() override { SetFrameLink(nullptr); }
    void Configure(const std::string& gameCheck, const std::string& loginCheck) {
        const std::string xml =
            "<CLIENTCONFIG><C gameCheck='" + gameCheck + "' loginCheck='" + loginCheck + "'/></CLIENTCONFIG>";
        ClientConfig::Instance().LoadDocumentFromBytes(xml.data(), xml.size());
    }
    // A view made in `host` as the hosts make it, with its scripted control.
    platform::headless::ScriptedBrowser* MakeView(CIEView& view, Host& host) {
        view.CreateInHost(&host);
        return platform::headless::LastBrowser();
    }

    FakeFrameLink frame;
    Host frameWindow;
    Host launcherHost;
    Host gameHost;
};

}  // namespace

TEST_F(BrowserViewTest, AppCommandsAndTheGameAndLoginTestsRunInTheirOrder) {
    const struct {
        const char* url;
        bool launcher;
        bool inGameWindow;
        bool loads;
        Lines calls;
    } cases[] = {
        {"http://portal/?go=APP://Minimize|now", true, false, false, {"hide"}},
        {"app://minimize|", false, false, true, {}},  // no launcher: on to the later tests
        {"app://minimize", true, false, true, {}},    // without its bar it is no command
        {"app://exitgame|", true, false, false, {"exit question"}},
        {"app://exitgame|", false, false, true, {}},
        {"app://loadgame|http://Game.velmora.test/Play?ID=7",
         true,
         false,
         false,
         {"enter http://Game.velmora.test/Play?ID=7"}},
        {"APP://LOADGAME|http://portal/other", true, false, true, {}},  // no game URL after the bar
        {"app://loadgame/game.velmora.test", true, false, false, {"enter app://loadgame/game.velmora.test"}},
        {"http://game.velmora.test/next", true, true, true, {}},  // followed inside the game window
        {"http://GAME.velmora.test/", true, false, false, {"enter http://GAME.velmora.test/"}},
        {"http://portal/?login=1", true, false, true, {"choose"}},
        {"login=1&from=portal", true, false, true, {}},  // at the very start: no login
        {"http://portal/?login=1", false, false, true, {}},
    };
    for (const auto& c : cases) {
        frame.launcher = c.launcher;
        frame.game = gameHost.m_hWnd;
        frame.calls.clear();
        CIEView view;
        auto* browser = MakeView(view, c.inGameWindow ? gameHost : launcherHost);
        const std::wstring url = platform::Utf8ToWide(c.url);
        browser->FollowLink(url);
        EXPECT_EQ(browser->LocationUrl() == url, c.loads) << c.url;
        EXPECT_EQ(frame.calls, c.calls) << c.url;
        view.DestroyWindow();
    }
}

TEST_F(BrowserViewTest, TheGameMarkerIsComparedWithTheLowerCasedUrlOnly) {
    const struct {
        const char* gameCheck;
        const char* loginCheck;
        const char* url;
        Lines calls;
    } cases[] = {
        {"Game.velmora", "login", "http://game.velmora.test/", {}},  // upper case never matches
        {"", "login", "http://anything/", {"enter http://anything/"}},
        {"game", "", "http://portal/?login", {}},
    };
    for (const auto& c : cases) {
        Configure(c.gameCheck, c.loginCheck);
        frame.calls.clear();
        CIEView view;
        MakeView(view, launcherHost)->FollowLink(platform::Utf8ToWide(c.url));
        EXPECT_EQ(frame.calls, c.calls) << c.gameCheck << " " << c.url;
        view.DestroyWindow();
    }
}

TEST_F(BrowserViewTest, ANewWindowForAGameEntersItAndAnyOtherOpensElsewhere) {
    frame.game = gameHost.m_hWnd;
    CIEView launcherView;
    auto* browser = MakeView(launcherView, launcherHost);
    browser->OpenWindow(L"http://Game.velmora.test/x");
    browser->OpenWindow(L"http://portal/news");
    EXPECT_EQ(frame.calls, Lines{"enter http://Game.velmora.test/x"});
    EXPECT_EQ(browser->openedElsewhere, std::vector<std::wstring>{L"http://portal/news"});

    CIEView gameView;
    auto* inGame = MakeView(gameView, gameHost);
    inGame->OpenWindow(L"http://game.velmora.test/y");
    EXPECT_EQ(inGame->openedElsewhere, std::vector<std::wstring>{L"http://game.velmora.test/y"});
}

TEST_F(BrowserViewTest, TheSentinelLeavesTheGameOnlyInTheGameWindow) {
    frame.game = gameHost.m_hWnd;
    CIEView launcherView;
    MakeView(launcherView, launcherHost);
    launcherView.Navigate(L"about:blank3");
    PumpUntilIdle();
    EXPECT_TRUE(frame.calls.empty());
    EXPECT_TRUE(frameWindow.seen.empty());

    CIEView gameView;
    MakeView(gameView, gameHost);
    gameView.Navigate(L"about:blank3?closing");
    PumpUntilIdle();
    EXPECT_EQ(frame.calls, Lines{"leave"});
    EXPECT_EQ(frameWindow.seen, Lines{"game closed"}) << "posted once the page is complete";
}

TEST_F(BrowserViewTest, ExternalCallsReachTheCurrentGameWindowOrNothing) {
    CIEView view;
    auto* browser = MakeView(view, launcherHost);
    const auto call = [&](const wchar_t* name, std::vector<ExternalValue> args) {
        ExternalValue result;
        return browser->CallExternal(name, args, result);
    };
    EXPECT_TRUE(call(L"getGsName", {ExternalValue::String(L"no window")}))
        << "no game window: lost, no error";
    EXPECT_TRUE(call(L"GETNEWMSG", {}));
    frame.game = gameHost.m_hWnd;
    EXPECT_TRUE(call(L"getGsName", {ExternalValue::String(L"星海一区")}));
    EXPECT_TRUE(call(L"getNewMsg", {ExternalValue::String(L"ignored")}));
    EXPECT_EQ(gameHost.seen, (Lines{"name 星海一区", "new message"}));

    const struct {
        const wchar_t* name;
        std::vector<ExternalValue> args;
        bool succeeds;
    } cases[] = {
        {L"Invoke_Client", {ExternalValue::String(L"pay"), ExternalValue::Null()}, false},
        {L"Invoke_Client", {ExternalValue::String(L"pay")}, false},
        {L"invoke_client", {ExternalValue::String(L"pay"), ExternalValue::Object()}, true},
        {L"getGsName", {}, false},
        {L"getGsName", {ExternalValue::Number(3)}, false},
        {L"DocumentComplete", {ExternalValue::Object()}, false},
        {L"BeforeNavigate2", {ExternalValue::Object(), ExternalValue::Number(1)}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(call(c.name, c.args), c.succeeds) << platform::WideToUtf8(c.name) << " " << c.args.size();
    }
}

TEST_F(BrowserViewTest, APageReflectsNavigationsAndTitlesReachTheHost) {
    CIEView view;
    auto* browser = MakeView(view, launcherHost);
    ExternalValue cancel;
    ASSERT_TRUE(browser->CallExternal(
        L"BeforeNavigate2",
        {ExternalValue::Object(), ExternalValue::String(L"http://portal/app://minimize|")}, cancel));
    EXPECT_TRUE(cancel.boolean);
    EXPECT_EQ(frame.calls, Lines{"hide"});
    ASSERT_TRUE(browser->CallExternal(
        L"BeforeNavigate2", {ExternalValue::Object(), ExternalValue::String(L"http://portal/")}, cancel));
    EXPECT_FALSE(cancel.boolean);

    browser->SetTitle(L"星海纪元");
    EXPECT_EQ(launcherHost.seen, Lines{"title 星海纪元"}) << "sent though no host acts on it";
}

TEST_F(BrowserViewTest, ThePopupHostMakesItsViewAndKeepsItFillingIt) {
    CIEWnd popup;
    ASSERT_TRUE(popup.Create(launcherHost.m_hWnd, 0, WS_POPUP));
    CIEView& view = popup.GetView();
    ASSERT_NE(view.m_hWnd, nullptr);
    EXPECT_NE(view.GetBrowser(), nullptr);
    EXPECT_EQ(view.GetDlgCtrlID(), 131);
    EXPECT_EQ(view.GetStyle() & (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS),
              WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
    popup.MoveWindow(10, 20, 640, 480);
    RECT rect{};
    view.GetWindowRect(&rect);
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.right - rect.left, 640);
    EXPECT_EQ(rect.bottom - rect.top, 480);
    EXPECT_EQ(view.GetHostFlags(), 0x4000Cu);
}
