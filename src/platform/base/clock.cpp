// Maps the default clock onto std::chrono::steady_clock and the wall clock onto std::chrono::system_clock.
#include "platform/base/clock.h"

#include <atomic>
#include <chrono>

namespace platform {
namespace {

class SteadyClock final : public Clock {
public:
    std::uint64_t NowMs() const override {
        using namespace std::chrono;
        return static_cast<std::uint64_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
};

SteadyClock& Steady() {
    static SteadyClock clock;
    return clock;
}

std::atomic<Clock*>& Current() {
    static std::atomic<Clock*> clock{nullptr};
    return clock;
}

class SystemWallClock final : public WallClock {
public:
    std::int64_t SecondsSince1970() const override {
        using namespace std::chrono;
        // system_clock counts from 1970-01-01 UTC (guaranteed since C++20, true of every C++17 library).
        return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
    }
};

std::atomic<WallClock*>& CurrentWall() {
    static std::atomic<WallClock*> clock{nullptr};
    return clock;
}

}  // namespace

Clock& CurrentClock() {
    Clock* clock = Current().load();
    return clock != nullptr ? *clock : Steady();
}

void SetClock(Clock* clock) {
    Current().store(clock);
}

std::int64_t SecondsSince1970() {
    const WallClock* clock = CurrentWall().load();
    if (clock != nullptr) {
        return clock->SecondsSince1970();
    }
    static const SystemWallClock system;
    return system.SecondsSince1970();
}

void SetWallClock(WallClock* clock) {
    CurrentWall().store(clock);
}

}  // namespace platform
