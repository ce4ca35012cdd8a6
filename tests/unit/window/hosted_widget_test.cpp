// A native widget hosted by a child window follows the child: its place in the top-level window, shown
// only while the child and all its parents are, and taken out when the child goes.
#include "WindowTestSupport.h"

namespace {

platform::NativeWidget* FakeWidget(int n) {
    static int storage[4];
    return reinterpret_cast<platform::NativeWidget*>(&storage[n]);
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class HostedWidgetTest : public WindowTest {
protected:
    HostedWidgetTest() {
        platform::RegisterWindowClass(L"Panel", 0);
        top.CreatePopup(RECT{100, 100, 600, 500});
        panel.Create(L"Panel", L"", WS_CHILD | WS_VISIBLE, RECT{10, 10, 310, 210}, &top, 1);
        host.Create(L"Panel", L"", WS_CHILD | WS_VISIBLE, RECT{5, 5, 105, 55}, &panel, 2);
        host.HostNativeWidget(FakeWidget(0));
    }

    const platform::headless::HeadlessWindow::WidgetPlace* Place(platform::NativeWidget* widget) {
        auto& widgets = backend.WindowOf(top.GetSafeHwnd())->widgets;
        auto found = widgets.find(widget);
        return found == widgets.end() ? nullptr : &found->second;
    }

    RecordingWnd top;
    RecordingWnd panel;
    RecordingWnd host;
};

}  // namespace

TEST_F(HostedWidgetTest, FollowsItsChildThroughMovesOfAnyParent) {
    ASSERT_NE(Place(FakeWidget(0)), nullptr);
    EXPECT_TRUE(SameRect(Place(FakeWidget(0))->rect, RECT{15, 15, 115, 65})) << "in top-level coordinates";
    EXPECT_TRUE(Place(FakeWidget(0))->visible);

    panel.MoveWindow(40, 30, 300, 200);
    EXPECT_TRUE(SameRect(Place(FakeWidget(0))->rect, RECT{45, 35, 145, 85})) << "a parent's move";
    host.SetWindowPos(nullptr, 0, 0, 200, 100, SWP_NOZORDER);
    EXPECT_TRUE(SameRect(Place(FakeWidget(0))->rect, RECT{40, 30, 240, 130})) << "its own move and size";
    top.MoveWindow(0, 0, 500, 400);
    EXPECT_TRUE(SameRect(Place(FakeWidget(0))->rect, RECT{40, 30, 240, 130})) << "the top-level's move";
}

TEST_F(HostedWidgetTest, IsShownOnlyWhileEveryParentIs) {
    panel.ShowWindow(SW_HIDE);
    EXPECT_FALSE(Place(FakeWidget(0))->visible);
    panel.ShowWindow(SW_SHOW);
    EXPECT_TRUE(Place(FakeWidget(0))->visible);
    host.ShowWindow(SW_HIDE);
    EXPECT_FALSE(Place(FakeWidget(0))->visible);
}

TEST_F(HostedWidgetTest, IsTakenOutWhenReplacedOrWhenItsChildGoes) {
    host.HostNativeWidget(FakeWidget(1));
    EXPECT_EQ(Place(FakeWidget(0)), nullptr);
    ASSERT_NE(Place(FakeWidget(1)), nullptr);
    host.DestroyWindow();
    EXPECT_EQ(Place(FakeWidget(1)), nullptr);
    EXPECT_EQ(host.HostedWidget(), nullptr);

    top.HostNativeWidget(FakeWidget(2));
    EXPECT_EQ(top.HostedWidget(), nullptr) << "a top-level window has no child place to put it";
}
