#pragma once
// A worker thread whose end its owner can wait for with a time-out and whose exit code it can read
// afterwards, as with a thread handle on Windows.

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "platform/base/event.h"

namespace platform {

// The exit code of a thread that has not ended yet.
constexpr int kStillActive = 259;

class Thread final {
public:
    // Runs `body` on a new thread; null when the system cannot create one.
    static std::unique_ptr<Thread> Start(std::function<int()> body);
    // Waits for the body to return. An owner that cannot wait must keep the object until it has.
    ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // True once the body has returned, false when `timeoutMs` passed first (kWaitForever: no limit).
    bool Wait(int timeoutMs) const { return m_ended.Wait(timeoutMs); }
    bool HasEnded() const { return m_ended.IsSet(); }
    // Set when the body has returned, for waiting on several things at once.
    const Event& Ended() const { return m_ended; }
    // The body's result, or kStillActive while it runs.
    int ExitCode() const { return m_exitCode.load(); }

private:
    Thread() = default;

    Event m_ended;
    std::atomic<int> m_exitCode{kStillActive};
    std::thread m_thread;
};

// Makes Thread::Start fail as it does when the system is out of threads (tests).
void SetThreadCreationFailsForTesting(bool fails);

}  // namespace platform
