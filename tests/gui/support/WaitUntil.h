#pragma once
// Bounded polling for GUI tests, which wait on X servers and programs that answer asynchronously.
//
// A broken machine must fail a test in seconds rather than hang it.

#include <chrono>
#include <functional>

// Calls `done` until it returns true or `timeout` has passed, running `eachTurn` between calls (for example
// one non-blocking turn of a toolkit's main loop, so the events the test waits for get handled). Returns
// the last answer of `done`, which is asked once more after the time is up.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout,
               const std::function<void()>& eachTurn = {});
