#pragma once
// The background downloader: fetches files one at a time, in the order they were asked for, to a given
// path or into the URL cache, always fresh (the URL's cache entry goes first), and posts each request's
// message to its window when done. The owner queues with AddRequest, then sets m_hWorkEvent; one signal
// makes the worker take everything queued then and anything added while it works.

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>

#include "download/ThreadBase.h"
#include "platform/ui/win_messages.h"

struct THREAD_PARAM_DOWN {
    std::wstring strName;      // the caller's label, carried into the result
    std::wstring strUrl;       // the URL; in a stored result, the full path of the downloaded file
    std::wstring strSavePath;  // target file, may hold %VAR% references; empty: into the URL cache
    std::wstring strExtra;     // carried unchanged
    int nFileSize = 0;         // > 0: an existing target file of exactly this size counts as done
    UINT nMsg = 0;             // posted to hNotifyWnd when the request is finished
    int nId = 0;               // assigned by AddRequest
    BOOL bRetry = FALSE;       // try again (up to 100 attempts, a second apart) instead of failing
    int nReserved = 0;         // carried unchanged
    HWND hNotifyWnd = nullptr;
    // The largest answer accepted, in bytes; 0: the downloads' own limit of 512 MiB. A longer answer
    // fails as it arrives.
    std::uint64_t nMaxBytes = 0;
};

class CDownloadThread final : public CThreadBase {
public:
    CDownloadThread() = default;
    ~CDownloadThread() override = default;

    // Gives `req` the next id and queues a copy. Does not wake the worker: set m_hWorkEvent after.
    void AddRequest(THREAD_PARAM_DOWN& req);
    // Copies the stored result of a successful request into `out`; leaves `out` alone when there is none
    // (a failed or unknown id). A result can be read any number of times.
    void GetResult(int nId, THREAD_PARAM_DOWN& out);

    // Set by the owner after queueing; reset by the worker when it takes work.
    platform::Event m_hWorkEvent;

protected:
    int Run() override;

private:
    bool TakeRequest(THREAD_PARAM_DOWN& req);
    // Processes one request to its end; false when an exit request ended the worker meanwhile.
    bool Process(THREAD_PARAM_DOWN& req);
    // One attempt; `path` receives the local file on success.
    bool Attempt(const THREAD_PARAM_DOWN& req, std::wstring& path);
    // The pause between failed attempts; false when the worker is to end.
    bool WaitBeforeRetry();
    // While paused: waits for resume (true) or exit (false).
    bool HoldWhilePaused();
    void Finish(THREAD_PARAM_DOWN& req, const std::wstring& path);

    std::mutex m_lock;  // guards the id counter, the queue and the results, and nothing else
    int m_nNextId = 0;
    std::deque<THREAD_PARAM_DOWN> m_queue;
    std::map<int, THREAD_PARAM_DOWN> m_results;
};
