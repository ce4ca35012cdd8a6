#pragma once
// Pointer and keyboard input for GUI tests, sent by xdotool on the test display.
//
// xdotool runs beside the test: a test whose windows live in a toolkit's main loop keeps turning that loop
// until xdotool is done, or the events it sends are never handled.

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TempDir;

class Xdotool {
public:
    // Starts `xdotool args...` (for example {"mousemove", "100", "200", "click", "1"}) on the test display
    // and returns at once. Throws std::runtime_error when xdotool cannot be started.
    static std::unique_ptr<Xdotool> Start(std::vector<std::string> args);

    // Ends xdotool if it still runs, so that no input arrives after the test.
    ~Xdotool();
    Xdotool(const Xdotool&) = delete;
    Xdotool& operator=(const Xdotool&) = delete;

    // True once xdotool has ended; never blocks.
    bool Finished();
    // Waits until xdotool has ended or `timeout` has passed, running `eachTurn` (one non-blocking turn of
    // the test's main loop, say) in between. True when it ended.
    bool Wait(std::chrono::milliseconds timeout, const std::function<void()>& eachTurn = {});
    // Its exit status once it has ended normally; -1 before, or when it was killed.
    int ExitStatus() const { return m_exitStatus; }
    // What it wrote to stderr (its complaints about bad arguments, a window it could not find).
    std::string Errors() const;
    pid_t Pid() const { return m_pid; }

private:
    Xdotool(pid_t pid, std::unique_ptr<TempDir> folder);

    pid_t m_pid;
    std::unique_ptr<TempDir> m_folder;
    bool m_finished = false;
    int m_exitStatus = -1;
};

// Runs `xdotool args...` to its end, for tests that have no main loop to keep turning. Throws
// std::runtime_error, with xdotool's error output, when it fails or is not done within `timeout`.
void RunXdotool(std::vector<std::string> args, std::chrono::milliseconds timeout = std::chrono::seconds(5));
