// The hidden frame on the headless backend: how the client starts, enters and leaves the game, the tray
// icon and its menu, the plug-in installer and the exit. Every case has a throw-away user: the frame's
// update check works in the program's folder, and the plug-in cases run from one.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "SkinTestSupport.h"
#include "UserEnvironment.h"
#include "app/MainFrame.h"
#include "browser/ClientMessages.h"
#include "config/ClientConfig.h"
#include "config/ProductCaption.h"
#include "download/DownloadThread.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_browser.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/shell_ui.h"
#include "platform/ui/win_api.h"
#include "platform/ui/window_system.h"
#include "skin/SkinDocument.h"
#include "support/ClientTest.h"
#include "windows/GameWnd.h"
#include "windows/HtmlWnd.h"

using namespace platform::headless;
using platform::PumpUntilIdle;

namespace {

const char kSkin[] =
    "<S><MAINWND width='400' height='300' title='Launcher'>"
    "<RECT name='ie' left='10' top='40' width='380' height='250'/>"
    "<BTN name='close' stand='802' left='5' top='5' align='TopRight'/></MAINWND>"
    "<GAMEWND width='600' height='400' titleHeight='32' border='1' title='Game'>"
    "<RECT name='ie' left='1' top='32' width='598' height='367' strech='3'/>"
    "<BTN name='close' stand='802' left='3' top='1' align='TopRight'/>"
    "<BTN name='max' stand='802' left='30' top='1' align='TopRight'/>"
    "<BTN name='restore' stand='802' left='30' top='1' align='TopRight'/></GAMEWND></S>";

const wchar_t kHome[] = L"http://portal.test/";
const wchar_t kGame[] = L"http://game.test/play?entergame=1";

ScriptedBrowser* BrowserOf(CIEView& view) {
    return static_cast<ScriptedBrowser*>(view.GetBrowser());
}

class MainFrameTest : public ClientTest {
protected:
    MainFrameTest() {
        RegisterPng(802, MakePng(24, 20, true, [](int, int) { return Rgba{0, 0, 255, 255}; }));
        Configure("");
    }
    ~MainFrameTest() override { frame.reset(); }
    // The configuration with `extra` attributes.
    static void Configure(const std::string& extra) {
        const std::string config =
            "<CLIENTCONFIG><C userClientAbout='Demo' imClass='TestClientFrame' homeUrl='http://portal.test/' "
            "gameCheck='entergame=1' " +
            extra + "/></CLIENTCONFIG>";
        ClientConfig::Instance().LoadDocumentFromBytes(config.data(), config.size());
    }
    void Start(const std::wstring& nameTag = L"", const std::wstring& gameUrl = L"") {
        SkinDocument::Instance().LoadDocumentFromBytes(kSkin, sizeof kSkin - 1);
        frame = std::make_unique<CMainFrame>(nameTag, gameUrl);
        ASSERT_TRUE(frame->LoadFrame());
        PumpUntilIdle();
    }
    CHtmlWnd& Launcher() { return *frame->GetLauncher(); }
    ScriptedBrowser& LauncherBrowser() { return *BrowserOf(Launcher().GetBrowserHost()->GetView()); }
    bool LauncherShown() {
        return Launcher().IsWindowVisible() && Launcher().GetBrowserHost()->IsWindowVisible();
    }
    bool GameShown() { return frame->GetGameWnd() != nullptr && frame->GetGameWnd()->IsWindowVisible(); }
    void Tray(LPARAM mouse) {
        platform::DeliverTrayClick(frame->m_hWnd, CMainFrame::kTrayIconId, static_cast<UINT>(mouse));
        PumpUntilIdle();
    }
    // The exit command reached the frame: its window went and the loop was asked to end.
    bool Exited() {
        return !platform::IsWindow(frameHwnd()) && platform::MessageQueue::Instance().QuitPending();
    }
    HWND frameHwnd() {
        if (frame && frame->m_hWnd != nullptr) {
            lastFrame = frame->m_hWnd;
        }
        return lastFrame;
    }

