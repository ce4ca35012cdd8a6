#include "WindowTestSupport.h"

WindowTest::WindowTest() {
    platform::SetClock(&clock);
    platform::RegisterWindowClass(L"TestPopup", CS_DBLCLKS);
}

WindowTest::~WindowTest() {
    platform::SetClock(nullptr);
}

std::vector<Received> RecordingWnd::Of(UINT message) const {
    std::vector<Received> matching;
    for (const Received& r : received) {
        if (r.message == message) {
            matching.push_back(r);
        }
    }
    return matching;
}

BOOL RecordingWnd::CreatePopup(const RECT& rect, DWORD exStyle, HWND owner) {
    return CreateEx(exStyle, L"TestPopup", L"popup", WS_POPUP | WS_VISIBLE, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, owner, 0);
}

BOOL RecordingWnd::CreateButton(CWnd& parent, const RECT& rect, UINT id) {
    return Create(L"Button", L"", WS_CHILD | WS_VISIBLE, rect, &parent, id);
}

LRESULT RecordingWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    received.push_back(Received{message, wParam, lParam});
    return CWnd::WindowProc(message, wParam, lParam);
}

POINT Center(const RECT& rect) {
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

RECT ScreenRect(const CWnd& wnd) {
    RECT rect;
    wnd.GetWindowRect(&rect);
    return rect;
}
