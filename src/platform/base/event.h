#pragma once
// Manual-reset events: a flag that one thread sets and others wait for, with a time-out, on one event or
// on the first of several. A set event stays set until it is reset, so every waiter sees it.

#include <vector>

namespace platform {

constexpr int kWaitForever = -1;
constexpr int kWaitTimedOut = -1;

class Event final {
public:
    explicit Event(bool set = false);
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Set();
    void Reset();
    bool IsSet() const;
    // True once the event is set, false when `timeoutMs` passed first (kWaitForever: no limit).
    bool Wait(int timeoutMs) const;

private:
    friend int WaitForAnyEvent(const std::vector<const Event*>& events, int timeoutMs);
    bool m_set;  // guarded by the lock all events share
};

// The index of the set event once any of `events` is set (the lowest index when several are), or
// kWaitTimedOut.
int WaitForAnyEvent(const std::vector<const Event*>& events, int timeoutMs);

}  // namespace platform
