#include "download/WorkerKeeper.h"

#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace {

// One reaper thread waits for any kept worker's thread to end, or for a new worker to arrive.
class Keeper final {
public:
    void Adopt(std::unique_ptr<CThreadBase> worker) {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_kept.push_back(std::move(worker));
            if (!m_reaperStarted) {
                m_reaperStarted = StartReaper();
            }
        }
        m_arrived.Set();
    }

    int Count() {
        std::lock_guard<std::mutex> guard(m_lock);
        int running = 0;
        for (const auto& worker : m_kept) {
            running += worker->GetThreadHandle()->HasEnded() ? 0 : 1;
        }
        return running;
    }

private:
    bool StartReaper() {
        try {
            // Detached: it sleeps for good once nothing is kept, and the keeper is never destroyed.
            std::thread([this] { Reap(); }).detach();
            return true;
        } catch (const std::system_error&) {
            // Without a reaper the workers stay until the process exits, which is still safe.
            return false;
        }
    }

    void Reap() {
        for (;;) {
            std::vector<std::unique_ptr<CThreadBase>> ended;
            std::vector<const platform::Event*> waits{&m_arrived};
            {
                std::lock_guard<std::mutex> guard(m_lock);
                m_arrived.Reset();
                std::vector<std::unique_ptr<CThreadBase>> running;
                for (auto& worker : m_kept) {
                    platform::Thread* thread = worker->GetThreadHandle();
                    if (thread->HasEnded()) {
                        ended.push_back(std::move(worker));
                    } else {
                        waits.push_back(&thread->Ended());
                        running.push_back(std::move(worker));
                    }
                }
                m_kept = std::move(running);
            }
            // Outside the lock: each destructor joins a thread that has already ended.
            ended.clear();
            // Only this thread removes kept workers, so the events waited on stay alive.
            platform::WaitForAnyEvent(waits, platform::kWaitForever);
        }
    }

    std::mutex m_lock;
    std::vector<std::unique_ptr<CThreadBase>> m_kept;  // each has a thread
    platform::Event m_arrived;
    bool m_reaperStarted = false;
};

Keeper& TheKeeper() {
    // Never destroyed: its reaper may still wait when the process exits.
    static Keeper& keeper = *new Keeper;
    return keeper;
}

}  // namespace

void ReleaseWorker(std::unique_ptr<CThreadBase> worker) {
    if (!worker) {
        return;
    }
    platform::Thread* thread = worker->GetThreadHandle();
    if (thread == nullptr || thread->HasEnded()) {
        return;  // destroyed here; an ended thread joins at once
    }
    TheKeeper().Adopt(std::move(worker));
}

int KeptWorkerCount() {
    return TheKeeper().Count();
}
