#pragma once
// The UI thread's message queue: posted messages (from any thread), window timers and the layer's own
// delayed tasks, in the order Windows hands them out: posted messages first, then timers. Painting is
// the window layer's business (see message_loop.h), slotted between the two.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

#include "platform/ui/win_messages.h"

namespace platform {

class MessageQueue final {
public:
    static MessageQueue& Instance();

    // Any thread. Messages for windows that are gone by the time they would be handed out are dropped
    // by the loop. Returns false only for a null window.
    bool Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void PostQuit(int exitCode);

    // UI thread. Takes the oldest posted message; with `withHeld`, messages held for the outermost loop
    // come first, as they were posted before anything still waiting.
    bool TakePosted(MSG& msg, bool withHeld = true);
    // UI thread. Keeps `msg` until TakePosted is called with `withHeld`.
    void Hold(const MSG& msg);
    bool HasPosted();
    // A quit request, once taken, is forgotten: a nested loop that saw it leaves and hands it on.
    bool TakeQuit(int& exitCode);
    bool QuitPending();

    // Window timers: at most one WM_TIMER per timer is pending however late the loop is, as on Windows.
    void SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs);
    bool KillTimer(HWND hwnd, UINT_PTR id);
    void KillTimers(HWND hwnd);
    // The WM_TIMER of the earliest due timer, which is then set to fire again one period later.
    bool TakeDueTimer(MSG& msg);

    // One-shot work of the layer itself (hover detection, tooltips), run by the loop when due.
    using TaskId = std::uint64_t;
    TaskId Schedule(UINT delayMs, std::function<void()> task);
    void Cancel(TaskId id);
    bool RunDueTask();

    // When the next timer or task is due, for a loop that sleeps until then.
    std::optional<std::uint64_t> NextDueMs();

    // Called from Post on any thread, so a sleeping loop wakes up.
    void SetWaker(std::function<void()> waker);

    // Drops everything (tests).
    void Reset();

private:
    struct Timer {
        UINT elapse;
        std::uint64_t due;
    };
    struct Task {
        std::uint64_t due;
        std::function<void()> run;
    };

    std::mutex m_lock;  // guards m_posted, m_quit and m_waker; the rest is UI-thread only
    std::deque<MSG> m_posted;
    std::optional<int> m_quit;
    std::function<void()> m_waker;
    std::deque<MSG> m_held;  // UI-thread only

    std::map<std::pair<HWND, UINT_PTR>, Timer> m_timers;
    std::map<TaskId, Task> m_tasks;
    TaskId m_nextTask = 1;
};

}  // namespace platform
