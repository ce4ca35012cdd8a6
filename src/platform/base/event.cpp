// Maps events onto one mutex and condition variable that all events share.
#include "platform/base/event.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace platform {
namespace {

// One lock for every event makes waiting for any of several events simple and obviously correct; the
// process has a handful of events and threads, so waking every waiter on each change costs nothing.
// The hub is never destroyed: a worker thread that outlives main may still wait on it at exit.
struct Hub {
    std::mutex lock;
    std::condition_variable changed;
};

Hub& TheHub() {
    static Hub& hub = *new Hub;
    return hub;
}

}  // namespace

Event::Event(bool set) : m_set(set) {}

void Event::Set() {
    Hub& hub = TheHub();
    {
        std::lock_guard<std::mutex> guard(hub.lock);
        m_set = true;
    }
    hub.changed.notify_all();
}

void Event::Reset() {
    std::lock_guard<std::mutex> guard(TheHub().lock);
    m_set = false;
}

bool Event::IsSet() const {
    std::lock_guard<std::mutex> guard(TheHub().lock);
    return m_set;
}

bool Event::Wait(int timeoutMs) const {
    return WaitForAnyEvent({this}, timeoutMs) == 0;
}

int WaitForAnyEvent(const std::vector<const Event*>& events, int timeoutMs) {
    Hub& hub = TheHub();
    std::unique_lock<std::mutex> lock(hub.lock);
    int index = kWaitTimedOut;
    auto anySet = [&] {
        for (std::size_t i = 0; i < events.size(); ++i) {
            if (events[i]->m_set) {
                index = static_cast<int>(i);
                return true;
            }
        }
        return false;
    };
    if (timeoutMs < 0) {
        hub.changed.wait(lock, anySet);
    } else {
        hub.changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), anySet);
    }
    return index;
}

}  // namespace platform