    UserEnvironment user;
    std::unique_ptr<CMainFrame> frame;
    HWND lastFrame = nullptr;
};

TEST_F(MainFrameTest, StartsInTheLauncherOrStraightInTheGame) {
    const struct {
        const wchar_t* nameTag;
        const wchar_t* gameUrl;
        bool inGame;
    } cases[] = {
        {L"", L"", false},
        {L"4711", L"", false},    // the user-info service gives no answer: there is none configured
        {L"4711", kGame, false},  // a tag decides; the URL is only what the service falls back to
        {L"", kGame, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("tag ") + (*c.nameTag != 0 ? "set" : "empty") + ", url " +
                     (*c.gameUrl != 0 ? "set" : "empty"));
        Start(c.nameTag, c.gameUrl);
        ASSERT_NE(frame->GetGameWnd(), nullptr) << "the game window exists from the start";
        EXPECT_EQ(LauncherBrowser().loaded, std::vector<std::wstring>({L"about:blank", kHome}))
            << "the launcher loads the portal even when the game comes first";
        EXPECT_EQ(LauncherShown(), !c.inGame);
        EXPECT_EQ(GameShown(), c.inGame);
        EXPECT_EQ(frame->GetGameMode(), c.inGame ? 1 : 0);
        if (c.inGame) {
            CGameWnd& game = *frame->GetGameWnd();
            EXPECT_TRUE(game.IsZoomed());
            EXPECT_EQ(BrowserOf(game.m_view)->loaded.back(), kGame);
        }
        std::wstring tip;
        EXPECT_TRUE(platform::FindTrayIcon(frame->m_hWnd, CMainFrame::kTrayIconId, tip));
        frame.reset();
    }
}

TEST_F(MainFrameTest, AGameLinkInThePortalEntersTheGameAndClosingItEndsTheClient) {
    Start();
    LauncherBrowser().FollowLink(kGame);
    PumpUntilIdle();
    ASSERT_TRUE(GameShown());
    CGameWnd& game = *frame->GetGameWnd();
    EXPECT_FALSE(LauncherShown());
    EXPECT_TRUE(game.IsZoomed());
    EXPECT_EQ(frame->GetGameUrl(), kGame);
    EXPECT_EQ(LauncherBrowser().loaded.back(), kHome) << "the portal did not follow the game link";

    frameHwnd();
    game.PostMessage(WM_CLOSE);
    PumpUntilIdle();
    EXPECT_TRUE(Exited()) << "a game entered with a URL ends the client when it is left";
    std::wstring tip;
    EXPECT_FALSE(platform::FindTrayIcon(lastFrame, CMainFrame::kTrayIconId, tip));
    EXPECT_EQ(frame->GetLauncher(), nullptr);
    EXPECT_EQ(frame->GetDetachedGameWnd(), nullptr);
    EXPECT_EQ(frame->GetDownloadThread(), nullptr) << "the downloader was stopped and let go";
}

TEST_F(MainFrameTest, AGameEnteredWithoutAUrlReturnsToTheLauncherAndItsWindowGoesOnceItsPageClosed) {
    Start();
    CGameWnd* first = frame->GetGameWnd();
    frame->EnterGame(L"");
    EXPECT_TRUE(GameShown());
    EXPECT_FALSE(first->IsZoomed()) << "only a game page makes the window maximised";
    const std::size_t portalLoads = LauncherBrowser().loaded.size();

    frame->LeaveGame();
    EXPECT_EQ(frame->GetGameWnd(), nullptr);
    EXPECT_EQ(frame->GetDetachedGameWnd(), first);
    EXPECT_EQ(frame->GetCurrentGameWnd(), first->m_hWnd) << "the page still unloading may call the client";
    EXPECT_EQ(frame->GetGameMode(), 0);
    PumpUntilIdle();
    EXPECT_TRUE(LauncherShown());
    EXPECT_EQ(LauncherBrowser().loaded.size(), portalLoads + 1) << "the portal was reloaded";

    for (int i = 0; i < 2; ++i) {
        frame->SendMessage(WM_GAME_CLOSED, 0, 0);
        EXPECT_EQ(frame->GetDetachedGameWnd(), nullptr);
    }
    frame->LeaveGame();  // not in the game: nothing happens
    EXPECT_TRUE(LauncherShown());
    EXPECT_FALSE(platform::MessageQueue::Instance().QuitPending());

    frame->EnterGame(kGame);
    ASSERT_NE(frame->GetGameWnd(), nullptr);
    EXPECT_EQ(frame->GetGameWnd()->GetExStyle(), WS_EX_APPWINDOW | WS_EX_TOOLWINDOW)
        << "a game window made on entering the game";
}

TEST_F(MainFrameTest, TheTrayIconsLeftClickShowsTheWindowOfTheStateTheClientIsIn) {
    Start();
    std::wstring tip;
    ASSERT_TRUE(platform::FindTrayIcon(frame->m_hWnd, CMainFrame::kTrayIconId, tip));
    EXPECT_EQ(tip, ProductCaption());
    Launcher().Show(FALSE);
    Tray(WM_LBUTTONDOWN);
    EXPECT_TRUE(LauncherShown());

    frame->EnterGame(kGame);
    CGameWnd& game = *frame->GetGameWnd();
    game.ShowWindow(SW_MINIMIZE);
    Tray(WM_MOUSEMOVE);
    Tray(WM_LBUTTONUP);
    EXPECT_TRUE(game.IsIconic()) << "other mouse messages are ignored";
    Tray(WM_LBUTTONDOWN);
    EXPECT_FALSE(game.IsIconic());
    EXPECT_TRUE(GameShown());
    EXPECT_FALSE(LauncherShown());

    // Between leaving the game and the end of the client there is nothing to show.
    frame->LeaveGame();
    game.ShowWindow(SW_HIDE);
    frame->SendMessage(WM_TRAY_NOTIFY, CMainFrame::kTrayIconId, WM_LBUTTONDOWN);
    EXPECT_FALSE(game.IsWindowVisible());
    EXPECT_FALSE(Launcher().IsWindowVisible());
}

TEST_F(MainFrameTest, TheTrayMenuShowsTheWindowExitsOrDoesNothing) {
    const struct {
        UINT choice;
        bool shown;
        bool exited;
    } cases[] = {
        {CMainFrame::ID_TRAY_SHOW, true, false},
        {0, false, false},  // dismissed
        {ID_APP_EXIT, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.choice);
        Start();
        frameHwnd();
        Launcher().Show(FALSE);
        Backend().menusShown.clear();
        Backend().menuChoices.push_back(c.choice);
        Tray(WM_RBUTTONDOWN);
        ASSERT_EQ(Backend().menusShown.size(), 1u);
        const std::vector<platform::MenuItem>& items = Backend().menusShown[0];
        ASSERT_EQ(items.size(), 3u);
        EXPECT_EQ(items[0].id, CMainFrame::ID_TRAY_SHOW);
        EXPECT_EQ(items[0].text, L"\u663E\u793A\u4E3B\u754C\u9762");
        EXPECT_EQ(items[1].id, 0u);
        EXPECT_EQ(items[2].id, ID_APP_EXIT);
        EXPECT_EQ(Exited(), c.exited);
        if (!c.exited) {
            EXPECT_EQ(LauncherShown(), c.shown);
        }
        frame.reset();
        platform::MessageQueue::Instance().Reset();
    }
}

TEST_F(MainFrameTest, WhatEndsTheClientWaitsUntilNoNestedLoopRuns) {
    const struct {
        UINT message;
        WPARAM wParam;
    } cases[] = {{WM_COMMAND, ID_APP_EXIT}, {WM_CLOSE, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Start();
        frameHwnd();
        frame->PostMessage(c.message, c.wParam, 0);
        int passes = 0;
        // A message box's loop, say, opened by one of the frame's windows.
        platform::RunModalLoop([&] { return ++passes > 1; });
        EXPECT_TRUE(platform::IsWindow(frameHwnd())) << "nothing went while the nested loop ran";
        EXPECT_NE(frame->GetLauncher(), nullptr);
        PumpUntilIdle();
        EXPECT_TRUE(Exited()) << "the outer loop ends the client";
        frame.reset();
        platform::MessageQueue::Instance().Reset();
    }
}

TEST_F(MainFrameTest, ThePluginInstallerRunsOnlyWhenConfiguredAndThePluginIsMissing) {
    // The installer stands beside the program; the configured command brings its own separator.
    std::filesystem::create_directories(user.ProgramFolder());
    const std::string marker = user.Path("installer-ran");
    const std::string installer = user.ProgramFolder() + "/install-plugin.sh";
    std::ofstream(installer) << "#!/bin/sh\necho \"$1\" >> '" << marker << "'\n";
    std::filesystem::permissions(installer, std::filesystem::perms::owner_all);
    const std::string present = user.Path("plugin.so");
    std::ofstream(present) << "plug-in";

    const struct {
        const char* runPlugin;
        std::string pluginPath;
        const char* ran;  // the argument the installer was started with, or null
    } cases[] = {
        {"", "", nullptr},
        {"/install-plugin.sh skipped", present, nullptr},
        {"/install-plugin.sh missing", user.Path("gone.so"), "missing"},
        {"/install-plugin.sh unregistered", "", "unregistered"},
    };
    std::vector<std::string> expected;
    for (const auto& c : cases) {
        Configure(std::string("runPlugin='") + c.runPlugin + "'");
        ClientConfig::Instance().m_strPluginPath = platform::Utf8ToWide(c.pluginPath);
        Start();
        frame.reset();
        if (c.ran != nullptr) {
            expected.push_back(c.ran);
        }
    }
    // The installers run on their own: the test waits until the expected ones have written their line.
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> ran;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (ran.size() < expected.size() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ran.clear();
        std::ifstream lines(marker);
        for (std::string line; std::getline(lines, line);) {
            ran.push_back(line);
        }
    }
    std::sort(ran.begin(), ran.end());
    EXPECT_EQ(ran, expected);
}

TEST_F(MainFrameTest, AFrameWithoutItsClassNameIsNotMade) {
    ClientConfig::Instance().LoadDocumentFromBytes("<CLIENTCONFIG><C/></CLIENTCONFIG>", 33);
    SkinDocument::Instance().LoadDocumentFromBytes(kSkin, sizeof kSkin - 1);
    CMainFrame empty(L"", L"");
    EXPECT_FALSE(empty.LoadFrame());
    EXPECT_EQ(empty.GetLauncher(), nullptr);
    EXPECT_EQ(GetFrameLink(), nullptr);
}

TEST(TrayTipTest, FitsTheTipFieldWithoutSplittingACharacter) {
    const std::wstring astral(1, static_cast<wchar_t>(0x1F680));  // two UTF-16 units
    const struct {
        std::wstring caption;
        std::size_t length;
    } cases[] = {
        {L"\u661F\u6D77\u7EAA\u5143 Ver 1.0.0.1", 17},
        {std::wstring(127, L'a'), 127},
        {std::wstring(200, L'\u661F'), 127},
        {std::wstring(126, L'a') + astral, 126},  // the last character would need units 127 and 128
        {std::wstring(125, L'a') + astral + L"b", 126},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrayTipText(c.caption), c.caption.substr(0, c.length));
    }
}

}  // namespace
