// The game window on the headless backend with a fake frame: its resize zones, the title double-click,
// maximise and restore, reloading, F5, leaving, and the "vip" button the page names and makes blink.
#include <gtest/gtest.h>

#include <deque>

#include "SkinTestSupport.h"
#include "browser/ClientMessages.h"
#include "browser/FrameLink.h"
#include "config/ClientConfig.h"
#include "platform/base/clock.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_browser.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/win_api.h"
#include "platform/ui/window_system.h"
#include "skin/SkinDocument.h"
#include "support/ClientTest.h"
#include "support/FakeFrameLink.h"
#include "windows/GameWnd.h"

using namespace platform::headless;
using platform::PumpUntilIdle;

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX;

std::string Skin(int border, bool vip) {
    return "<S><GAMEWND width='1250' height='690' titleHeight='32' border='" + std::to_string(border) +
           "' title='Game'><RECT name='ie' left='2' top='32' width='1246' height='656' strech='3'/>"
           "<BTN name='close' stand='802' left='3' top='1' align='TopRight'/>"
           "<BTN name='max' stand='802' left='30' top='1' align='TopRight'/>"
           "<BTN name='restore' stand='802' left='30' top='1' align='TopRight'/>"
           "<BTN name='refresh' stand='802' left='200' top='1'/><BTN name='cache' stand='802' left='230' "
           "top='1'/>" +
           std::string(vip ? "<BTN name='vip' stand='802' left='300' top='1'/>" : "") + "</GAMEWND></S>";
}

// Keeps the system commands instead of running them, and lets the test pre-translate.
class RecordingGameWnd : public CGameWnd {
public:
    std::vector<std::pair<WPARAM, LPARAM>> commands;
    using CGameWnd::PreTranslateMessage;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) != SC_MAXIMIZE && (wParam & 0xFFF0) != SC_RESTORE) {
            commands.emplace_back(wParam, lParam);
            return 0;
        }
        return CGameWnd::WindowProc(message, wParam, lParam);
    }
};

class GameWindowTest : public ClientTest {
protected:
    GameWindowTest() {
        RegisterPng(802, MakePng(24, 20, true, [](int, int) { return Rgba{0, 0, 255, 255}; }));
        const std::string config =
            "<CLIENTCONFIG><C userClientAbout='Demo' cache='game.test'/></CLIENTCONFIG>";
        ClientConfig::Instance().LoadDocumentFromBytes(config.data(), config.size());
        SetFrameLink(&frame);
    }
    ~GameWindowTest() override { SetFrameLink(nullptr); }
    ScriptedBrowser* Make(RecordingGameWnd& game, int border = 1, bool vip = true) {
        const std::string skin = Skin(border, vip);
        SkinDocument::Instance().LoadDocumentFromBytes(skin.data(), skin.size());
        EXPECT_TRUE(game.Create(nullptr, WS_EX_APPWINDOW, kStyle));
        ScriptedBrowser* browser = LastBrowser();
        frame.game = game.m_hWnd;  // game pages load in place
        game.Show(TRUE);
        PumpUntilIdle();
        return browser;
    }
    static void Press(CWnd& wnd, int x, int y) {
        wnd.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    }
    void ClickButton(CGameWnd& game, const wchar_t* name) {
        game.PostMessage(WM_COMMAND, MAKEWPARAM(game.FindButton(name)->GetDlgCtrlID(), BN_CLICKED), 0);
        PumpUntilIdle();
    }

    FakeFrameLink frame;
};

constexpr WPARAM kMove = SC_MOVE | HTCAPTION;

}  // namespace

TEST_F(GameWindowTest, APressResizesFromItsZoneAndMovesElsewhere) {
    const struct {
        int border;
        int x;
        int y;
        std::vector<WPARAM> sent;
    } cases[] = {
        // In the title strip (y <= 32) the window's own move follows whatever the press started.
        {0, 10, 10, {SC_SIZE + WMSZ_TOPLEFT, kMove}},  // the corner square reaches 10 in, border or not
        {0, 11, 10, {kMove, kMove}},
        {0, 1249, 689, {SC_SIZE + WMSZ_BOTTOMRIGHT}},
        {0, 1240, 11, {kMove, kMove}},  // with no border no edge is a zone
        {0, 1239, 0, {SC_SIZE + WMSZ_TOP, kMove}},
        {0, 0, 680, {SC_SIZE + WMSZ_BOTTOMLEFT}},
        {0, 0, 679, {SC_SIZE + WMSZ_LEFT}},
        {2, 2, 300, {SC_SIZE + WMSZ_LEFT}},
        {2, 3, 300, {kMove}},
        {2, 1248, 300, {SC_SIZE + WMSZ_RIGHT}},
        {2, 1247, 300, {kMove}},
        {2, 600, 688, {SC_SIZE + WMSZ_BOTTOM}},
        {2, 600, 687, {kMove}},
        {2, 600, 33, {kMove}},
    };
    for (const auto& c : cases) {
        RecordingGameWnd game;
        Make(game, c.border);
        Press(game, c.x, c.y);
        std::vector<WPARAM> sent;
        for (const auto& command : game.commands) {
            sent.push_back(command.first);
        }
        EXPECT_EQ(sent, c.sent) << "border " << c.border << " at " << c.x << "," << c.y;
        if (!game.commands.empty() && game.commands[0].first != kMove) {
            EXPECT_EQ(game.commands[0].second, MAKELPARAM(c.x, c.y));
        }
        game.DestroyWindow();
    }
}

