// Tests of reading the display: stacking order with and without a window manager, and where windows are.

// Before Xlib, whose None macro breaks it.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "DesktopProgram.h"
#include "DesktopState.h"
#include "FailureScreenshot.h"
#include "PlainWindow.h"
#include "Screenshot.h"
#include "TestDisplay.h"
#include "WaitUntil.h"

namespace {

// The windows of `wanted` in the order StackingOrder lists them, bottom first.
std::vector<unsigned long> OrderOf(const std::vector<unsigned long>& wanted) {
    std::vector<unsigned long> order;
    for (unsigned long window : StackingOrder()) {
        if (std::find(wanted.begin(), wanted.end(), window) != wanted.end()) {
            order.push_back(window);
        }
    }
    return order;
}

// True once a window manager has put the window into a frame of its own.
bool Framed(unsigned long window) {
    Display* display = TestDisplay::Get().Connection();
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) {
        return false;
    }
    if (children != nullptr) {
        XFree(children);
    }
    return parent != root;
}

void Raise(unsigned long window) {
    Display* display = TestDisplay::Get().Connection();
    XRaiseWindow(display, window);
    XSync(display, False);
}

}  // namespace

TEST(StackingOrder, WithoutAWindowManagerListsMappedTopLevelsBottomFirst) {
    ASSERT_FALSE(WindowManagerRunning());
    PlainWindow lower({10, 10, 50, 50}, 0xff0000);
    PlainWindow upper({30, 30, 50, 50}, 0x00ff00);
    PlainWindow unmapped({50, 50, 50, 50}, 0x0000ff);
    lower.Map();
    upper.Map();

    std::vector<unsigned long> ours{lower.Id(), upper.Id(), unmapped.Id()};
    EXPECT_EQ(OrderOf(ours), (std::vector<unsigned long>{lower.Id(), upper.Id()}));
    Raise(lower.Id());
    EXPECT_EQ(OrderOf(ours), (std::vector<unsigned long>{upper.Id(), lower.Id()}));
}

TEST(StackingOrder, WithAWindowManagerListsClientWindowsNotFrames) {
    DesktopProgram windowManager = DesktopProgram::WindowManager();
    PlainWindow lower({10, 10, 50, 50}, 0xff0000);
    PlainWindow upper({30, 30, 50, 50}, 0x00ff00);
    lower.Map();
    upper.Map();

    std::vector<unsigned long> ours{lower.Id(), upper.Id()};
    auto both = [&] { return OrderOf(ours).size() == 2; };
    ASSERT_TRUE(WaitUntil(both, std::chrono::seconds(5))) << "the window manager took both windows";
    EXPECT_EQ(OrderOf(ours), (std::vector<unsigned long>{lower.Id(), upper.Id()}));
    // A client's raise request goes to the window manager, which restacks the frames.
    Raise(lower.Id());
    EXPECT_TRUE(WaitUntil(
        [&] {
            return OrderOf(ours) == std::vector<unsigned long>{upper.Id(), lower.Id()};
        },
        std::chrono::seconds(5)));
}

TEST(WindowGeometry, IsInRootCoordinatesInsideTheBorder) {
    PlainWindow parent({40, 30, 300, 200}, 0x808080);
    PlainWindow child({10, 20, 50, 60}, 0xffffff, PlainWindow::Kind::kOpaque, parent.Id());
    parent.Map();
    child.Map();

    EXPECT_EQ(WindowGeometry(parent.Id()), (WindowRect{40, 30, 300, 200}));
    EXPECT_EQ(WindowGeometry(child.Id()), (WindowRect{50, 50, 50, 60}));
    // Geometry does not depend on a window being shown.
    PlainWindow hidden({5, 6, 7, 8}, 0);
    EXPECT_EQ(WindowGeometry(hidden.Id()), (WindowRect{5, 6, 7, 8}));
}

TEST(WindowGeometry, UnderAWindowManagerIsWhereTheClientAreaShows) {
    DesktopProgram windowManager = DesktopProgram::WindowManager();
    constexpr uint32_t kColour = 0x3366cc;
    PlainWindow window({300, 200, 200, 150}, kColour);
    // Placed where asked, away from the screen's corner, so the position inside the frame differs from
    // the one on the screen.
    XSizeHints hints{};
    hints.flags = USPosition;
    hints.x = 300;
    hints.y = 200;
    XSetWMNormalHints(TestDisplay::Get().Connection(), window.Id(), &hints);
    window.Map();
    ASSERT_TRUE(WaitUntil([&] { return Framed(window.Id()); }, std::chrono::seconds(5)))
        << "the window manager framed the window";

    // Framed, the window's own position is relative to the frame; the area must be where it shows. The
    // window manager places the frame after taking the window, so both are read until they agree.
    std::optional<WindowRect> area;
    auto shows = [&] {
        area = WindowGeometry(window.Id());
        if (!area || area->x < 300 || area->y < 200) {
            return false;
        }
        Screenshot shot = TakeScreenshot();
        return shot.Pixel(area->x, area->y) == kColour &&
               shot.Pixel(area->x + area->width - 1, area->y + area->height - 1) == kColour &&
               shot.Pixel(area->x, area->y - 1) != kColour;
    };
    EXPECT_TRUE(WaitUntil(shows, std::chrono::seconds(5)))
        << "area " << (area ? *area : WindowRect{}) << "; " << SaveForInspection(TakeScreenshot());
    ASSERT_TRUE(area.has_value());
    EXPECT_EQ(area->width, 200);
    EXPECT_EQ(area->height, 150);
}

TEST(WindowGeometry, OfAWindowThatIsGoneIsEmpty) {
    PlainWindow window({1, 2, 3, 4}, 0);
    unsigned long id = window.Id();
    window.Destroy();
    EXPECT_FALSE(WindowGeometry(id).has_value());
    EXPECT_FALSE(WindowGeometry(0x7fffff0).has_value());
    // And the connection still works.
    EXPECT_EQ(WindowGeometry(DefaultRootWindow(TestDisplay::Get().Connection())),
              (WindowRect{0, 0, TestDisplay::Get().Width(), TestDisplay::Get().Height()}));
}
