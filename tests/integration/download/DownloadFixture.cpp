#include "DownloadFixture.h"

#include <utility>

#include "download/WorkerKeeper.h"
#include "platform/base/paths.h"
#include "platform/base/text.h"
#include "platform/headless/headless.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/win_api.h"
#include "platform/ui/window_system.h"

namespace {

constexpr int kStopWaitMs = 10000;

}  // namespace

LRESULT CompletionWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_USER) {
        received.push_back(Completion{message, wParam, lParam});
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

DownloadTest::DownloadTest() {
    platform::WindowSystem::Reset();
    platform::MessageQueue::Instance().Reset();
    platform::headless::Backend().Reset();
    platform::RegisterWindowClass(L"DownloadReceiver", 0);
    EXPECT_TRUE(receiver.CreateEx(0, L"DownloadReceiver", L"", WS_POPUP, 0, 0, 10, 10, nullptr, 0));
    EXPECT_TRUE(platform::MakeDirectories(temp));
    // Set before the worker starts: it reads the environment.
    env.Set("TEMP", temp);
    worker->Start(FALSE);
}

DownloadTest::~DownloadTest() {
    StopWorker();
    receiver.DestroyWindow();
    platform::MessageQueue::Instance().Reset();
}

THREAD_PARAM_DOWN DownloadTest::Request(const std::string& path, UINT message, const std::wstring& savePath) {
    THREAD_PARAM_DOWN req;
    req.strName = req.strUrl = platform::Utf8ToWide(server.Url(path));
    req.strSavePath = savePath;
    req.nMsg = message;
    req.hNotifyWnd = receiver.GetSafeHwnd();
    return req;
}

int DownloadTest::Queue(THREAD_PARAM_DOWN req) {
    worker->AddRequest(req);
    return req.nId;
}

bool DownloadTest::WaitForCompletions(std::size_t count, int timeoutMs) {
    bool timedOut = false;
    auto& queue = platform::MessageQueue::Instance();
    auto task = queue.Schedule(static_cast<UINT>(timeoutMs), [&] { timedOut = true; });
    platform::RunModalLoop([&] { return receiver.received.size() >= count || timedOut; });
    queue.Cancel(task);
    return receiver.received.size() >= count;
}

bool DownloadTest::StopWorker() {
    if (!worker) {
        return true;
    }
    worker->Stop();
    platform::Thread* thread = worker->GetThreadHandle();
    bool ended = thread == nullptr || thread->Wait(kStopWaitMs);
    EXPECT_TRUE(ended) << "the worker did not end";
    ReleaseWorker(std::move(worker));
    return ended;
}

THREAD_PARAM_DOWN DownloadTest::Result(int id) {
    THREAD_PARAM_DOWN out;
    worker->GetResult(id, out);
    return out;
}

int DownloadTest::RequestsFor(const std::string& path) const {
    int count = 0;
    for (const auto& request : server.Requests()) {
        count += request.path == path ? 1 : 0;
    }
    return count;
}

void DownloadTest::Serve(const std::string& path, const std::string& body) {
    server.Get(path, [body](const httplib::Request&, httplib::Response& response) {
        response.set_content(body, "application/octet-stream");
    });
}

void DownloadTest::ServeFlaky(const std::string& path, int failures, const std::string& body) {
    m_failures->store(failures);
    server.Get(path,
               [this, failures = m_failures, body](const httplib::Request&, httplib::Response& response) {
                   int left = failures->load();
                   if (left != 0) {
                       failures->store(left - 1);
                       response.status = 500;
                       response.set_content("try later", "text/plain");
                   } else {
                       response.set_content(body, "application/octet-stream");
                   }
                   seen.Set();
               });
}