TEST_F(GameWindowTest, TheTitleDoubleClickAndTheButtonsSwapMaximiseAndRestore) {
    RecordingGameWnd game;
    Make(game);
    EXPECT_FALSE(game.FindButton(L"restore")->IsWindowVisible()) << "hidden at creation";
    game.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(400, 33));
    EXPECT_EQ(game.m_bMaximized, 0) << "below the title strip";
    game.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(400, 32));
    EXPECT_EQ(game.m_bMaximized, 1);
    EXPECT_TRUE(game.IsZoomed());
    EXPECT_FALSE(game.m_bMovable);
    EXPECT_FALSE(game.FindButton(L"max")->IsWindowVisible());
    EXPECT_TRUE(game.FindButton(L"restore")->IsWindowVisible());
    RECT view{};
    game.m_view.GetWindowRect(&view);
    EXPECT_EQ(view.right - view.left, 1920 - 4) << "the browser follows, its frame kept";

    ClickButton(game, L"restore");
    EXPECT_EQ(game.m_bMaximized, 0);
    EXPECT_FALSE(game.IsZoomed());
    EXPECT_TRUE(game.m_bMovable);
    EXPECT_TRUE(game.FindButton(L"max")->IsWindowVisible());
    EXPECT_FALSE(game.FindButton(L"restore")->IsWindowVisible());
}

TEST_F(GameWindowTest, RefreshLoadsTheSecondAnswerOrReloadsTheGameAndF5IsTaken) {
    RecordingGameWnd game;
    ScriptedBrowser* browser = Make(game);
    game.m_view.Navigate(L"http://game.test/play");
    PumpUntilIdle();
    std::deque<std::wstring> answers = {L"http://game.test/play?sig=1", L"http://game.test/play?sig=2"};
    frame.gameUrl = [&](GameUrlReason reason) {
        EXPECT_EQ(reason, GameUrlReason::Reload);
        const std::wstring answer = answers.empty() ? L"" : answers.front();
        if (!answers.empty()) {
            answers.pop_front();
        }
        return answer;
    };
    ClickButton(game, L"refresh");
    PumpUntilIdle();
    EXPECT_EQ(frame.fetches, 2);
    EXPECT_EQ(browser->LocationUrl(), L"http://game.test/play?sig=2");

    browser->loaded.clear();
    ClickButton(game, L"refresh");
    PumpUntilIdle();
    EXPECT_EQ(frame.fetches, 3) << "an empty answer is asked once";
    EXPECT_EQ(browser->loaded, std::vector<std::wstring>{L"http://game.test/play?sig=2"}) << "reloaded";

    MSG f5{};
    f5.hwnd = game.m_hWnd;
    f5.message = WM_KEYDOWN;
    f5.wParam = VK_F5;
    MSG a = f5;
    a.wParam = 'A';
    EXPECT_TRUE(game.PreTranslateMessage(&f5));
    EXPECT_FALSE(game.PreTranslateMessage(&a));
    PumpUntilIdle();
    EXPECT_EQ(browser->loaded.size(), 2u) << "F5 reloads once";
}

TEST_F(GameWindowTest, TheCacheButtonClearsThenReloads) {
    RecordingGameWnd game;
    ScriptedBrowser* browser = Make(game);
    game.m_view.Navigate(L"http://game.test/play");
    PumpUntilIdle();
    RemovedSiteData().clear();
    browser->loaded.clear();
    ClickButton(game, L"cache");
    PumpUntilIdle();
    EXPECT_EQ(RemovedSiteData(), std::vector<std::wstring>{L"game.test"});
    EXPECT_EQ(browser->loaded, std::vector<std::wstring>{L"http://game.test/play"});
}

TEST_F(GameWindowTest, AnEngineThatNeverFinishesTheRemovalDelaysTheReloadByThreeSecondsOnly) {
    platform::ManualClock clock;
    platform::SetClock(&clock);
    RecordingGameWnd game;
    ScriptedBrowser* browser = Make(game);
    game.m_view.Navigate(L"http://game.test/play");
    PumpUntilIdle();
    browser->loaded.clear();
    SiteDataRemovalsAnswer() = false;
    ClickButton(game, L"cache");
    clock.Advance(CGameWnd::kCacheReloadMs - 1);
    PumpUntilIdle();
    EXPECT_TRUE(browser->loaded.empty());
    clock.Advance(1);
    PumpUntilIdle();
    EXPECT_EQ(browser->loaded, std::vector<std::wstring>{L"http://game.test/play"});
    SiteDataRemovalsAnswer() = true;
    game.DestroyWindow();
    platform::SetClock(nullptr);
}

TEST_F(GameWindowTest, CloseLoadsTheSentinelAndTheWindowStays) {
    RecordingGameWnd game;
    ScriptedBrowser* browser = Make(game);
    game.SendMessage(WM_CLOSE);
    PumpUntilIdle();
    EXPECT_EQ(browser->LocationUrl(), L"about:blank3");
    EXPECT_TRUE(game.IsWindowVisible());
}

TEST_F(GameWindowTest, ThePageNamesVipAndMakesItBlinkOnceAtATime) {
    RecordingGameWnd game;
    Make(game);
    CSkinButton* vip = game.FindButton(L"vip");
    game.SendMessage(WM_GS_NAME, 0, reinterpret_cast<LPARAM>(L"星海一区"));
    EXPECT_EQ(vip->GetDef().title, L"星海一区");
    game.SendMessage(WM_NEW_MSG);
    EXPECT_TRUE(vip->IsBlinking());
    vip->SetBlink(FALSE);  // what a click does
    game.SendMessage(WM_NEW_MSG);
    EXPECT_TRUE(vip->IsBlinking()) << "again after the player saw it";

    RecordingGameWnd plain;
    Make(plain, 1, false);
    EXPECT_EQ(plain.SendMessage(WM_GS_NAME, 0, reinterpret_cast<LPARAM>(L"x")), 0);
    EXPECT_EQ(plain.SendMessage(WM_NEW_MSG), 0);
}
