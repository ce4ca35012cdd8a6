// The message queue in plain C++: a locked deque for posts, ordered maps for timers and tasks.
#include "platform/ui/message_queue.h"

#include "platform/base/clock.h"

namespace platform {

MessageQueue& MessageQueue::Instance() {
    // Never destroyed: a worker thread that outlives main may still post to it.
    static MessageQueue& queue = *new MessageQueue;
    return queue;
}

bool MessageQueue::Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd == nullptr) {
        return false;
    }
    std::function<void()> waker;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_posted.push_back(
            MSG{hwnd, message, wParam, lParam, static_cast<DWORD>(CurrentClock().NowMs()), {}});
        waker = m_waker;
    }
    if (waker) {
        waker();
    }
    return true;
}

void MessageQueue::PostQuit(int exitCode) {
    std::function<void()> waker;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_quit = exitCode;
        waker = m_waker;
    }
    if (waker) {
        waker();
    }
}

bool MessageQueue::TakePosted(MSG& msg, bool withHeld) {
    if (withHeld && !m_held.empty()) {
        msg = m_held.front();
        m_held.pop_front();
        return true;
    }
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_posted.empty()) {
        return false;
    }
    msg = m_posted.front();
    m_posted.pop_front();
    return true;
}

void MessageQueue::Hold(const MSG& msg) {
    m_held.push_back(msg);
}

bool MessageQueue::HasPosted() {
    std::lock_guard<std::mutex> guard(m_lock);
    return !m_posted.empty();
}

bool MessageQueue::TakeQuit(int& exitCode) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_quit) {
        return false;
    }
    exitCode = *m_quit;
    m_quit.reset();
    return true;
}

bool MessageQueue::QuitPending() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_quit.has_value();
}

void MessageQueue::SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs) {
    // Windows raises a zero period to its minimum; a timer that fires on every pass would starve the loop.
    UINT elapse = elapseMs < 10 ? 10 : elapseMs;
    m_timers[{hwnd, id}] = Timer{elapse, CurrentClock().NowMs() + elapse};
}

bool MessageQueue::KillTimer(HWND hwnd, UINT_PTR id) {
    return m_timers.erase({hwnd, id}) > 0;
}

void MessageQueue::KillTimers(HWND hwnd) {
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        it = it->first.first == hwnd ? m_timers.erase(it) : std::next(it);
    }
}

bool MessageQueue::TakeDueTimer(MSG& msg) {
    const std::uint64_t now = CurrentClock().NowMs();
    auto earliest = m_timers.end();
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
        if (it->second.due <= now && (earliest == m_timers.end() || it->second.due < earliest->second.due)) {
            earliest = it;
        }
    }
    if (earliest == m_timers.end()) {
        return false;
    }
    earliest->second.due = now + earliest->second.elapse;
    msg = MSG{earliest->first.first, WM_TIMER, earliest->first.second, 0, static_cast<DWORD>(now), {}};
    return true;
}

MessageQueue::TaskId MessageQueue::Schedule(UINT delayMs, std::function<void()> task) {
    TaskId id = m_nextTask++;
    m_tasks[id] = Task{CurrentClock().NowMs() + delayMs, std::move(task)};
    return id;
}

void MessageQueue::Cancel(TaskId id) {
    m_tasks.erase(id);
}

bool MessageQueue::RunDueTask() {
    const std::uint64_t now = CurrentClock().NowMs();
    for (auto it = m_tasks.begin(); it != m_tasks.end(); ++it) {
        if (it->second.due <= now) {
            std::function<void()> run = std::move(it->second.run);
            m_tasks.erase(it);
            run();
            return true;
        }
    }
    return false;
}

std::optional<std::uint64_t> MessageQueue::NextDueMs() {
    std::optional<std::uint64_t> next;
    for (const auto& timer : m_timers) {
        if (!next || timer.second.due < *next) {
            next = timer.second.due;
        }
    }
    for (const auto& task : m_tasks) {
        if (!next || task.second.due < *next) {
            next = task.second.due;
        }
    }
    return next;
}

void MessageQueue::SetWaker(std::function<void()> waker) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_waker = std::move(waker);
}

void MessageQueue::Reset() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_posted.clear();
        m_quit.reset();
    }
    m_held.clear();
    m_timers.clear();
    m_tasks.clear();
}

}  // namespace platform
