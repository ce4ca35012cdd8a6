// Maps worker threads onto std::thread, with an event that marks the end of the body.
#include "platform/base/thread.h"

#include <system_error>
#include <utility>

namespace platform {
namespace {

std::atomic<bool> g_creationFails{false};

}  // namespace

std::unique_ptr<Thread> Thread::Start(std::function<int()> body) {
    if (g_creationFails.load()) {
        return nullptr;
    }
    std::unique_ptr<Thread> thread(new Thread);
    Thread* self = thread.get();
    try {
        self->m_thread = std::thread([self, run = std::move(body)] {
            self->m_exitCode.store(run());
            self->m_ended.Set();
        });
    } catch (const std::system_error&) {
        return nullptr;
    }
    return thread;
}

Thread::~Thread() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void SetThreadCreationFailsForTesting(bool fails) {
    g_creationFails.store(fails);
}

}  // namespace platform
