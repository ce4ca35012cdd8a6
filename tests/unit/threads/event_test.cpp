#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/base/event.h"

using platform::Event;
using platform::kWaitForever;
using platform::kWaitTimedOut;
using platform::WaitForAnyEvent;

namespace {

using Clock = std::chrono::steady_clock;

long ElapsedMs(Clock::time_point since) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

}  // namespace

TEST(Event, StaysSetUntilReset) {
    Event event;
    EXPECT_FALSE(event.IsSet());
    event.Set();
    EXPECT_TRUE(event.Wait(0));
    EXPECT_TRUE(event.Wait(0)) << "a manual-reset event is not consumed by a wait";
    event.Reset();
    EXPECT_FALSE(event.Wait(0));
    EXPECT_TRUE(Event(true).IsSet());
}

TEST(Event, WaitGivesUpAfterItsTimeout) {
    Event event;
    Clock::time_point start = Clock::now();
    EXPECT_FALSE(event.Wait(60));
    EXPECT_GE(ElapsedMs(start), 60);
}

TEST(Event, WaitForAnyNamesTheLowestSetEvent) {
    Event first;
    Event second;
    Event third;
    EXPECT_EQ(WaitForAnyEvent({&first, &second, &third}, 0), kWaitTimedOut);
    third.Set();
    EXPECT_EQ(WaitForAnyEvent({&first, &second, &third}, 0), 2);
    second.Set();
    EXPECT_EQ(WaitForAnyEvent({&first, &second, &third}, kWaitForever), 1);
}

TEST(Event, SetOnAnotherThreadWakesEveryWaiter) {
    Event unrelated;
    Event event;
    std::atomic<int> woken{0};
    auto waiter = [&] {
        if (WaitForAnyEvent({&unrelated, &event}, kWaitForever) == 1) {
            ++woken;
        }
    };
    std::thread a(waiter);
    std::thread b(waiter);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(woken.load(), 0);
    event.Set();
    a.join();
    b.join();
    EXPECT_EQ(woken.load(), 2);
}

TEST(Event, SetBeforeTheTimeoutEndsTheWaitEarly) {
    Event event;
    std::thread setter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        event.Set();
    });
    Clock::time_point start = Clock::now();
    EXPECT_TRUE(event.Wait(10000));
    EXPECT_LT(ElapsedMs(start), 5000);
    setter.join();
}
