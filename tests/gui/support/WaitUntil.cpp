// Bounded polling for GUI tests.
#include "WaitUntil.h"

#include <thread>

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout,
               const std::function<void()>& eachTurn) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (done()) {
            return true;
        }
        if (eachTurn) {
            eachTurn();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return done();
}
