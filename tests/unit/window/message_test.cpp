// Posting, sending, timers, quitting and the life of a window.
#include <thread>

#include "WindowTestSupport.h"

using platform::MessageQueue;
using platform::PumpUntilIdle;

namespace {

constexpr UINT WM_PING = WM_USER + 100;

// Fails its creation when asked to.
class RefusingWnd : public RecordingWnd {
protected:
    int OnCreate(CREATESTRUCT*) override { return -1; }
};

}  // namespace

TEST_F(WindowTest, CreationReportsSizeAndPositionAfterCreate) {
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreatePopup(RECT{100, 50, 500, 350}));
    ASSERT_GE(wnd.received.size(), 3u);
    EXPECT_EQ(wnd.received[0].message, WM_CREATE);
    EXPECT_EQ(wnd.received[1].message, WM_SIZE);
    EXPECT_EQ(LOWORD(wnd.received[1].lParam), 400);
    EXPECT_EQ(HIWORD(wnd.received[1].lParam), 300);
    EXPECT_EQ(wnd.received[2].message, WM_MOVE);
    EXPECT_EQ(GET_X_LPARAM(wnd.received[2].lParam), 100);
    EXPECT_EQ(GET_Y_LPARAM(wnd.received[2].lParam), 50);
    EXPECT_TRUE(wnd.IsWindowVisible());
}

TEST_F(WindowTest, CreateRefusedByTheWindowLeavesNoWindow) {
    RefusingWnd wnd;
    EXPECT_FALSE(wnd.CreatePopup(RECT{0, 0, 10, 10}));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(wnd.Count(WM_DESTROY), 1u) << "a refused window is destroyed like any other";
    EXPECT_TRUE(backend.stacking.empty()) << "and has no native window left";
}

TEST_F(WindowTest, SentMessagesRunAtOncePostedOnesInOrderLater) {
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreatePopup(RECT{0, 0, 10, 10}));
    PumpUntilIdle();
    wnd.Forget();
    wnd.PostMessage(WM_PING, 1);
    wnd.PostMessage(WM_PING, 2);
    wnd.SendMessage(WM_PING, 3);
    ASSERT_EQ(wnd.Count(WM_PING), 1u) << "only the sent one so far";
    PumpUntilIdle();
    auto pings = wnd.Of(WM_PING);
    ASSERT_EQ(pings.size(), 3u);
    EXPECT_EQ(pings[0].wParam, 3u);
    EXPECT_EQ(pings[1].wParam, 1u);
    EXPECT_EQ(pings[2].wParam, 2u);
}

TEST_F(WindowTest, PostsToNullOrDestroyedWindowsAreDropped) {
    EXPECT_FALSE(platform::PostMessage(nullptr, WM_PING, 0, 0));
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreatePopup(RECT{0, 0, 10, 10}));
    const HWND stale = wnd.m_hWnd;
    wnd.PostMessage(WM_PING);  // queued while the window lives
    wnd.DestroyWindow();
    EXPECT_FALSE(platform::PostMessage(stale, WM_PING, 0, 0));
    wnd.Forget();
    PumpUntilIdle();  // must not reach the destroyed window
    EXPECT_EQ(wnd.Count(WM_PING), 0u);
    RecordingWnd later;
    ASSERT_TRUE(later.CreatePopup(RECT{0, 0, 10, 10}));
    EXPECT_NE(later.m_hWnd, stale) << "handles are never reused";
}

TEST_F(WindowTest, PostsFromOtherThreadsArriveCompleteAndInOrder) {
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreatePopup(RECT{0, 0, 10, 10}));
    const HWND hwnd = wnd.m_hWnd;
    constexpr int kCount = 2000;
    std::thread worker([hwnd] {
        for (int i = 0; i < kCount; ++i) {
            platform::PostMessage(hwnd, WM_PING, static_cast<WPARAM>(i), 0);
        }
    });
    int seen = 0;
    while (seen < kCount) {
        platform::PumpOne();
        seen = static_cast<int>(wnd.Count(WM_PING));
    }
    worker.join();
    auto pings = wnd.Of(WM_PING);
    for (int i = 0; i < kCount; ++i) {
        ASSERT_EQ(pings[i].wParam, static_cast<WPARAM>(i));
    }
}

