// Tray icon, popup menus, message boxes and tooltips, scripted through the headless backend.
#include "platform/ui/shell_ui.h"
#include "WindowTestSupport.h"
#include "platform/ui/tooltip.h"

using namespace platform::headless;
using platform::PumpUntilIdle;

namespace {

constexpr UINT WM_TRAY = WM_USER + 100;

// Relays its input to a tooltip control, as skinned windows do.
class TipWnd : public RecordingWnd {
public:
    platform::CToolTipCtrl tooltip;

protected:
    BOOL PreTranslateMessage(MSG* msg) override {
        tooltip.RelayEvent(msg);
        return FALSE;
    }
};

}  // namespace

TEST_F(WindowTest, TrayIconReportsClicksToItsWindowUntilRemoved) {
    RecordingWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, L"Frame", L"", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, 0));
    platform::NOTIFYICONDATA data;
    data.hWnd = frame.m_hWnd;
    data.uID = 200;
    data.uFlags = platform::NIF_MESSAGE | platform::NIF_ICON | platform::NIF_TIP;
    data.uCallbackMessage = WM_TRAY;
    data.szTip = std::wstring(200, L'x');
    ASSERT_TRUE(platform::Shell_NotifyIcon(platform::NIM_ADD, data));
    EXPECT_FALSE(platform::Shell_NotifyIcon(platform::NIM_ADD, data)) << "one icon per window and id";
    EXPECT_EQ((backend.trayIcons[{frame.m_hWnd, 200}].size()), 127u)
        << "the tip is cut to what the record holds";

    platform::DeliverTrayClick(frame.m_hWnd, 200, WM_RBUTTONDOWN);
    PumpUntilIdle();
    auto calls = frame.Of(WM_TRAY);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].wParam, 200u);
    EXPECT_EQ(calls[0].lParam, static_cast<LPARAM>(WM_RBUTTONDOWN));

    ASSERT_TRUE(platform::Shell_NotifyIcon(platform::NIM_DELETE, data));
    EXPECT_TRUE(backend.trayIcons.empty());
    platform::DeliverTrayClick(frame.m_hWnd, 200, WM_LBUTTONDOWN);
    PumpUntilIdle();
    EXPECT_EQ(frame.Count(WM_TRAY), 1u);
}

TEST_F(WindowTest, TrayWithoutAHostFailsTheAdd) {
    RecordingWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, L"Frame", L"", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, 0));
    backend.trayAvailable = false;
    platform::NOTIFYICONDATA data;
    data.hWnd = frame.m_hWnd;
    data.uID = 1;
    EXPECT_FALSE(platform::Shell_NotifyIcon(platform::NIM_ADD, data));
    std::wstring tip;
    EXPECT_FALSE(platform::FindTrayIcon(frame.m_hWnd, 1, tip));
}

TEST_F(WindowTest, PopupMenuFromTheResourceReturnsTheScriptedChoice) {
    RecordingWnd frame;
    ASSERT_TRUE(frame.CreatePopup(RECT{0, 0, 10, 10}));
    platform::Menu menu;
    ASSERT_TRUE(platform::LoadMenuResource(200, menu));
    ASSERT_EQ(menu.items.size(), 3u);
    EXPECT_EQ(menu.items[0].id, 201u);
    EXPECT_EQ(menu.items[1].id, 0u) << "the separator";
    EXPECT_EQ(menu.items[2].id, 57665u);

    backend.menuChoices.push_back(57665);
    EXPECT_EQ(platform::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, 5, 5, frame.m_hWnd), 57665u);
    EXPECT_EQ(platform::TrackPopupMenu(menu, TPM_RETURNCMD, 5, 5, frame.m_hWnd), 0u) << "dismissed";
    EXPECT_EQ(backend.menusShown.size(), 2u);

    backend.menuChoices.push_back(201);
    EXPECT_EQ(platform::TrackPopupMenu(menu, 0, 5, 5, frame.m_hWnd), static_cast<UINT>(TRUE));
    PumpUntilIdle();
    ASSERT_EQ(frame.Count(WM_COMMAND), 1u) << "without TPM_RETURNCMD the choice arrives as a command";
    EXPECT_EQ(LOWORD(frame.Of(WM_COMMAND)[0].wParam), 201);

    platform::Menu missing;
    EXPECT_FALSE(platform::LoadMenuResource(999, missing));
}

