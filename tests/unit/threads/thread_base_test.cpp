#include <gtest/gtest.h>

#include <atomic>

#include "download/ThreadBase.h"

using platform::kWaitForever;

namespace {

constexpr int kLongMs = 10000;

// Runs until asked to exit and then returns 7, the way a worker honours the exit event.
class TestWorker final : public CThreadBase {
public:
    ~TestWorker() override {
        Stop();
        if (GetThreadHandle() != nullptr) {
            GetThreadHandle()->Wait(kWaitForever);
        }
    }
    bool ExitRequested() const { return m_hExitEvent.IsSet(); }
    bool PauseRequested() const { return m_hPauseEvent.IsSet(); }
    bool ResumeRequested() const { return m_hResumeEvent.IsSet(); }
    static int Proc(CThreadBase* worker) { return ThreadProc(worker); }
    int runs() const { return m_runs.load(); }

protected:
    int Run() override {
        ++m_runs;
        m_hExitEvent.Wait(kWaitForever);
        return 7;
    }

private:
    std::atomic<int> m_runs{0};
};

class FailingThreadCreation {
public:
    FailingThreadCreation() { platform::SetThreadCreationFailsForTesting(true); }
    ~FailingThreadCreation() { platform::SetThreadCreationFailsForTesting(false); }
};

}  // namespace

TEST(ThreadBase, StartPauseResumeStopFollowTheStateTable) {
    TestWorker worker;
    EXPECT_EQ(worker.GetState(), TS_IDLE);
    EXPECT_EQ(worker.GetThreadHandle(), nullptr);

    worker.Start(FALSE);
    ASSERT_NE(worker.GetThreadHandle(), nullptr);
    EXPECT_EQ(worker.GetState(), TS_RUNNING);

    worker.Resume();
    EXPECT_EQ(worker.GetState(), TS_RUNNING) << "Resume does nothing while running";
    EXPECT_FALSE(worker.ResumeRequested());

    worker.Pause();
    EXPECT_EQ(worker.GetState(), TS_PAUSED);
    EXPECT_TRUE(worker.PauseRequested());
    EXPECT_FALSE(worker.ResumeRequested());
    worker.Pause();
    EXPECT_TRUE(worker.PauseRequested()) << "a second Pause leaves the events as the first did";
    EXPECT_FALSE(worker.ResumeRequested());

    worker.Resume();
    EXPECT_EQ(worker.GetState(), TS_RUNNING);
    EXPECT_FALSE(worker.PauseRequested());
    EXPECT_TRUE(worker.ResumeRequested());

    worker.Stop();
    EXPECT_TRUE(worker.ExitRequested());
    ASSERT_TRUE(worker.GetThreadHandle()->Wait(kLongMs));
    EXPECT_EQ(worker.GetThreadHandle()->ExitCode(), 7);
    EXPECT_EQ(worker.GetState(), TS_RUNNING) << "the base leaves the state to the worker";
    EXPECT_EQ(worker.runs(), 1);
}

TEST(ThreadBase, StartPausedCreatesTheThreadOnResume) {
    TestWorker worker;
    worker.Resume();
    EXPECT_EQ(worker.GetState(), TS_IDLE) << "Resume does nothing before a start";

    worker.Start(TRUE);
    EXPECT_EQ(worker.GetState(), TS_PAUSED);
    EXPECT_EQ(worker.GetThreadHandle(), nullptr);

    worker.Resume();
    EXPECT_EQ(worker.GetState(), TS_RUNNING);
    ASSERT_NE(worker.GetThreadHandle(), nullptr);
    EXPECT_FALSE(worker.GetThreadHandle()->Wait(30)) << "the worker runs until asked to exit";
    EXPECT_EQ(worker.GetThreadHandle()->ExitCode(), platform::kStillActive);
}

TEST(ThreadBase, StopBeforeStartIsForgottenByStart) {
    TestWorker worker;
    worker.Stop();
    EXPECT_TRUE(worker.ExitRequested());
    worker.Start(FALSE);
    EXPECT_FALSE(worker.ExitRequested());
    ASSERT_NE(worker.GetThreadHandle(), nullptr);
    EXPECT_FALSE(worker.GetThreadHandle()->Wait(30)) << "an exit request from before the start ended it";
}

TEST(ThreadBase, AFailedThreadCreationStops) {
    TestWorker worker;
    {
        FailingThreadCreation failing;
        worker.Start(FALSE);
    }
    EXPECT_EQ(worker.GetState(), TS_STOPPED);
    EXPECT_EQ(worker.GetThreadHandle(), nullptr);
    worker.Stop();
    EXPECT_FALSE(worker.ExitRequested()) << "a stopped worker has nothing to stop";
    worker.Resume();
    worker.Pause();
    EXPECT_EQ(worker.GetState(), TS_STOPPED);
    EXPECT_EQ(worker.runs(), 0);
}

TEST(ThreadBase, ASecondStartWhileTheThreadRunsIsIgnored) {
    TestWorker worker;
    worker.Start(FALSE);
    platform::Thread* first = worker.GetThreadHandle();
    worker.Pause();
    worker.Start(FALSE);
    EXPECT_EQ(worker.GetThreadHandle(), first);
    EXPECT_EQ(worker.GetState(), TS_PAUSED);
    EXPECT_TRUE(worker.PauseRequested()) << "the events of the running worker are left alone";

    // Once that thread has ended the object can be started again.
    worker.Stop();
    ASSERT_TRUE(first->Wait(kLongMs));
    worker.Start(FALSE);
    EXPECT_EQ(worker.GetState(), TS_RUNNING);
    EXPECT_FALSE(worker.ExitRequested());
    ASSERT_NE(worker.GetThreadHandle(), nullptr);
    EXPECT_FALSE(worker.GetThreadHandle()->Wait(30));
}

TEST(ThreadBase, ThreadProcRunsTheWorkerItIsGiven) {
    EXPECT_EQ(TestWorker::Proc(nullptr), 0);
    TestWorker worker;
    worker.Stop();
    EXPECT_EQ(TestWorker::Proc(&worker), 7) << "Run on the calling thread, which sees the exit request";
    EXPECT_EQ(worker.runs(), 1);
}
