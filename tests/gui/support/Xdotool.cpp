// Runs xdotool on the test display without blocking the test's thread.
#include "Xdotool.h"

#include <sys/wait.h>

#include <stdexcept>
#include <utility>

#include "ProgramControl.h"
#include "TestDisplay.h"
#include "WaitUntil.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace {

constexpr auto kStopGrace = std::chrono::seconds(1);

std::string Join(const std::vector<std::string>& args) {
    std::string text = "xdotool";
    for (const std::string& arg : args) {
        text += " " + arg;
    }
    return text;
}

}  // namespace

std::unique_ptr<Xdotool> Xdotool::Start(std::vector<std::string> args) {
    // Sets DISPLAY, which xdotool inherits.
    TestDisplay::Get();
    std::string program = FindProgram("xdotool");
    if (program.empty()) {
        throw std::runtime_error("xdotool is not on PATH (Debian package xdotool)");
    }
    auto folder = std::make_unique<TempDir>();
    args.insert(args.begin(), program);
    pid_t pid = StartProgram(args, *folder / "stderr.log");
    if (pid == -1) {
        throw std::runtime_error("cannot start " + program);
    }
    return std::unique_ptr<Xdotool>(new Xdotool(pid, std::move(folder)));
}

Xdotool::Xdotool(pid_t pid, std::unique_ptr<TempDir> folder) : m_pid(pid), m_folder(std::move(folder)) {}

Xdotool::~Xdotool() {
    if (!m_finished) {
        StopProgram(m_pid, kStopGrace);
    }
}

bool Xdotool::Finished() {
    if (m_finished) {
        return true;
    }
    int status = -1;
    if (!HasExited(m_pid, &status)) {
        return false;
    }
    m_finished = true;
    m_exitStatus = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
}

bool Xdotool::Wait(std::chrono::milliseconds timeout, const std::function<void()>& eachTurn) {
    return WaitUntil([this] { return Finished(); }, timeout, eachTurn);
}

std::string Xdotool::Errors() const {
    return ReadWholeFile(*m_folder / "stderr.log");
}

void RunXdotool(std::vector<std::string> args, std::chrono::milliseconds timeout) {
    std::string command = Join(args);
    std::unique_ptr<Xdotool> xdotool = Xdotool::Start(std::move(args));
    if (!xdotool->Wait(timeout)) {
        throw std::runtime_error(command + " was not done within " + std::to_string(timeout.count()) +
                                 " ms; its error output:\n" + xdotool->Errors());
    }
    if (xdotool->ExitStatus() != 0) {
        throw std::runtime_error(command + " failed (status " + std::to_string(xdotool->ExitStatus()) +
                                 "); its error output:\n" + xdotool->Errors());
    }
}
