// Tests of xdotool input: pointer moves, running beside the test, events delivered, failures reported.

// Before Xlib, whose None macro breaks it.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <chrono>
#include <stdexcept>
#include <string>

#include "DesktopState.h"
#include "PlainWindow.h"
#include "ProgramControl.h"
#include "TestDisplay.h"
#include "WaitUntil.h"
#include "Xdotool.h"

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds since `start`, readable in a failure message.
long long MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}
constexpr auto kTimeout = std::chrono::seconds(5);

bool PointerAt(int x, int y) {
    int atX = -1;
    int atY = -1;
    return PointerPosition(atX, atY) && atX == x && atY == y;
}

}  // namespace

TEST(Xdotool, RunMovesThePointer) {
    RunXdotool({"mousemove", "321", "234"});
    EXPECT_TRUE(WaitUntil([] { return PointerAt(321, 234); }, kTimeout));
    RunXdotool({"mousemove", "5", "1000"});
    EXPECT_TRUE(WaitUntil([] { return PointerAt(5, 1000); }, kTimeout));
}

TEST(Xdotool, StartReturnsWhileXdotoolStillWorks) {
    TestDisplay::Get();
    auto start = Clock::now();
    std::unique_ptr<Xdotool> xdotool = Xdotool::Start({"sleep", "1", "mousemove", "77", "88"});
    EXPECT_LT(MillisecondsSince(start), 300);
    EXPECT_FALSE(xdotool->Finished());
    EXPECT_EQ(xdotool->ExitStatus(), -1);

    ASSERT_TRUE(xdotool->Wait(kTimeout));
    EXPECT_EQ(xdotool->ExitStatus(), 0) << xdotool->Errors();
    EXPECT_TRUE(WaitUntil([] { return PointerAt(77, 88); }, kTimeout));
}

TEST(Xdotool, ClickReachesAWindowWhileTheTestHandlesEvents) {
    Display* display = TestDisplay::Get().Connection();
    PlainWindow window({100, 100, 100, 100}, 0x808080);
    XSelectInput(display, window.Id(), ButtonPressMask);
    window.Map();

    int turns = 0;
    bool pressed = false;
    int pressX = -1;
    int pressY = -1;
    auto handleEvents = [&] {
        ++turns;
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ButtonPress && event.xbutton.window == window.Id()) {
                pressed = true;
                pressX = event.xbutton.x;
                pressY = event.xbutton.y;
            }
        }
    };
    std::unique_ptr<Xdotool> xdotool = Xdotool::Start({"mousemove", "150", "130", "click", "1"});
    ASSERT_TRUE(xdotool->Wait(kTimeout, handleEvents));
    EXPECT_EQ(xdotool->ExitStatus(), 0) << xdotool->Errors();
    EXPECT_TRUE(WaitUntil([&] { return pressed; }, kTimeout, handleEvents));
    EXPECT_GT(turns, 0);
    EXPECT_EQ(pressX, 50);
    EXPECT_EQ(pressY, 30);
}

TEST(Xdotool, ReportsAFailingCommand) {
    std::unique_ptr<Xdotool> xdotool = Xdotool::Start({"velmora-no-such-command"});
    ASSERT_TRUE(xdotool->Wait(kTimeout));
    EXPECT_NE(xdotool->ExitStatus(), 0);
    EXPECT_NE(xdotool->Errors().find("velmora-no-such-command"), std::string::npos) << xdotool->Errors();

    try {
        RunXdotool({"velmora-no-such-command"});
        ADD_FAILURE() << "RunXdotool did not throw";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("velmora-no-such-command"), std::string::npos)
            << error.what();
    }
}

TEST(Xdotool, RunGivesUpOnOneThatTakesTooLong) {
    TestDisplay::Get();
    auto start = Clock::now();
    EXPECT_THROW(RunXdotool({"sleep", "30"}, std::chrono::milliseconds(200)), std::runtime_error);
    EXPECT_LT(MillisecondsSince(start), 3000);
}

TEST(Xdotool, DestroyingAnUnfinishedRunEndsIt) {
    std::unique_ptr<Xdotool> xdotool = Xdotool::Start({"sleep", "30"});
    pid_t pid = xdotool->Pid();
    auto start = Clock::now();
    xdotool.reset();
    EXPECT_LT(MillisecondsSince(start), 3000);
    EXPECT_TRUE(ProcessGone(pid));
}
