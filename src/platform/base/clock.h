#pragma once
// The time window timers and double-click and hover detection run on. Tests put a clock of their own in
// place, so that timers fire when the test says and not when the machine is slow.

#include <cstdint>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds from an arbitrary start; never goes backwards.
    virtual std::uint64_t NowMs() const = 0;
};

Clock& CurrentClock();
// Replaces the clock (not owned); null restores the steady system clock.
void SetClock(Clock* clock);

// Calendar time, for what is stamped with the date (the signed user-info request). Kept apart from Clock,
// which is steady and starts anywhere; tests put a wall clock of their own in place to fix the second.
class WallClock {
public:
    virtual ~WallClock() = default;
    virtual std::int64_t SecondsSince1970() const = 0;
};

// Seconds since 1970-01-01 UTC from the current wall clock.
std::int64_t SecondsSince1970();
// Replaces the wall clock (not owned); null restores the system clock.
void SetWallClock(WallClock* clock);

// A clock that moves only when told to.
class ManualClock final : public Clock {
public:
    std::uint64_t NowMs() const override { return m_now; }
    void Advance(std::uint64_t ms) { m_now += ms; }

private:
    std::uint64_t m_now = 1000000;
};

}  // namespace platform
