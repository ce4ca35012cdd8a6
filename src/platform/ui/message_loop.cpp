// The message loop over the shared queue and the backend's wait.
#include "platform/ui/message_loop.h"

#include <algorithm>

#include "platform/base/clock.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/native.h"
#include "platform/ui/win_api.h"
#include "platform/ui/window_system.h"
#include "platform/ui/wnd.h"

namespace platform {
namespace {

// Every ancestor up to the top-level window sees the message first, as frameworks route it.
bool PreTranslate(MSG& msg) {
    for (CWnd* wnd = CWnd::FromHandle(msg.hwnd); wnd != nullptr;) {
        const HWND hwnd = wnd->m_hWnd;
        if (wnd->PreTranslateMessage(&msg)) {
            return true;
        }
        if (!IsWindow(hwnd) || !IsWindow(msg.hwnd)) {
            return true;  // the window went away while looking at its message
        }
        wnd = wnd->GetParent();
    }
    return false;
}

void Dispatch(MSG& msg) {
    DispatchNow(msg);
}

bool PaintOne() {
    WindowSystem& system = WindowSystem::Instance();
    for (HWND hwnd : std::vector<HWND>(system.paint.Windows())) {
        CWnd* wnd = CWnd::FromHandle(hwnd);
        if (wnd == nullptr || !wnd->IsWindowVisible() || wnd->GetTopLevel()->IsIconic()) {
            continue;  // stays invalid until it can be seen
        }
        wnd->SendMessage(WM_PAINT);
        if (IsWindow(hwnd)) {
            wnd->ValidateRect(
                nullptr);  // a handler that never began painting must not be asked again and again
        }
        return true;
    }
    return false;
}

int WaitTimeoutMs() {
    std::optional<std::uint64_t> due = MessageQueue::Instance().NextDueMs();
    if (!due) {
        return -1;
    }
    std::uint64_t now = CurrentClock().NowMs();
    return *due <= now ? 0 : static_cast<int>(std::min<std::uint64_t>(*due - now, 60000));
}

// Nested loops running now, on the UI thread.
int g_nestedLoops = 0;

struct NestedLoopScope {
    NestedLoopScope() { ++g_nestedLoops; }
    ~NestedLoopScope() { --g_nestedLoops; }
    NestedLoopScope(const NestedLoopScope&) = delete;
    NestedLoopScope& operator=(const NestedLoopScope&) = delete;
};

void WireWaker() {
    MessageQueue::Instance().SetWaker([] { GetBackend().Wake(); });
}

}  // namespace

bool DispatchNow(MSG& msg) {
    if (!IsWindow(msg.hwnd)) {
        return false;  // posted to a window that is gone: dropped
    }
    GetCursorPos(&msg.pt);
    if (PreTranslate(msg)) {
        return true;
    }
    SendMessage(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    return false;
}

bool PumpOne() {
    MessageQueue& queue = MessageQueue::Instance();
    MSG msg{};
    if (queue.TakePosted(msg, g_nestedLoops == 0)) {
        Dispatch(msg);
        return true;
    }
    if (PaintOne()) {
        return true;
    }
    if (queue.TakeDueTimer(msg)) {
        Dispatch(msg);
        return true;
    }
    return queue.RunDueTask();
}

void PumpUntilIdle() {
    while (PumpOne()) {
    }
}

int RunMessageLoop() {
    WireWaker();
    MessageQueue& queue = MessageQueue::Instance();
    for (;;) {
        int exitCode = 0;
        if (queue.TakeQuit(exitCode)) {
            return exitCode;
        }
        if (!PumpOne()) {
            GetBackend().WaitForEvents(WaitTimeoutMs());
        }
    }
}

void RunModalLoop(const std::function<bool()>& done) {
    NestedLoopScope nested;
    WireWaker();
    MessageQueue& queue = MessageQueue::Instance();
    while (!done() && !queue.QuitPending()) {
        if (!PumpOne()) {
            GetBackend().WaitForEvents(WaitTimeoutMs());
        }
    }
}

bool InNestedLoop() {
    return g_nestedLoops > 0;
}

void DeferToOuterLoop(const MSG& msg) {
    MessageQueue::Instance().Hold(msg);
}

}  // namespace platform
