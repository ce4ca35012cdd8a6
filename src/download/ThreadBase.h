#pragma once
// The base of the client's background worker: three control events (exit, pause, resume), the thread
// that runs the derived class's Run, and a state the owner can query. Run decides where it looks at the
// events: the exit event asks it to end at its next check; while the pause event is set it waits, at its
// next check, for the resume or the exit event. The events are manual-reset, so each stays set until
// Start, Pause or Resume resets it.
//
// The owner's shutdown: Stop(), wait on GetThreadHandle() for a while, then destroy the object, or,
// when the thread has not ended by then, hand it to ReleaseWorker (WorkerKeeper.h) rather than destroy
// it under a running thread.

#include <atomic>
#include <memory>

#include "platform/base/event.h"
#include "platform/base/thread.h"
#include "platform/base/win_types.h"

enum ThreadState {
    TS_IDLE = 0,     // constructed, never started
    TS_PAUSED = 1,   // paused, or prepared by Start(TRUE) without a thread yet
    TS_RUNNING = 2,  // the thread runs and is not paused
    TS_STOPPED = 3,  // the thread could not be created, or the worker ended itself inside a wait
};

class CThreadBase {
public:
    CThreadBase() = default;
    // Neither stops nor waits for the thread: the owner does that first.
    virtual ~CThreadBase() = default;
    CThreadBase(const CThreadBase&) = delete;
    CThreadBase& operator=(const CThreadBase&) = delete;

    // Resets the three events; paused: only prepares (Resume starts the thread); otherwise starts it.
    // Ignored while an earlier thread of this object still runs, so two workers never share it.
    virtual void Start(BOOL bPaused);
    // Only while running.
    virtual void Pause();
    // Only while paused: continues the thread, or starts it after Start(TRUE).
    virtual void Resume();
    // Asks the worker to end at its next check; does not wait.
    virtual void Stop();
    virtual int GetState() const { return m_nState.load(); }
    // Null before the first start, or when the thread could not be created. Stays valid after the thread
    // ended, until the object is destroyed.
    virtual platform::Thread* GetThreadHandle() const { return m_pThread.get(); }

protected:
    // The worker body; its result is the thread's exit code.
    virtual int Run() = 0;
    static int ThreadProc(CThreadBase* pThis);

    platform::Event m_hExitEvent;
    platform::Event m_hPauseEvent;
    platform::Event m_hResumeEvent;
    // Written by the owner and by the worker when it ends itself, so it is atomic.
    std::atomic<int> m_nState{TS_IDLE};
    std::unique_ptr<platform::Thread> m_pThread;
};
