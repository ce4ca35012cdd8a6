// Maps the default clock onto std::chrono::steady_clock.
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

}  // namespace

Clock& CurrentClock() {
    Clock* clock = Current().load();
    return clock != nullptr ? *clock : Steady();
}

void SetClock(Clock* clock) {
    Current().store(clock);
}

}  // namespace platform
