// Pointer and key input: routing to children, capture, push-button clicks, hover and leave, cursors,
// double-clicks and keys.
#include "WindowTestSupport.h"

using namespace platform::headless;
using platform::PumpUntilIdle;

namespace {

// A parent that keeps the clicks its buttons report.
class Parent : public RecordingWnd {
public:
    std::vector<std::pair<WPARAM, LPARAM>> commands;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        commands.emplace_back(wParam, lParam);
        return TRUE;
    }
};

// A button that asks for hover and leave reports, as skin buttons do, and shows a hand.
class TrackingButton : public RecordingWnd {
public:
    bool tracking = false;

protected:
    void OnMouseMove(UINT flags, POINT point) override {
        if (!tracking) {
            TRACKMOUSEEVENT request{sizeof(TRACKMOUSEEVENT), TME_HOVER | TME_LEAVE, m_hWnd, 1};
            tracking = platform::TrackMouseEvent(&request) != FALSE;
        }
        CWnd::OnMouseMove(flags, point);
    }
    void OnMouseLeave() override {
        tracking = false;
        CWnd::OnMouseLeave();
    }
    BOOL OnSetCursor(CWnd*, UINT, UINT) override {
        platform::SetCursor(platform::LoadCursor(IDC_HAND));
        return TRUE;
    }
};

class InputTest : public WindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(parent.CreatePopup(RECT{100, 100, 500, 400}));
        ASSERT_TRUE(button.CreateButton(parent, RECT{10, 10, 60, 30}, 10000));
        ASSERT_TRUE(other.CreateButton(parent, RECT{100, 10, 150, 30}, 10001));
        PumpUntilIdle();
    }

    POINT OnButton() const { return ScreenPoint(button.m_hWnd, POINT{5, 5}); }
    POINT OnOther() const { return ScreenPoint(other.m_hWnd, POINT{5, 5}); }
    POINT OnBackground() const { return ScreenPoint(parent.m_hWnd, POINT{300, 200}); }

    Parent parent;
    TrackingButton button;
    TrackingButton other;
};

}  // namespace

TEST_F(InputTest, ClickOnAButtonReportsItToTheParent) {
    Click(parent.m_hWnd, OnButton());
    ASSERT_EQ(parent.commands.size(), 1u);
    EXPECT_EQ(LOWORD(parent.commands[0].first), 10000);
    EXPECT_EQ(HIWORD(parent.commands[0].first), BN_CLICKED);
    EXPECT_EQ(reinterpret_cast<HWND>(parent.commands[0].second), button.m_hWnd);
    EXPECT_EQ(button.Count(WM_LBUTTONDOWN), 1u);
    EXPECT_EQ(button.Count(WM_LBUTTONUP), 1u);
    EXPECT_EQ(parent.Count(WM_LBUTTONDOWN), 0u) << "the press went to the child, not the window under it";
    EXPECT_EQ(platform::GetCapture(), nullptr) << "capture ends with the release";
}

TEST_F(InputTest, ReleaseOutsideThePressedButtonIsNoClick) {
    MoveMouse(parent.m_hWnd, OnButton());
    PressLeft(parent.m_hWnd, OnButton());
    EXPECT_EQ(platform::GetCapture(), button.m_hWnd);
    MoveMouse(parent.m_hWnd, OnOther());
    ReleaseLeft(parent.m_hWnd, OnOther());
    EXPECT_TRUE(parent.commands.empty());
    EXPECT_EQ(button.Count(WM_LBUTTONUP), 1u) << "the captured button still gets the release";
    EXPECT_EQ(other.Count(WM_LBUTTONUP), 0u);
    const auto moves = button.Of(WM_MOUSEMOVE);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(GET_X_LPARAM(moves.back().lParam), 95) << "captured moves come in the button's coordinates";
}

TEST_F(InputTest, HiddenButtonsAreNotClickableAndTheTopmostChildWins) {
    other.MoveWindow(10, 10, 50, 20);  // now on top of `button`
    Click(parent.m_hWnd, OnButton());
    ASSERT_EQ(parent.commands.size(), 1u);
    EXPECT_EQ(LOWORD(parent.commands[0].first), 10001) << "the later child lies on top";
    other.ShowWindow(SW_HIDE);
    Click(parent.m_hWnd, OnButton());
    ASSERT_EQ(parent.commands.size(), 2u);
    EXPECT_EQ(LOWORD(parent.commands[1].first), 10000);
    button.ShowWindow(SW_HIDE);
    Click(parent.m_hWnd, OnButton());
    EXPECT_EQ(parent.commands.size(), 2u);
    EXPECT_EQ(parent.Count(WM_LBUTTONDOWN), 1u) << "with no visible child there the window itself gets it";
}

TEST_F(InputTest, BmClickActsAsAClick) {
    platform::PostMessage(button.m_hWnd, BM_CLICK, 0, 0);
    PumpUntilIdle();
    ASSERT_EQ(parent.commands.size(), 1u);
    EXPECT_EQ(LOWORD(parent.commands[0].first), 10000);
    EXPECT_EQ(button.Count(WM_LBUTTONDOWN), 1u) << "the button's own handlers see the press and release";
}

