// The headless backend: the native interface kept in memory, for tests.
#include "platform/headless/headless.h"

#include <algorithm>
#include <chrono>

#include "platform/ui/message_loop.h"
#include "platform/ui/wnd.h"

namespace platform {

Backend& GetBackend() {
    return headless::Backend();
}

namespace headless {

HeadlessWindow::HeadlessWindow(const NativeWindowParams& windowParams)
    : params(windowParams),
      layered((windowParams.exStyle & WS_EX_LAYERED) != 0),
      programIdentity(Backend().programIdentity) {
    Backend().stacking.push_back(this);
}

HeadlessWindow::~HeadlessWindow() {
    auto& order = Backend().stacking;
    order.erase(std::remove(order.begin(), order.end(), this), order.end());
}

void HeadlessWindow::Present(const Bitmap& picture) {
    ++presents;
    lastPicture = &picture;
}

void HeadlessWindow::PlaceAbove(NativeWindow* below) {
    auto& order = Backend().stacking;
    order.erase(std::remove(order.begin(), order.end(), this), order.end());
    auto at = std::find(order.begin(), order.end(), below);
    order.insert(below == nullptr ? order.begin() : (at == order.end() ? at : at + 1), this);
}

void HeadlessWindow::PlaceWidget(NativeWidget* widget, const RECT& rect, bool shown) {
    widgets[widget] = WidgetPlace{rect, shown};
}

std::unique_ptr<NativeWindow> HeadlessBackend::CreateWindow(const NativeWindowParams& params) {
    return std::make_unique<HeadlessWindow>(params);
}

void HeadlessBackend::WaitForEvents(int timeoutMs) {
    std::unique_lock<std::mutex> lock(m_lock);
    auto woken = [this] { return m_woken; };
    if (timeoutMs < 0) {
        m_wake.wait(lock, woken);
    } else {
        m_wake.wait_for(lock, std::chrono::milliseconds(timeoutMs), woken);
    }
    m_woken = false;
}

void HeadlessBackend::Wake() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_woken = true;
    }
    m_wake.notify_all();
}

UINT HeadlessBackend::TrackPopupMenu(const std::vector<MenuItem>& items, POINT, HWND) {
    menusShown.push_back(items);
    if (menuChoices.empty()) {
        return 0;
    }
    UINT choice = menuChoices.front();
    menuChoices.pop_front();
    return choice;
}

int HeadlessBackend::MessageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                                UINT type) {
    messageBoxes.push_back(MessageBoxCall{owner, text, caption, type});
    if (messageBoxAnswers.empty()) {
        return IDCANCEL;
    }
    int answer = messageBoxAnswers.front();
    messageBoxAnswers.pop_front();
    return answer;
}

bool HeadlessBackend::SetTrayIcon(HWND hwnd, UINT id, const std::wstring& tip, bool present) {
    if (!present) {
        trayIcons.erase({hwnd, id});
        return true;
    }
    if (!trayAvailable) {
        return false;
    }
    trayIcons[{hwnd, id}] = tip;
    return true;
}

void HeadlessBackend::ShowTooltip(HWND, const std::wstring& text, POINT) {
    tooltip = text;
}

HeadlessWindow* HeadlessBackend::WindowOf(HWND hwnd) const {
    CWnd* wnd = CWnd::FromHandle(hwnd);
    return wnd != nullptr ? static_cast<HeadlessWindow*>(wnd->GetTopLevel()->Native()) : nullptr;
}

bool HeadlessBackend::Open(std::string& reason) {
    reason = openFailure;
    return openFailure.empty();
}

bool HeadlessBackend::RequestTermination() {
    // A copy: the handler may set another one (or none) while it runs.
    const std::function<void()> handler = m_terminationHandler;
    if (!handler) {
        return false;
    }
    handler();
    return true;
}

void HeadlessBackend::Reset() {
    workArea = RECT{0, 0, 1920, 1040};
    menuChoices.clear();
    messageBoxAnswers.clear();
    menusShown.clear();
    messageBoxes.clear();
    trayIcons.clear();
    trayAvailable = true;
    tooltip.clear();
    openFailure.clear();
    programIdentity.clear();
    closes = 0;
    m_terminationHandler = nullptr;
}

HeadlessBackend& Backend() {
    static HeadlessBackend backend;
    return backend;
}

void MoveMouse(HWND topLevel, POINT screen) {
    DeliverMouse(topLevel, MouseAction::Move, screen);
    PumpUntilIdle();
}

void PressLeft(HWND topLevel, POINT screen) {
    DeliverMouse(topLevel, MouseAction::LeftDown, screen);
    PumpUntilIdle();
}

void ReleaseLeft(HWND topLevel, POINT screen) {
    DeliverMouse(topLevel, MouseAction::LeftUp, screen);
    PumpUntilIdle();
}

void Click(HWND topLevel, POINT screen) {
    MoveMouse(topLevel, screen);
    PressLeft(topLevel, screen);
    ReleaseLeft(topLevel, screen);
}

void PressKey(HWND topLevel, UINT virtualKey) {
    DeliverKey(topLevel, virtualKey);
    PumpUntilIdle();
}

POINT ScreenPoint(HWND hwnd, POINT client) {
    if (CWnd* wnd = CWnd::FromHandle(hwnd)) {
        wnd->ClientToScreen(&client);
    }
    return client;
}

}  // namespace headless
}  // namespace platform
