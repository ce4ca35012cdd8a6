#include "download/ThreadBase.h"

void CThreadBase::Start(BOOL bPaused) {
    if (m_pThread && !m_pThread->HasEnded()) {
        return;
    }
    m_hExitEvent.Reset();
    m_hPauseEvent.Reset();
    m_hResumeEvent.Reset();
    if (bPaused) {
        m_nState = TS_PAUSED;
        return;
    }
    // The previous thread, if any, has ended, so replacing it does not block.
    m_pThread = platform::Thread::Start([this] { return ThreadProc(this); });
    m_nState = m_pThread ? TS_RUNNING : TS_STOPPED;
}

void CThreadBase::Pause() {
    if (m_nState != TS_RUNNING) {
        return;
    }
    m_hResumeEvent.Reset();
    m_hPauseEvent.Set();
    m_nState = TS_PAUSED;
}

void CThreadBase::Resume() {
    if (m_nState != TS_PAUSED) {
        return;
    }
    if (!m_pThread) {
        Start(FALSE);
        return;
    }
    m_hPauseEvent.Reset();
    m_hResumeEvent.Set();
    m_nState = TS_RUNNING;
}

void CThreadBase::Stop() {
    if (m_nState != TS_STOPPED) {
        m_hExitEvent.Set();
    }
}

int CThreadBase::ThreadProc(CThreadBase* pThis) {
    return pThis == nullptr ? 0 : pThis->Run();
}
