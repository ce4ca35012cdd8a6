// Starts and stops the private Xvfb of a GUI test process.
#include "TestDisplay.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "ProgramControl.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

constexpr auto kStartTimeout = std::chrono::seconds(10);
constexpr auto kStopGrace = std::chrono::seconds(3);
constexpr const char* kScreen = "1280x1024x24";

// Reads what Xvfb writes to -displayfd (the display number and a newline, once it takes connections).
// Returns the number, or "" when Xvfb closed the pipe (it ended) or the time ran out.
std::string ReadDisplayNumber(int fd, std::chrono::steady_clock::time_point deadline) {
    std::string text;
    while (text.find('\n') == std::string::npos) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                          std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return "";
        }
        pollfd entry{fd, POLLIN, 0};
        int ready = poll(&entry, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return "";
        }
        char buffer[32];
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return "";
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text.substr(0, text.find('\n'));
}

}  // namespace

TestDisplay& TestDisplay::Get() {
    // Destroyed at exit, after everything made later (a toolkit's display, desktop programs held in statics).
    static TestDisplay display;
    return display;
}

TestDisplay::TestDisplay() : m_folder(std::make_unique<TempDir>()), m_ownerPid(getpid()) {
    try {
        Start();
    } catch (...) {
        Stop();
        throw;
    }
}

TestDisplay::~TestDisplay() {
    Stop();
}

void TestDisplay::Start() {
    std::string xvfb = FindProgram("Xvfb");
    if (xvfb.empty()) {
        throw std::runtime_error("Xvfb is not on PATH (Debian package xvfb)");
    }
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot create a pipe for Xvfb's display number");
    }
    // Only the write end goes to Xvfb; ours must close in Xvfb so that its death reads as end of file.
    fcntl(pipeFds[1], F_SETFD, 0);
    std::string log = *m_folder / "Xvfb.log";
    // -terminate ends the server when its last client goes: if this process dies without running its
    // destructors (killed at a timeout, crashed), Xvfb still goes away with the connection held below.
    m_serverPid = StartProgram({xvfb, "-displayfd", std::to_string(pipeFds[1]), "-screen", "0", kScreen,
                                "-nolisten", "tcp", "-br", "-terminate"},
                               log);
    close(pipeFds[1]);
    if (m_serverPid == -1) {
        close(pipeFds[0]);
        throw std::runtime_error("cannot start " + xvfb);
    }
    auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    std::string number = ReadDisplayNumber(pipeFds[0], deadline);
    close(pipeFds[0]);
    if (number.empty()) {
        int status = -1;
        std::string what =
            "Xvfb did not report a display within " + std::to_string(kStartTimeout.count()) + " s";
        if (HasExited(m_serverPid, &status)) {
            m_serverPid = -1;
            what = "Xvfb " + DescribeWaitStatus(status) + " before reporting a display";
        }
        throw std::runtime_error(what + "; its output:\n" + TailOfFile(log));
    }
    m_name = ":" + number;
    while ((m_connection = XOpenDisplay(m_name.c_str())) == nullptr) {
        if (std::chrono::steady_clock::now() >= deadline) {
            throw std::runtime_error("Xvfb reported display " + m_name +
                                     " but does not take connections; its output:\n" + TailOfFile(log));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    m_width = DisplayWidth(m_connection, DefaultScreen(m_connection));
    m_height = DisplayHeight(m_connection, DefaultScreen(m_connection));
    setenv("DISPLAY", m_name.c_str(), 1);
    // A toolkit prefers Wayland when it sees one, and the test would then run on the real desktop.
    unsetenv("WAYLAND_DISPLAY");
    setenv("GDK_BACKEND", "x11", 1);
}

void TestDisplay::Stop() {
    // A forked child (a death test) shares the server with its parent and must leave it running.
    if (getpid() != m_ownerPid) {
        return;
    }
    // Closed while the server lives: Xlib ends the process when it finds the server gone.
    if (m_connection != nullptr) {
        XCloseDisplay(m_connection);
        m_connection = nullptr;
    }
    if (m_serverPid > 0) {
        StopProgram(m_serverPid, kStopGrace);
        m_serverPid = -1;
    }
}
