#include "download/DownloadThread.h"

#include <cstdint>

#include "platform/base/environment.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/net/http_download.h"
#include "platform/net/url_cache.h"
#include "platform/ui/win_api.h"

namespace {

constexpr int kMaxAttempts = 100;
constexpr int kRetryDelayMs = 1000;

// An earlier download of exactly the expected size is taken as complete.
bool AlreadyDownloaded(const std::string& path, int expectedSize) {
    std::uint64_t size = 0;
    return expectedSize > 0 && platform::GetFileSize(path, size) &&
           size == static_cast<std::uint64_t>(expectedSize);
}

}  // namespace

void CDownloadThread::AddRequest(THREAD_PARAM_DOWN& req) {
    std::lock_guard<std::mutex> guard(m_lock);
    req.nId = m_nNextId++;
    m_queue.push_back(req);
}

void CDownloadThread::GetResult(int nId, THREAD_PARAM_DOWN& out) {
    std::lock_guard<std::mutex> guard(m_lock);
    auto found = m_results.find(nId);
    if (found != m_results.end()) {
        out = found->second;
    }
}

int CDownloadThread::Run() {
    for (;;) {
        if (platform::WaitForAnyEvent({&m_hExitEvent, &m_hWorkEvent}, platform::kWaitForever) != 1) {
            return 1;
        }
        THREAD_PARAM_DOWN req;
        while (TakeRequest(req)) {
            if (!Process(req)) {
                // Ended from a retry wait: the request in hand and the rest of the queue are dropped.
                m_nState = TS_STOPPED;
                return 0;
            }
        }
    }
}

bool CDownloadThread::TakeRequest(THREAD_PARAM_DOWN& req) {
    std::lock_guard<std::mutex> guard(m_lock);
    // Reset under the lock: a request added after this point comes with a new signal.
    m_hWorkEvent.Reset();
    if (m_queue.empty()) {
        return false;
    }
    req = m_queue.front();
    m_queue.pop_front();
    return true;
}

bool CDownloadThread::Process(THREAD_PARAM_DOWN& req) {
    for (int attempts = 0;;) {
        std::wstring path;
        if (Attempt(req, path)) {
            Finish(req, path);
            return true;
        }
        if (!req.bRetry) {
            platform::PostMessage(req.hNotifyWnd, req.nMsg, 0, req.nId);
            return true;
        }
        if (!WaitBeforeRetry()) {
            return false;
        }
        ++attempts;
        if (m_hExitEvent.IsSet() || (m_hPauseEvent.IsSet() && !HoldWhilePaused())) {
            return false;
        }
        if (attempts >= kMaxAttempts) {
            return true;  // given up without a word, as the caller who asked for retries expects
        }
    }
}

bool CDownloadThread::Attempt(const THREAD_PARAM_DOWN& req, std::wstring& path) {
    const std::string url = platform::WideToUtf8(req.strUrl);
    platform::UrlCache cache = platform::UrlCache::Default();
    // Always a fresh copy: whatever the cache holds for the URL goes first.
    cache.Delete(url);
    const std::uint64_t maxBytes = req.nMaxBytes != 0 ? req.nMaxBytes : platform::kDefaultMaxDownloadBytes;
    if (req.strSavePath.empty()) {
        std::string cached;
        if (!platform::UrlDownloadToCacheFile(url, cache, cached, maxBytes)) {
            return false;
        }
        path = platform::Utf8ToWide(cached);
        return true;
    }
    const std::string target = platform::ExpandEnvironmentStrings(platform::WideToUtf8(req.strSavePath));
    if (!AlreadyDownloaded(target, req.nFileSize) && !platform::UrlDownloadToFile(url, target, maxBytes)) {
        return false;
    }
    path = platform::Utf8ToWide(target);
    return true;
}

bool CDownloadThread::WaitBeforeRetry() {
    if (m_hExitEvent.Wait(kRetryDelayMs)) {
        return false;
    }
    return !m_hPauseEvent.IsSet() || HoldWhilePaused();
}

bool CDownloadThread::HoldWhilePaused() {
    return platform::WaitForAnyEvent({&m_hExitEvent, &m_hResumeEvent}, platform::kWaitForever) == 1;
}

void CDownloadThread::Finish(THREAD_PARAM_DOWN& req, const std::wstring& path) {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        req.strUrl = path;
        m_results[req.nId] = req;
    }
    // Stored first, so the result is there when the message arrives.
    platform::PostMessage(req.hNotifyWnd, req.nMsg, 0, req.nId);
}