TEST_F(WindowTest, TimersFireOnTheClockOnceEvenWhenLate) {
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreatePopup(RECT{0, 0, 10, 10}));
    EXPECT_EQ(wnd.SetTimer(1, 500), 1u);
    clock.Advance(499);
    PumpUntilIdle();
    EXPECT_EQ(wnd.Count(WM_TIMER), 0u);
    clock.Advance(1);
    PumpUntilIdle();
    ASSERT_EQ(wnd.Count(WM_TIMER), 1u);
    EXPECT_EQ(wnd.Of(WM_TIMER)[0].wParam, 1u);
    clock.Advance(1600);
    PumpUntilIdle();
    EXPECT_EQ(wnd.Count(WM_TIMER), 2u) << "a late loop gets one WM_TIMER, not one per missed period";
    wnd.SetTimer(1, 500);  // setting it again restarts the period
    clock.Advance(400);
    PumpUntilIdle();
    EXPECT_EQ(wnd.Count(WM_TIMER), 2u);
    EXPECT_TRUE(wnd.KillTimer(1));
    clock.Advance(1000);
    PumpUntilIdle();
    EXPECT_EQ(wnd.Count(WM_TIMER), 2u);
    EXPECT_FALSE(wnd.KillTimer(1));
}

TEST_F(WindowTest, TimersEndWithTheirWindow) {
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreatePopup(RECT{0, 0, 10, 10}));
    wnd.SetTimer(7, 100);
    wnd.DestroyWindow();
    clock.Advance(1000);
    wnd.Forget();
    PumpUntilIdle();
    EXPECT_EQ(wnd.Count(WM_TIMER), 0u);
    EXPECT_FALSE(MessageQueue::Instance().NextDueMs().has_value());
}

TEST_F(WindowTest, QuitEndsTheLoopWithItsCodeAndPassesThroughNestedLoops) {
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreatePopup(RECT{0, 0, 10, 10}));
    wnd.PostMessage(WM_PING);
    platform::PostQuitMessage(3);
    bool never = false;
    platform::RunModalLoop([&] { return never; });
    EXPECT_TRUE(MessageQueue::Instance().QuitPending()) << "a nested loop leaves the quit to the outer one";
    EXPECT_EQ(platform::RunMessageLoop(), 3);
}

TEST_F(WindowTest, ModalLoopRunsUntilDone) {
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreatePopup(RECT{0, 0, 10, 10}));
    wnd.PostMessage(WM_PING);
    wnd.PostMessage(WM_PING);
    platform::RunModalLoop([&] { return wnd.Count(WM_PING) == 2; });
    EXPECT_EQ(wnd.Count(WM_PING), 2u);
}

TEST_F(WindowTest, AMessageDeferredInsideANestedLoopArrivesFirstOnceTheOuterLoopRuns) {
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreatePopup(RECT{0, 0, 10, 10}));
    PumpUntilIdle();
    EXPECT_FALSE(platform::InNestedLoop());
    wnd.PostMessage(WM_PING, 1);
    wnd.PostMessage(WM_PING, 2);
    platform::RunModalLoop([&] {
        EXPECT_TRUE(platform::InNestedLoop());
        if (wnd.Count(WM_PING) == 1) {
            platform::DeferToOuterLoop(MSG{wnd.m_hWnd, WM_PING, 10, 0, 0, {}});
        }
        return wnd.Count(WM_PING) == 2;
    });
    EXPECT_EQ(wnd.Count(WM_PING), 2u) << "the deferred message waits while the nested loop runs";
    wnd.PostMessage(WM_PING, 3);
    platform::RunModalLoop([&] { return wnd.Count(WM_PING) == 3; });
    EXPECT_EQ(wnd.Count(WM_PING), 3u) << "and in any nested loop after it";
    wnd.PostMessage(WM_PING, 4);
    PumpUntilIdle();
    std::vector<WPARAM> order;
    for (const auto& ping : wnd.Of(WM_PING)) {
        order.push_back(ping.wParam);
    }
    EXPECT_EQ(order, (std::vector<WPARAM>{1, 2, 3, 10, 4}))
        << "the outer loop hands it out before what was posted after it";
    EXPECT_FALSE(platform::InNestedLoop());
}

TEST_F(WindowTest, DestroyingAWindowDestroysItsChildrenAndOwnedWindows) {
    RecordingWnd owner, owned, child;
    ASSERT_TRUE(owner.CreatePopup(RECT{0, 0, 100, 100}));
    ASSERT_TRUE(owned.CreatePopup(RECT{10, 10, 50, 50}, 0, owner.m_hWnd));
    ASSERT_TRUE(child.CreateButton(owner, RECT{0, 0, 10, 10}, 1));
    owner.DestroyWindow();
    EXPECT_EQ(owned.m_hWnd, nullptr);
    EXPECT_EQ(child.m_hWnd, nullptr);
    EXPECT_EQ(owned.Count(WM_DESTROY), 1u);
    EXPECT_EQ(child.Count(WM_DESTROY), 1u);
    EXPECT_TRUE(backend.stacking.empty());
}

