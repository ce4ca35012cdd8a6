#pragma once
// A desktop program (window manager, compositor or tray host) running on the test display while it lives.
//
// For tests of how windows behave on a real desktop.

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TempDir;

class DesktopProgram {
public:
    static constexpr std::chrono::milliseconds kStartTimeout{5000};

    // openbox, set up to stay out of the way: one desktop, no margins, no key bindings (every key reaches
    // the windows), no snapping at edges, no animations; clicks focus and raise, title bars move windows,
    // borders resize them. Ready once it has claimed the screen (_NET_SUPPORTING_WM_CHECK) and finished
    // starting, so it takes every window mapped from then on.
    static DesktopProgram WindowManager();
    // xcompmgr without shadows or fading: per-pixel alpha of ARGB windows shows on screen. Ready once it
    // owns _NET_WM_CM_S0.
    static DesktopProgram Compositor();
    // trayer, a system tray host of 100x32 pixels at the bottom right corner, reserving no screen space.
    // Ready once it owns _NET_SYSTEM_TRAY_S0, so a status icon made after that embeds in it.
    static DesktopProgram Tray();

    // Starts args (args[0] looked up on PATH) on the test display and waits until `running` says it is
    // ready. Throws std::runtime_error, with the program's error output, when it cannot be started, ends
    // first, or is not ready within `timeout` (it is stopped then).
    DesktopProgram(std::vector<std::string> args, std::function<bool()> running,
                   std::chrono::milliseconds timeout = kStartTimeout);
    DesktopProgram(DesktopProgram&& other) noexcept;
    DesktopProgram& operator=(DesktopProgram&&) = delete;
    // Stops the program (SIGTERM, then SIGKILL), reaps it, and waits a little for the server to drop what
    // it held, so that `running` is false when a test goes on.
    ~DesktopProgram();

    const std::string& Name() const { return m_name; }
    pid_t Pid() const { return m_pid; }

private:
    // `folder` holds the program's log and any files it reads (openbox's configuration).
    DesktopProgram(std::unique_ptr<TempDir> folder, std::vector<std::string> args,
                   std::function<bool()> running, std::chrono::milliseconds timeout);

    std::unique_ptr<TempDir> m_folder;
    std::string m_name;
    pid_t m_pid = -1;
    std::function<bool()> m_running;
};
