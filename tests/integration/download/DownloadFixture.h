#pragma once
// A started downloader with a window that receives its completion messages, a test server, and a user
// of its own (cache and temporary folders). The worker is stopped and waited for after each test.

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "HttpFixture.h"
#include "download/DownloadThread.h"
#include "platform/ui/wnd.h"

constexpr UINT kVersionMsg = WM_USER + 102;
constexpr UINT kInstallerMsg = WM_USER + 104;

struct Completion {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Completion& other) const {
        return message == other.message && wParam == other.wParam && lParam == other.lParam;
    }
};

// Records every message from WM_USER up.
class CompletionWnd final : public CWnd {
public:
    std::vector<Completion> received;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class DownloadTest : public HttpFixture {
protected:
    DownloadTest();
    ~DownloadTest() override;

    // A request the way the client makes them: name and URL alike, nothing else but the message.
    THREAD_PARAM_DOWN Request(const std::string& path, UINT message = kVersionMsg,
                              const std::wstring& savePath = L"");
    // Queues and returns the id.
    int Queue(THREAD_PARAM_DOWN req);
    void Signal() { worker->m_hWorkEvent.Set(); }
    // Runs the message loop until `count` completions have arrived or `timeoutMs` passed.
    bool WaitForCompletions(std::size_t count, int timeoutMs = 10000);
    // Ends the worker; false when it did not end in time (it is then left to the keeper).
    bool StopWorker();
    THREAD_PARAM_DOWN Result(int id);
    int RequestsFor(const std::string& path) const;

    // Serves fixed bytes at `path`.
    void Serve(const std::string& path, const std::string& body);
    // Serves `path` with status 500 `failures` times, then the body; -1: fails for ever. Each request
    // sets `seen`.
    void ServeFlaky(const std::string& path, int failures, const std::string& body);

    std::string temp = env.Path("temp");
    platform::Event seen;
    std::unique_ptr<CDownloadThread> worker = std::make_unique<CDownloadThread>();
    CompletionWnd receiver;

private:
    std::shared_ptr<std::atomic<int>> m_failures = std::make_shared<std::atomic<int>>(0);
};