TEST_F(WindowTest, MessageBoxTakesTheScriptedAnswerAndDefaultsItsCaption) {
    backend.messageBoxAnswers.push_back(IDOK);
    EXPECT_EQ(platform::MessageBox(nullptr, L"Quit?", L"Game Ver 1.0.0.1",
                                   MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2),
              static_cast<int>(IDOK));
    EXPECT_EQ(platform::MessageBox(nullptr, L"Load Img Fail : 5", nullptr, MB_OK),
              static_cast<int>(IDCANCEL));
    ASSERT_EQ(backend.messageBoxes.size(), 2u);
    EXPECT_EQ(backend.messageBoxes[0].type, MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
    EXPECT_EQ(backend.messageBoxes[1].caption, L"Error");
    EXPECT_EQ(platform::MessageBox(reinterpret_cast<HWND>(0x9999), L"x", L"y", MB_OK),
              static_cast<int>(IDCANCEL));
    EXPECT_EQ(backend.messageBoxes[2].owner, nullptr) << "an owner that is no window is dropped";
}

TEST_F(WindowTest, TooltipShowsForAToolAfterTheDelayAndHidesOnPress) {
    TipWnd wnd;
    RecordingWnd button;
    ASSERT_TRUE(wnd.CreatePopup(RECT{0, 0, 200, 100}));
    ASSERT_TRUE(button.CreateButton(wnd, RECT{10, 10, 50, 30}, 10000));
    ASSERT_TRUE(wnd.tooltip.Create(&wnd, platform::TTS_ALWAYSTIP));
    ASSERT_TRUE(wnd.tooltip.AddTool(&button, L"Reload", nullptr, 10000));

    MoveMouse(wnd.m_hWnd, POINT{20, 20});
    EXPECT_EQ(backend.tooltip, L"");
    clock.Advance(platform::kTooltipDelayMs);
    PumpUntilIdle();
    EXPECT_EQ(backend.tooltip, L"Reload");
    PressLeft(wnd.m_hWnd, POINT{20, 20});
    EXPECT_EQ(backend.tooltip, L"") << "a press hides the tip";
    ReleaseLeft(wnd.m_hWnd, POINT{20, 20});

    MoveMouse(wnd.m_hWnd, POINT{150, 80});
    clock.Advance(platform::kTooltipDelayMs);
    PumpUntilIdle();
    EXPECT_EQ(backend.tooltip, L"") << "no tip away from the tools";
}

TEST_F(WindowTest, TooltipHidesWhenThePointerGoesToAWindowThatDoesNotRelay) {
    TipWnd wnd;
    RecordingWnd button;
    RecordingWnd other;
    ASSERT_TRUE(wnd.CreatePopup(RECT{0, 0, 200, 100}));
    ASSERT_TRUE(other.CreatePopup(RECT{300, 0, 500, 100}));
    ASSERT_TRUE(button.CreateButton(wnd, RECT{10, 10, 50, 30}, 10000));
    ASSERT_TRUE(wnd.tooltip.Create(&wnd, platform::TTS_ALWAYSTIP));
    ASSERT_TRUE(wnd.tooltip.AddTool(&button, L"Reload", nullptr, 10000));
    MoveMouse(wnd.m_hWnd, POINT{20, 20});
    clock.Advance(platform::kTooltipDelayMs);
    PumpUntilIdle();
    ASSERT_EQ(backend.tooltip, L"Reload");

    clock.Advance(platform::kTooltipWatchMs);
    PumpUntilIdle();
    EXPECT_EQ(backend.tooltip, L"Reload") << "still over its tool";
    MoveMouse(other.m_hWnd, POINT{400, 50});
    clock.Advance(platform::kTooltipWatchMs);
    PumpUntilIdle();
    EXPECT_EQ(backend.tooltip, L"") << "the pointer left for another window";

    MoveMouse(wnd.m_hWnd, POINT{20, 20});
    clock.Advance(platform::kTooltipDelayMs);
    PumpUntilIdle();
    ASSERT_EQ(backend.tooltip, L"Reload");
    platform::DeliverMouse(wnd.m_hWnd, platform::MouseAction::Leave, POINT{-5, -5});
    clock.Advance(platform::kTooltipWatchMs);
    PumpUntilIdle();
    EXPECT_EQ(backend.tooltip, L"") << "the pointer left the program's windows";

    MoveMouse(wnd.m_hWnd, POINT{20, 20});
    MoveMouse(other.m_hWnd, POINT{400, 50});
    clock.Advance(platform::kTooltipDelayMs);
    PumpUntilIdle();
    EXPECT_EQ(backend.tooltip, L"") << "the pointer left before the delay was up";
}