TEST_F(WindowTest, CloseDestroysByDefault) {
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreatePopup(RECT{0, 0, 10, 10}));
    platform::DeliverCloseRequest(wnd.m_hWnd);
    PumpUntilIdle();
    EXPECT_EQ(wnd.Count(WM_CLOSE), 1u);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
}

TEST_F(WindowTest, ReportsOfTheDesktopThatArriveTogetherCountByTheLastOne) {
    struct Case {
        std::vector<bool> reports;
        std::vector<WPARAM> commands;
    };
    const Case cases[] = {
        {{true, false, true}, {SC_MINIMIZE}},
        {{true, true}, {SC_MINIMIZE}},
        {{true, false}, {}},
        {{false, true, false}, {}},
    };
    for (const Case& c : cases) {
        RecordingWnd wnd;
        ASSERT_TRUE(wnd.CreatePopup(RECT{0, 0, 10, 10}));
        for (bool minimized : c.reports) {
            platform::DeliverMinimizedByDesktop(wnd.m_hWnd, minimized);
        }
        PumpUntilIdle();
        std::vector<WPARAM> commands;
        for (const Received& r : wnd.Of(WM_SYSCOMMAND)) {
            commands.push_back(r.wParam);
        }
        EXPECT_EQ(commands, c.commands)
            << "after " << c.reports.size() << " reports ending in " << c.reports.back();
        EXPECT_EQ(wnd.IsIconic() != FALSE, c.reports.back());
    }
}

TEST_F(WindowTest, TheDesktopEchoingTheLayersOwnMinimiseIsNoNews) {
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreatePopup(RECT{0, 0, 10, 10}));
    wnd.ShowWindow(SW_MINIMIZE);
    platform::DeliverMinimizedByDesktop(wnd.m_hWnd, false);  // a state on the way there
    platform::DeliverMinimizedByDesktop(wnd.m_hWnd, true);
    wnd.ShowWindow(SW_RESTORE);  // before the loop looked at the echo
    PumpUntilIdle();
    EXPECT_FALSE(wnd.IsIconic());
    platform::DeliverMinimizedByDesktop(wnd.m_hWnd, false);
    PumpUntilIdle();
    EXPECT_EQ(wnd.Count(WM_SYSCOMMAND), 0u);
    EXPECT_FALSE(wnd.IsIconic());

    platform::DeliverMinimizedByDesktop(wnd.m_hWnd, true);
    PumpUntilIdle();
    EXPECT_EQ(wnd.Count(WM_SYSCOMMAND), 1u) << "once echoed, the desktop's own minimise is news again";
}

TEST_F(WindowTest, AMinimiseOrRestoreByTheDesktopArrivesAsASystemCommandOnlyWhenNew) {
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreatePopup(RECT{0, 0, 10, 10}));
    platform::DeliverMinimizedByDesktop(wnd.m_hWnd, false);
    PumpUntilIdle();
    EXPECT_EQ(wnd.Count(WM_SYSCOMMAND), 0u) << "already as the desktop says";

    platform::DeliverMinimizedByDesktop(wnd.m_hWnd, true);
    PumpUntilIdle();
    ASSERT_EQ(wnd.Count(WM_SYSCOMMAND), 1u);
    EXPECT_EQ(wnd.Of(WM_SYSCOMMAND)[0].wParam, SC_MINIMIZE);
    EXPECT_TRUE(wnd.IsIconic());
    EXPECT_TRUE(backend.WindowOf(wnd.m_hWnd)->minimized);
    platform::DeliverMinimizedByDesktop(wnd.m_hWnd, true);
    PumpUntilIdle();
    EXPECT_EQ(wnd.Count(WM_SYSCOMMAND), 1u);

    platform::DeliverMinimizedByDesktop(wnd.m_hWnd, false);
    PumpUntilIdle();
    ASSERT_EQ(wnd.Count(WM_SYSCOMMAND), 2u);
    EXPECT_EQ(wnd.Of(WM_SYSCOMMAND)[1].wParam, SC_RESTORE);
    EXPECT_FALSE(wnd.IsIconic());
}

TEST_F(WindowTest, IconsComeFromIconResourcesAndReachTheNativeWindow) {
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreatePopup(RECT{0, 0, 10, 10}));
    HICON icon = platform::LoadIcon(128);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(platform::LoadIcon(129), nullptr) << "no such resource";
    EXPECT_EQ(wnd.SetIcon(icon, TRUE), nullptr);
    wnd.SetIcon(icon, FALSE);
    EXPECT_EQ(backend.WindowOf(wnd.m_hWnd)->icon, 128);
    EXPECT_EQ(wnd.SetIcon(nullptr, TRUE), icon) << "the previous icon comes back";
}
