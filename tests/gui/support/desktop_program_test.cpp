// Tests of DesktopProgram: ready while it lives, gone once it is, failing promptly, openbox kept quiet.
//
// Gone means reaped and without the X resources it held; a program that cannot run fails the test at once
// or when its time is up, never later.

// Before Xlib, whose None macro breaks it.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "DesktopProgram.h"
#include "DesktopState.h"
#include "PlainWindow.h"
#include "ProgramControl.h"
#include "TestDisplay.h"
#include "WaitUntil.h"
#include "Xdotool.h"
#include "support/TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds since `start`, readable in a failure message.
long long MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

struct ProgramCase {
    std::string name;
    std::function<DesktopProgram()> start;
    // What shows on the display while the program runs.
    std::function<bool()> running;
};

std::vector<ProgramCase> Programs() {
    return {
        {"WindowManager", DesktopProgram::WindowManager, WindowManagerRunning},
        {"Compositor", DesktopProgram::Compositor, [] { return SelectionOwner("_NET_WM_CM_S0") != 0; }},
        {"Tray", DesktopProgram::Tray, [] { return SelectionOwner("_NET_SYSTEM_TRAY_S0") != 0; }},
    };
}

bool IsOurChild(pid_t pid) {
    return waitpid(pid, nullptr, WNOHANG) == 0;
}

// The pids of this process's children running `command`: the kernel here may not list children itself.
std::vector<pid_t> ChildrenRunning(const std::string& command) {
    std::vector<pid_t> found;
    std::string self = std::to_string(getpid());
    for (const std::string& entry : FilesIn("/proc")) {
        if (entry.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::string stat = ReadWholeFile("/proc/" + entry + "/stat");
        std::size_t close = stat.rfind(')');
        if (close == std::string::npos || stat.compare(0, stat.find(' '), entry) != 0) {
            continue;
        }
        // After ") " come the state and the parent's pid.
        std::string parent = stat.substr(close + 4, stat.find(' ', close + 4) - close - 4);
        if (parent == self && ReadWholeFile("/proc/" + entry + "/comm") == command + "\n") {
            found.push_back(std::stoi(entry));
        }
    }
    return found;
}

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "";
}

}  // namespace

class DesktopProgramTest : public testing::TestWithParam<ProgramCase> {};

TEST_P(DesktopProgramTest, IsReadyWhileItLivesAndGoneAfter) {
    const ProgramCase& program = GetParam();
    TestDisplay::Get();
    ASSERT_FALSE(program.running()) << "nothing else runs on a fresh display";
    pid_t pid = -1;
    {
        DesktopProgram running = program.start();
        pid = running.Pid();
        EXPECT_TRUE(program.running());
        EXPECT_TRUE(IsOurChild(pid));
    }
    EXPECT_TRUE(ProcessGone(pid));
    EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), -1) << "reaped";
    EXPECT_FALSE(program.running()) << "the server has dropped what it held";
}

TEST_P(DesktopProgramTest, CanStartAgainAfterItStopped) {
    const ProgramCase& program = GetParam();
    { DesktopProgram first = program.start(); }
    DesktopProgram second = program.start();
    EXPECT_TRUE(program.running());
}

INSTANTIATE_TEST_SUITE_P(Each, DesktopProgramTest, testing::ValuesIn(Programs()),
                         [](const testing::TestParamInfo<ProgramCase>& program) {
                             return program.param.name;
                         });

TEST(DesktopProgram, AllRunTogether) {
    DesktopProgram windowManager = DesktopProgram::WindowManager();
    DesktopProgram compositor = DesktopProgram::Compositor();
    DesktopProgram tray = DesktopProgram::Tray();
    EXPECT_TRUE(WindowManagerRunning());
    EXPECT_NE(SelectionOwner("_NET_WM_CM_S0"), 0u);
    EXPECT_NE(SelectionOwner("_NET_SYSTEM_TRAY_S0"), 0u);
}

