// The free window functions over the shared window state and the backend.
#include "platform/ui/win_api.h"

#include "platform/base/resources.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/native.h"
#include "platform/ui/window_system.h"
#include "platform/ui/wnd.h"

namespace platform {

BOOL IsWindow(HWND hwnd) {
    return WindowSystem::Instance().handles.IsWindow(hwnd);
}

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Checked here for the caller's sake and again when the message is handed out: the window may go
    // in between.
    return IsWindow(hwnd) && MessageQueue::Instance().Post(hwnd, message, wParam, lParam);
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandle(hwnd);
    return wnd != nullptr ? wnd->SendMessage(message, wParam, lParam) : 0;
}

void PostQuitMessage(int exitCode) {
    MessageQueue::Instance().PostQuit(exitCode);
}

void RegisterWindowClass(const std::wstring& name, UINT style, int cursorId) {
    WindowSystem::Instance().classes.Register(name, WindowClass{style, cursorId});
}

HWND GetCapture() {
    return WindowSystem::Instance().pointer.Capture();
}

BOOL ReleaseCapture() {
    WindowSystem::Instance().pointer.ReleaseCapture();
    return TRUE;
}

HWND GetFocus() {
    return WindowSystem::Instance().activation.Focus();
}

HWND GetForegroundWindow() {
    return WindowSystem::Instance().activation.Foreground();
}

BOOL GetCursorPos(POINT* point) {
    if (point == nullptr) {
        return FALSE;
    }
    // The pointer may be over another program (the tray's menu opens at it); the layer itself only
    // knows where input over its own windows left it.
    if (!GetBackend().PointerPosition(*point)) {
        *point = WindowSystem::Instance().pointer.Position();
    }
    return TRUE;
}

HICON LoadIcon(int resourceId) {
    if (FindResource("ICON", resourceId).empty()) {
        return nullptr;
    }
    return reinterpret_cast<HICON>(static_cast<std::uintptr_t>(resourceId));
}

int IconResourceId(HICON icon) {
    return static_cast<int>(reinterpret_cast<std::uintptr_t>(icon));
}

HCURSOR LoadCursor(int cursorId) {
    return reinterpret_cast<HCURSOR>(static_cast<std::uintptr_t>(cursorId));
}

HCURSOR SetCursor(HCURSOR cursor) {
    Pointer& pointer = WindowSystem::Instance().pointer;
    HCURSOR previous = LoadCursor(pointer.CursorId());
    pointer.SetCursorId(static_cast<int>(reinterpret_cast<std::uintptr_t>(cursor)));
    // The cursor belongs to the top-level window under the pointer.
    if (CWnd* hover = CWnd::FromHandle(pointer.Hover())) {
        if (NativeWindow* native = hover->GetTopLevel()->Native()) {
            native->SetCursor(pointer.CursorId());
        }
    }
    return previous;
}

int CurrentCursorId() {
    return WindowSystem::Instance().pointer.CursorId();
}

BOOL GetWorkArea(RECT* area) {
    if (area == nullptr) {
        return FALSE;
    }
    *area = GetBackend().WorkArea();
    return TRUE;
}

}  // namespace platform
