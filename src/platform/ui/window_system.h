#pragma once
// The state the window layer keeps for the whole UI thread: the handle table, the stacking of top-level
// windows, capture, focus, the pointer, windows waiting for WM_PAINT, mouse tracking and a move or resize
// the layer drives. Internal to platform/; tests reset it between cases.

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/message_queue.h"
#include "platform/ui/win_messages.h"

class CWnd;

namespace platform {

struct WindowClass {
    UINT style = 0;
    int cursor = IDC_ARROW;
};

// A move or resize following the pointer until the left button is released.
struct SizeMoveTracking {
    HWND hwnd = nullptr;
    WPARAM edge = 0;  // 0 moves; WMSZ_* resizes from that edge
    POINT startPointer{};
    RECT startRect{};
    MINMAXINFO limits{};
};

struct MouseTracking {
    HWND hwnd = nullptr;
    DWORD flags = 0;
    UINT hoverMs = 0;
    MessageQueue::TaskId hoverTask = 0;
};

// Where a top-level window stands between the layer and the desktop on being minimised.
struct DesktopMinimize {
    bool minimized = false;         // the desktop's latest word
    std::optional<bool> requested;  // what the layer asked of the native window, until the desktop says so
    std::optional<bool> pending;    // a word of the desktop not yet compared with the window's own state
};

class WindowSystem final {
public:
    static WindowSystem& Instance();
    // Forgets every window and all state (tests); windows still alive must have been destroyed.
    static void Reset();

    HWND Register(CWnd* wnd);
    void Unregister(HWND hwnd);
    // Any thread: whether the handle names a live window.
    bool IsWindow(HWND hwnd);
    CWnd* Lookup(HWND hwnd);

    // Top-level windows, bottom first.
    std::vector<HWND> topLevels;
    void Restack(HWND hwnd, HWND insertAfter);
    void RemoveTopLevel(HWND hwnd);

    HWND capture = nullptr;
    HWND focus = nullptr;
    HWND foreground = nullptr;
    HWND hover = nullptr;  // the window the pointer is over
    POINT cursor{};
    WPARAM buttons = 0;  // MK_LBUTTON and MK_RBUTTON while held
    int cursorId = IDC_ARROW;

    // Windows with an invalid area, in the order they became invalid.
    std::vector<HWND> invalid;
    std::map<HWND, RECT> invalidRects;
    std::map<HWND, bool> eraseRequested;  // some invalidation asked for the background to be erased

    std::optional<SizeMoveTracking> sizeMove;
    MouseTracking tracking;

    std::map<HWND, DesktopMinimize> desktopMinimize;

    // Double-click detection.
    HWND lastClickWindow = nullptr;
    std::uint64_t lastClickMs = 0;
    POINT lastClickPoint{};

    std::map<std::wstring, WindowClass> classes;
    const WindowClass& ClassOf(const std::wstring& name);

private:
    std::mutex m_lock;  // guards m_windows, which other threads read through IsWindow
    std::map<HWND, CWnd*> m_windows;
    std::uintptr_t m_nextHandle = 0x1000;
};

// The desktop window: a handle that is no window of ours and stands for "no owner".
HWND GetDesktopWindow();

}  // namespace platform