TEST(DesktopProgram, MovedObjectStopsTheProgramOnce) {
    pid_t pid = -1;
    {
        DesktopProgram first = DesktopProgram::Compositor();
        pid = first.Pid();
        DesktopProgram second(std::move(first));
        EXPECT_EQ(second.Pid(), pid);
        EXPECT_TRUE(IsOurChild(pid)) << "moving does not stop it";
    }
    EXPECT_TRUE(ProcessGone(pid));
}

TEST(DesktopProgramFailure, MissingProgramFailsAtOnce) {
    TestDisplay::Get();
    auto start = Clock::now();
    std::string message = MessageOf([] { DesktopProgram({"velmora-no-such-program"}, [] { return true; }); });
    EXPECT_LT(MillisecondsSince(start), 1000);
    EXPECT_NE(message.find("velmora-no-such-program"), std::string::npos) << message;
    EXPECT_NE(message.find("no such program"), std::string::npos) << message;
}

TEST(DesktopProgramFailure, ProgramThatEndsEarlyFailsWithoutWaitingOutItsTime) {
    TestDisplay::Get();
    auto start = Clock::now();
    std::string message = MessageOf([] {
        DesktopProgram(
            {"false"}, [] { return false; }, std::chrono::seconds(5));
    });
    EXPECT_LT(MillisecondsSince(start), 2000);
    EXPECT_NE(message.find("exited with status 1"), std::string::npos) << message;
}

TEST(DesktopProgramFailure, ProgramNeverReadyIsStoppedWhenItsTimeIsUp) {
    TestDisplay::Get();
    auto start = Clock::now();
    std::string message = MessageOf([] {
        DesktopProgram(
            {"sleep", "30"}, [] { return false; }, std::chrono::milliseconds(300));
    });
    long long took = MillisecondsSince(start);
    EXPECT_GE(took, 300);
    EXPECT_LT(took, 4000);
    EXPECT_NE(message.find("not ready within 300 ms"), std::string::npos) << message;
    EXPECT_TRUE(ChildrenRunning("sleep").empty()) << "stopped and reaped";
}

TEST(DesktopProgramFailure, MessageCarriesTheProgramsErrorOutput) {
    TestDisplay::Get();
    std::string message = MessageOf([] {
        DesktopProgram({"ls", "/velmora-no-such-folder"}, [] { return false; });
    });
    EXPECT_NE(message.find("velmora-no-such-folder"), std::string::npos) << message;
}

TEST(WindowManagerSetUp, LeavesClicksAndKeysToTheWindows) {
    DesktopProgram windowManager = DesktopProgram::WindowManager();
    Display* display = TestDisplay::Get().Connection();
    PlainWindow window({200, 200, 200, 100}, 0x808080);
    XSelectInput(display, window.Id(), ButtonPressMask | KeyPressMask);
    window.Map();
    auto focused = [&] {
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(display, &focus, &revert);
        return focus == window.Id();
    };
    ASSERT_TRUE(WaitUntil(focused, std::chrono::seconds(5))) << "a new window gets the focus";
    std::optional<WindowRect> area = WindowGeometry(window.Id());
    ASSERT_TRUE(area.has_value());

    bool pressed = false;
    std::vector<KeySym> keys;
    auto handleEvents = [&] {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            pressed = pressed || event.type == ButtonPress;
            if (event.type == KeyPress) {
                keys.push_back(XLookupKeysym(&event.xkey, 0));
            }
        }
    };
    // A plain press in the client area, and keys window managers commonly bind; what counts is the key
    // itself, after its modifiers.
    RunXdotool({"mousemove", std::to_string(area->x + 100), std::to_string(area->y + 50), "click", "1"});
    EXPECT_TRUE(WaitUntil([&] { return pressed; }, std::chrono::seconds(5), handleEvents));
    for (auto [combination, key] : {std::pair{"alt+F4", XK_F4}, std::pair{"alt+Tab", XK_Tab},
                                    std::pair{"ctrl+alt+Right", XK_Right}, std::pair{"super+d", XK_d}}) {
        keys.clear();
        RunXdotool({"key", combination});
        auto got = [&, key = key] { return std::find(keys.begin(), keys.end(), key) != keys.end(); };
        EXPECT_TRUE(WaitUntil(got, std::chrono::seconds(5), handleEvents)) << combination;
    }
}