TEST_F(InputTest, HoverComesAfterTheRestTimeAndLeaveWhenThePointerGoes) {
    MoveMouse(parent.m_hWnd, OnButton());
    EXPECT_TRUE(button.tracking);
    EXPECT_EQ(button.Count(WM_MOUSEHOVER), 0u) << "not before the pointer has rested";
    clock.Advance(1);
    PumpUntilIdle();
    EXPECT_EQ(button.Count(WM_MOUSEHOVER), 1u);
    clock.Advance(100);
    PumpUntilIdle();
    EXPECT_EQ(button.Count(WM_MOUSEHOVER), 1u) << "hover is reported once per request";
    MoveMouse(parent.m_hWnd, OnOther());
    EXPECT_EQ(button.Count(WM_MOUSELEAVE), 1u);
    EXPECT_FALSE(button.tracking);
    MoveMouse(parent.m_hWnd, OnBackground());
    EXPECT_EQ(other.Count(WM_MOUSELEAVE), 1u);
}

TEST_F(InputTest, LeavingTheWindowAltogetherEndsTracking) {
    MoveMouse(parent.m_hWnd, OnButton());
    platform::DeliverMouse(parent.m_hWnd, platform::MouseAction::Leave, POINT{0, 0});
    PumpUntilIdle();
    EXPECT_EQ(button.Count(WM_MOUSELEAVE), 1u);
}

TEST_F(InputTest, CursorFollowsTheWindowUnderThePointer) {
    MoveMouse(parent.m_hWnd, OnButton());
    EXPECT_EQ(platform::CurrentCursorId(), IDC_HAND);
    EXPECT_EQ(backend.WindowOf(parent.m_hWnd)->cursor, IDC_HAND) << "set on the native window";
    MoveMouse(parent.m_hWnd, OnBackground());
    EXPECT_EQ(platform::CurrentCursorId(), IDC_ARROW) << "the window's class cursor";
}

TEST_F(InputTest, SecondQuickPressIsADoubleClickOnlyForClassesThatAskForIt) {
    PressLeft(parent.m_hWnd, OnBackground());
    ReleaseLeft(parent.m_hWnd, OnBackground());
    clock.Advance(200);
    PressLeft(parent.m_hWnd, OnBackground());
    ReleaseLeft(parent.m_hWnd, OnBackground());
    EXPECT_EQ(parent.Count(WM_LBUTTONDBLCLK), 1u);
    EXPECT_EQ(parent.Count(WM_LBUTTONDOWN), 1u);
    clock.Advance(600);
    PressLeft(parent.m_hWnd, OnBackground());
    EXPECT_EQ(parent.Count(WM_LBUTTONDOWN), 2u) << "too late for a double-click";

    // The standard button class does not ask for double-clicks: two quick presses are two clicks.
    ReleaseLeft(parent.m_hWnd, OnBackground());
    Click(parent.m_hWnd, OnButton());
    clock.Advance(100);
    Click(parent.m_hWnd, OnButton());
    EXPECT_EQ(parent.commands.size(), 2u);
}

TEST_F(InputTest, KeysGoToTheFocusWindowThroughPreTranslation) {
    parent.SetForegroundWindow();
    PressKey(parent.m_hWnd, VK_F5);
    auto keys = parent.Of(WM_KEYDOWN);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].wParam, VK_F5);
    button.SetFocus();
    PressKey(parent.m_hWnd, VK_ESCAPE);
    EXPECT_EQ(button.Count(WM_KEYDOWN), 1u);
}

namespace {

// Swallows Escape for itself and every child, as a window with its own key handling does.
class KeyFilter : public RecordingWnd {
public:
    std::vector<HWND> seen;

protected:
    BOOL PreTranslateMessage(MSG* msg) override {
        seen.push_back(msg->hwnd);
        return msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE;
    }
};

}  // namespace

TEST_F(WindowTest, PreTranslationSeesChildMessagesAndCanSwallowThem) {
    KeyFilter top;
    RecordingWnd child;
    ASSERT_TRUE(top.CreatePopup(RECT{0, 0, 200, 200}));
    ASSERT_TRUE(child.CreateButton(top, RECT{0, 0, 50, 50}, 5));
    child.SetFocus();
    PressKey(top.m_hWnd, VK_ESCAPE);
    PressKey(top.m_hWnd, VK_F5);
    EXPECT_EQ(child.Count(WM_KEYDOWN), 1u) << "Escape was swallowed by the top-level window";
    EXPECT_EQ(child.Of(WM_KEYDOWN)[0].wParam, VK_F5);
    MoveMouse(top.m_hWnd, POINT{10, 10});
    EXPECT_EQ(top.seen.back(), child.m_hWnd) << "mouse messages of a child pass the top-level window too";
}
