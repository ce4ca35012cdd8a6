#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "download/WorkerKeeper.h"

using platform::kWaitForever;

namespace {

// Stands for a worker caught in a long call: it ignores the exit request until the gate opens.
class StuckWorker final : public CThreadBase {
public:
    StuckWorker(const platform::Event& gate, std::atomic<bool>& destroyed)
        : m_gate(gate), m_destroyed(destroyed) {}
    ~StuckWorker() override { m_destroyed = true; }

protected:
    int Run() override {
        m_gate.Wait(kWaitForever);
        return 0;
    }

private:
    const platform::Event& m_gate;
    std::atomic<bool>& m_destroyed;
};

bool WaitUntil(const std::atomic<bool>& flag) {
    for (int i = 0; i < 1000 && !flag; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return flag;
}

}  // namespace

TEST(WorkerKeeper, KeepsARunningWorkerUntilItsThreadEnds) {
    platform::Event gate;
    std::atomic<bool> destroyed{false};
    auto worker = std::make_unique<StuckWorker>(gate, destroyed);
    worker->Start(FALSE);
    worker->Stop();
    ASSERT_FALSE(worker->GetThreadHandle()->Wait(30));

    ReleaseWorker(std::move(worker));
    EXPECT_FALSE(destroyed) << "destroyed under its running thread";
    EXPECT_EQ(KeptWorkerCount(), 1);

    gate.Set();
    EXPECT_TRUE(WaitUntil(destroyed)) << "kept after its thread ended";
    EXPECT_EQ(KeptWorkerCount(), 0);
}

TEST(WorkerKeeper, DestroysAFinishedOrNeverStartedWorkerAtOnce) {
    platform::Event gate(true);
    std::atomic<bool> finishedDestroyed{false};
    auto finished = std::make_unique<StuckWorker>(gate, finishedDestroyed);
    finished->Start(FALSE);
    ASSERT_TRUE(finished->GetThreadHandle()->Wait(10000));
    ReleaseWorker(std::move(finished));
    EXPECT_TRUE(finishedDestroyed);

    std::atomic<bool> idleDestroyed{false};
    ReleaseWorker(std::make_unique<StuckWorker>(gate, idleDestroyed));
    EXPECT_TRUE(idleDestroyed);
    ReleaseWorker(nullptr);
}
