// Tests of the private X server: its size, its independence of DISPLAY, and its end with the process.
//
// The process may also end killed, without running any of its clean-up.

// Before Xlib, whose None macro breaks it.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "ProgramControl.h"
#include "TestDisplay.h"
#include "WaitUntil.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

constexpr auto kEndTimeout = std::chrono::seconds(5);

struct HolderReport {
    std::string name;
    pid_t serverPid = -1;
    int exitStatus = -1;
};

// Runs display_holder, which starts a display of its own and ends as `how` says.
HolderReport RunHolder(const std::string& how) {
    TempDir folder;
    // A killed holder leaves its temporary folder behind; keep that inside ours.
    std::string previous = std::getenv("TMPDIR") != nullptr ? std::getenv("TMPDIR") : "";
    setenv("TMPDIR", folder.Path().c_str(), 1);
    pid_t pid = StartProgram({DISPLAY_HOLDER_PATH, folder / "report", how}, folder / "stderr");
    if (previous.empty()) {
        unsetenv("TMPDIR");
    } else {
        setenv("TMPDIR", previous.c_str(), 1);
    }
    int status = -1;
    WaitUntil([&] { return HasExited(pid, &status); }, std::chrono::seconds(15));
    HolderReport report;
    report.exitStatus = status;
    std::istringstream(ReadWholeFile(folder / "report")) >> report.name >> report.serverPid;
    EXPECT_FALSE(report.name.empty())
        << "display_holder " << DescribeWaitStatus(status) << ": " << TailOfFile(folder / "stderr");
    return report;
}

// "socket:[inode]" for each socket listening for X connections to display ":N".
std::vector<std::string> ListeningSocketsOf(const std::string& name) {
    std::vector<std::string> sockets;
    std::string path = "/tmp/.X11-unix/X" + name.substr(1);
    std::istringstream table(ReadWholeFile("/proc/net/unix"));
    std::string line;
    while (std::getline(table, line)) {
        // Num RefCount Protocol Flags Type St Inode Path; the path is filesystem or abstract ("@").
        std::istringstream fields(line);
        std::string num, refs, protocol, flags, type, state, inode, socketPath;
        fields >> num >> refs >> protocol >> flags >> type >> state >> inode >> socketPath;
        if (socketPath == path || socketPath == "@" + path) {
            sockets.push_back("socket:[" + inode + "]");
        }
    }
    return sockets;
}

std::vector<std::string> SocketsHeldBy(pid_t pid) {
    std::vector<std::string> sockets;
    std::string folder = "/proc/" + std::to_string(pid) + "/fd";
    for (const std::string& fd : FilesIn(folder)) {
        char target[256];
        ssize_t length = readlink((folder + "/" + fd).c_str(), target, sizeof target - 1);
        if (length > 0) {
            sockets.emplace_back(target, static_cast<std::size_t>(length));
        }
    }
    return sockets;
}

// A server the holder failed to stop must not outlive the test.
void KillIfLeft(pid_t pid) {
    if (pid > 0 && !ProcessGone(pid)) {
        kill(pid, SIGKILL);
    }
}

}  // namespace

TEST(TestDisplay, IsOneScreenOfTheSizeTestsExpect) {
    TestDisplay& testDisplay = TestDisplay::Get();
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr) << "DISPLAY=" << std::getenv("DISPLAY");
    EXPECT_EQ(DisplayString(display), testDisplay.Name()) << "DISPLAY names the test display";
    EXPECT_EQ(ScreenCount(display), 1);
    EXPECT_EQ(DisplayWidth(display, 0), 1280);
    EXPECT_EQ(DisplayHeight(display, 0), 1024);
    EXPECT_EQ(DefaultDepth(display, 0), 24);
    EXPECT_EQ(testDisplay.Width(), 1280);
    EXPECT_EQ(testDisplay.Height(), 1024);
    XCloseDisplay(display);
}

TEST(TestDisplay, IsServedByTheXvfbItStarted) {
    TestDisplay& testDisplay = TestDisplay::Get();
    std::vector<std::string> sockets = ListeningSocketsOf(testDisplay.Name());
    ASSERT_FALSE(sockets.empty()) << "nothing listens for " << testDisplay.Name();
    std::vector<std::string> held = SocketsHeldBy(testDisplay.ServerPid());
    for (const std::string& socket : sockets) {
        EXPECT_NE(std::find(held.begin(), held.end(), socket), held.end())
            << socket << " of " << testDisplay.Name() << " is not held by the Xvfb started";
    }
    EXPECT_EQ(waitpid(testDisplay.ServerPid(), nullptr, WNOHANG), 0) << "a running child of this process";
}

TEST(TestDisplay, StartsItsOwnServerWhenDisplayAlreadyNamesOne) {
    // The holder inherits DISPLAY naming this process's server, a working one.
    TestDisplay& ours = TestDisplay::Get();
    HolderReport holder = RunHolder("exit");
    EXPECT_NE(holder.name, ours.Name());
    EXPECT_NE(holder.serverPid, ours.ServerPid());
    const char* display = std::getenv("DISPLAY");
    EXPECT_EQ(display != nullptr ? display : "", ours.Name()) << "a child's display does not change ours";
    KillIfLeft(holder.serverPid);
}

TEST(TestDisplay, StopsItsServerWhenTheProcessExits) {
    HolderReport holder = RunHolder("exit");
    EXPECT_TRUE(WIFEXITED(holder.exitStatus) && WEXITSTATUS(holder.exitStatus) == 0)
        << DescribeWaitStatus(holder.exitStatus);
    ASSERT_GT(holder.serverPid, 0);
    // Stopped and reaped before the holder ended: nothing to wait for.
    EXPECT_TRUE(ProcessGone(holder.serverPid));
    KillIfLeft(holder.serverPid);
}

TEST(TestDisplay, ItsServerEndsWhenTheProcessIsKilled) {
    HolderReport holder = RunHolder("kill");
    EXPECT_TRUE(WIFSIGNALED(holder.exitStatus)) << DescribeWaitStatus(holder.exitStatus);
    ASSERT_GT(holder.serverPid, 0);
    EXPECT_TRUE(WaitUntil([&] { return ProcessGone(holder.serverPid); }, kEndTimeout));
    KillIfLeft(holder.serverPid);
}
