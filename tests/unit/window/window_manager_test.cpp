// What the window manager does, driven by the layer: moves and resizes following the pointer, size
// limits, maximise, minimise and restore, stacking and centring.
#include "WindowTestSupport.h"

using namespace platform::headless;
using platform::PumpUntilIdle;

namespace {

// Starts a system move or resize from a press, as the skinned windows do, and limits its size.
class DraggableWnd : public RecordingWnd {
public:
    WPARAM command = SC_MOVE | HTCAPTION;
    POINT minTrack{200, 150};

protected:
    void OnLButtonDown(UINT flags, POINT point) override {
        SendMessage(WM_SYSCOMMAND, command, 0);
        CWnd::OnLButtonDown(flags, point);
    }
    void OnGetMinMaxInfo(MINMAXINFO* info) override { info->ptMinTrackSize = minTrack; }
};

bool Equal(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST_F(WindowTest, PressAndDragMovesTheWindowWithMovesReportedOnTheWay) {
    DraggableWnd wnd;
    ASSERT_TRUE(wnd.CreatePopup(RECT{100, 100, 400, 300}));
    PressLeft(wnd.m_hWnd, POINT{150, 120});
    wnd.Forget();
    MoveMouse(wnd.m_hWnd, POINT{180, 140});
    EXPECT_TRUE(Equal(ScreenRect(wnd), RECT{130, 120, 430, 320}));
    ASSERT_EQ(wnd.Count(WM_MOVE), 1u);
    EXPECT_EQ(GET_X_LPARAM(wnd.Of(WM_MOVE)[0].lParam), 130);
    EXPECT_EQ(wnd.Count(WM_MOUSEMOVE), 0u) << "the pointer belongs to the move";
    // A second move request while one runs changes nothing.
    wnd.SendMessage(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    MoveMouse(wnd.m_hWnd, POINT{100, 100});
    EXPECT_TRUE(Equal(ScreenRect(wnd), RECT{50, 80, 350, 280}));
    EXPECT_TRUE(Equal(backend.WindowOf(wnd.m_hWnd)->geometry, RECT{50, 80, 350, 280}))
        << "the native window follows";
    ReleaseLeft(wnd.m_hWnd, POINT{100, 100});
    MoveMouse(wnd.m_hWnd, POINT{120, 120});
    EXPECT_TRUE(Equal(ScreenRect(wnd), RECT{50, 80, 350, 280})) << "the release ends it";
    EXPECT_EQ(wnd.Count(WM_MOUSEMOVE), 1u);
}

TEST_F(WindowTest, ResizeFromAnEdgeKeepsTheOppositeEdgeAndTheLimits) {
    DraggableWnd wnd;
    wnd.command = SC_SIZE | WMSZ_TOPLEFT;
    ASSERT_TRUE(wnd.CreatePopup(RECT{100, 100, 400, 300}));
    PressLeft(wnd.m_hWnd, POINT{101, 101});
    wnd.Forget();
    MoveMouse(wnd.m_hWnd, POINT{81, 91});
    EXPECT_TRUE(Equal(ScreenRect(wnd), RECT{80, 90, 400, 300}));
    ASSERT_EQ(wnd.Count(WM_SIZE), 1u);
    EXPECT_EQ(LOWORD(wnd.Of(WM_SIZE)[0].lParam), 320);
    EXPECT_EQ(wnd.Count(WM_MOVE), 1u) << "the top-left corner moved";
    MoveMouse(wnd.m_hWnd, POINT{301, 201});
    EXPECT_TRUE(Equal(ScreenRect(wnd), RECT{200, 150, 400, 300}))
        << "no smaller than the minimum tracking size";
    ReleaseLeft(wnd.m_hWnd, POINT{301, 201});

    wnd.command = SC_SIZE | WMSZ_BOTTOMRIGHT;
    PressLeft(wnd.m_hWnd, POINT{399, 299});
    MoveMouse(wnd.m_hWnd, POINT{5000, 5000});
    EXPECT_TRUE(Equal(ScreenRect(wnd), RECT{200, 150, 2120, 1190})) << "no larger than the work area";
    ReleaseLeft(wnd.m_hWnd, POINT{5000, 5000});
}

TEST_F(WindowTest, MaximiseFillsTheWorkAreaAndRestoreComesBack) {
    backend.workArea = RECT{0, 0, 1920, 1040};
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreatePopup(RECT{100, 100, 400, 300}));
    wnd.Forget();
    wnd.ShowWindow(SW_SHOWMAXIMIZED);
    EXPECT_TRUE(wnd.IsZoomed());
    EXPECT_TRUE(Equal(ScreenRect(wnd), RECT{0, 0, 1920, 1040}));
    ASSERT_EQ(wnd.Count(WM_GETMINMAXINFO), 1u);
    ASSERT_FALSE(wnd.Of(WM_SIZE).empty());
    EXPECT_EQ(wnd.Of(WM_SIZE).back().wParam, SIZE_MAXIMIZED);

    wnd.ShowWindow(SW_MINIMIZE);
    EXPECT_TRUE(wnd.IsIconic());
    EXPECT_EQ(wnd.Of(WM_SIZE).back().wParam, SIZE_MINIMIZED);
    EXPECT_EQ(wnd.Of(WM_SIZE).back().lParam, 0) << "a minimised window has no client area";
    EXPECT_TRUE(backend.WindowOf(wnd.m_hWnd)->minimized);

    wnd.ShowWindow(SW_RESTORE);
    EXPECT_FALSE(wnd.IsIconic());
    EXPECT_TRUE(wnd.IsZoomed()) << "restoring a minimised maximised window maximises it again";
    EXPECT_EQ(wnd.Of(WM_SIZE).back().wParam, SIZE_MAXIMIZED);

    wnd.ShowWindow(SW_RESTORE);
    EXPECT_FALSE(wnd.IsZoomed());
    EXPECT_TRUE(Equal(ScreenRect(wnd), RECT{100, 100, 400, 300}));
    EXPECT_EQ(wnd.Of(WM_SIZE).back().wParam, SIZE_RESTORED);

    wnd.ShowWindow(SW_MINIMIZE);
    wnd.ShowWindow(SW_RESTORE);
    EXPECT_TRUE(Equal(ScreenRect(wnd), RECT{100, 100, 400, 300}));
    EXPECT_EQ(LOWORD(wnd.Of(WM_SIZE).back().lParam), 300) << "the size is reported again after minimising";
}

TEST_F(WindowTest, OwnedWindowsStayAboveTheirOwner) {
    RecordingWnd owner, owned, other;
    ASSERT_TRUE(owner.CreatePopup(RECT{0, 0, 100, 100}));
    ASSERT_TRUE(owned.CreatePopup(RECT{10, 10, 50, 50}, 0, owner.m_hWnd));
    ASSERT_TRUE(other.CreatePopup(RECT{20, 20, 80, 80}));
    owner.BringWindowToTop();
    const auto& order = backend.stacking;
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], other.Native());
    EXPECT_EQ(order[1], owner.Native());
    EXPECT_EQ(order[2], owned.Native()) << "raising the owner takes its owned window along, above it";
    other.SetForegroundWindow();
    EXPECT_EQ(order.back(), other.Native());
    owned.SetWindowPos(owner.m_hWnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(order[0], owner.Native());
    EXPECT_EQ(order[1], owned.Native()) << "placed after its owner, it still stays above it";
}

TEST_F(WindowTest, TopmostBandAndNotTopmost) {
    RecordingWnd a, b;
    ASSERT_TRUE(a.CreatePopup(RECT{0, 0, 10, 10}));
    ASSERT_TRUE(b.CreatePopup(RECT{0, 0, 10, 10}));
    a.SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    b.BringWindowToTop();
    EXPECT_EQ(backend.stacking.back(), a.Native()) << "a topmost window stays above the others";
    a.Forget();
    a.SetWindowPos(HWND_NOTOPMOST, 0, 0, 10, 10, SWP_SHOWWINDOW);
    b.BringWindowToTop();
    EXPECT_EQ(backend.stacking.back(), b.Native());
    EXPECT_EQ(a.Count(WM_SIZE) + a.Count(WM_MOVE), 0u) << "an unchanged rectangle reports nothing";
    a.SetWindowPos(HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    EXPECT_EQ(backend.stacking.back(), b.Native()) << "a window that is not topmost keeps its place";
}

TEST_F(WindowTest, CenteringUsesTheWorkAreaWithoutAnOwner) {
    backend.workArea = RECT{0, 0, 1920, 1040};
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreatePopup(RECT{0, 0, 1039, 573}));
    wnd.CenterWindow();
    EXPECT_EQ(ScreenRect(wnd).left, 440);
    EXPECT_EQ(ScreenRect(wnd).top, 233);
    ASSERT_TRUE(wnd.SetWindowPos(nullptr, 0, 0, 4000, 3000, SWP_NOMOVE | SWP_NOZORDER));
    wnd.CenterWindow();
    EXPECT_EQ(ScreenRect(wnd).left, 0) << "a window larger than the desktop keeps its top-left corner on it";
}

TEST_F(WindowTest, ChildCoordinatesFollowTheParent) {
    RecordingWnd parent, child;
    ASSERT_TRUE(parent.CreatePopup(RECT{100, 200, 600, 500}));
    ASSERT_TRUE(child.CreateButton(parent, RECT{10, 20, 60, 40}, 1));
    EXPECT_TRUE(Equal(ScreenRect(child), RECT{110, 220, 160, 240}));
    POINT p{0, 0};
    child.ClientToScreen(&p);
    EXPECT_EQ(p.x, 110);
    parent.MoveWindow(0, 0, 500, 300);
    EXPECT_TRUE(Equal(ScreenRect(child), RECT{10, 20, 60, 40}));
    child.Forget();
    child.MoveWindow(30, 20, 50, 20);
    ASSERT_EQ(child.Count(WM_MOVE), 1u);
    EXPECT_EQ(GET_X_LPARAM(child.Of(WM_MOVE)[0].lParam), 30)
        << "a child's position is in its parent's client area";
}

TEST_F(WindowTest, TheDesktopAsParentMeansNoOwner) {
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(WS_EX_APPWINDOW, L"TestPopup", L"", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0,
                             10, 10, platform::GetDesktopWindow(), 0));
    EXPECT_EQ(wnd.GetOwner(), nullptr);
    EXPECT_EQ(wnd.GetParent(), nullptr);
    EXPECT_EQ(backend.WindowOf(wnd.m_hWnd)->params.owner, nullptr);
    EXPECT_EQ(backend.WindowOf(wnd.m_hWnd)->params.exStyle, WS_EX_APPWINDOW) << "the backend sees the styles";
    RecordingWnd child;
    EXPECT_FALSE(child.Create(L"Button", L"", WS_CHILD, RECT{0, 0, 5, 5}, nullptr, 1))
        << "a child needs a parent";
}

TEST_F(WindowTest, InsertAfterAWindowPlacesDirectlyBelowIt) {
    RecordingWnd a, b, c;
    ASSERT_TRUE(a.CreatePopup(RECT{0, 0, 10, 10}));
    ASSERT_TRUE(b.CreatePopup(RECT{0, 0, 10, 10}));
    ASSERT_TRUE(c.CreatePopup(RECT{0, 0, 10, 10}));
    a.SetWindowPos(c.m_hWnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const auto& order = backend.stacking;
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], b.Native());
    EXPECT_EQ(order[1], a.Native());
    EXPECT_EQ(order[2], c.Native());
    a.SetWindowPos(HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(order[0], a.Native());
    b.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(order[1], b.Native()) << "SWP_NOZORDER leaves the stacking alone";
}
