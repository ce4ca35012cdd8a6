#pragma once
// The state the window layer keeps for the whole UI thread: the handle table, the stacking of top-level
// windows, capture, focus, the pointer, windows waiting for WM_PAINT, mouse tracking and a move or resize
// the layer drives. Internal to platform/; tests reset it between cases.

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
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

// The top-level windows, bottom first.
class Stacking final {
public:
    const std::vector<HWND>& BottomFirst() const { return m_order; }
    // Where SetWindowPos puts it: HWND_BOTTOM at the bottom; after a stacked window just below that
    // window (Windows' "after"); anything else (HWND_TOP, a window not stacked) at the top.
    void Place(HWND hwnd, HWND insertAfter);
    // Directly above `below`, or at the top when `below` is not stacked.
    void PlaceAbove(HWND hwnd, HWND below);
    // The windows `inTopBand` picks go above all others, both groups keeping their order.
    void RaiseBand(const std::function<bool(HWND)>& inTopBand);
    void Remove(HWND hwnd);

private:
    std::vector<HWND> m_order;
};

// Windows with an invalid area, in the order they became invalid.
class PaintQueue final {
public:
    // Adds `area` to the window's invalid area; `erase` asks for its background to be erased.
    void Invalidate(HWND hwnd, const RECT& area, bool erase);
    void Validate(HWND hwnd);
    bool IsInvalid(HWND hwnd) const { return m_areas.count(hwnd) > 0; }
    // The invalid area and whether the background is to be erased; false when the window is valid.
    bool Pending(HWND hwnd, RECT& area, bool& erase) const;
    // The invalid windows, the longest waiting first.
    const std::vector<HWND>& Windows() const { return m_order; }

private:
    std::vector<HWND> m_order;
    std::map<HWND, RECT> m_areas;
    std::set<HWND> m_erase;
};

// The handles of live windows. Other threads ask it whether a handle is live, so it has a lock.
class HandleTable final {
public:
    // A new handle for `wnd`; handles are never reused, so a stale handle never reaches a newer window.
    HWND Register(CWnd* wnd);
    void Remove(HWND hwnd);
    // Any thread: whether the handle names a live window.
    bool IsWindow(HWND hwnd);
    CWnd* Lookup(HWND hwnd);

private:
    std::mutex m_lock;
    std::map<HWND, CWnd*> m_windows;
    std::uintptr_t m_nextHandle = 0x1000;
};

// The last press of the left button, which tells a double click from two clicks.
class ClickMemory final {
public:
    // Whether a press on `hwnd` at `screen` and `nowMs` completes a double click: the window wants
    // them, and the last press was on it, no more than `limitMs` earlier and a few pixels away. A double
    // click is forgotten, so a third press starts over; any other press is remembered.
    bool IsDoubleClick(HWND hwnd, bool wantsDouble, POINT screen, std::uint64_t nowMs, std::uint64_t limitMs);
    void Forget(HWND hwnd);

private:
    HWND m_window = nullptr;
    std::uint64_t m_ms = 0;
    POINT m_point{};
};

// The registered window classes, found by name without regard to case.
class ClassTable final {
public:
    void Register(const std::wstring& name, const WindowClass& windowClass) { m_classes[name] = windowClass; }
    // The class, or the defaults for a name never registered.
    const WindowClass& Find(const std::wstring& name) const;

private:
    std::map<std::wstring, WindowClass> m_classes;
};

class WindowSystem final {
public:
    static WindowSystem& Instance();
    // Forgets every window and all state (tests); windows still alive must have been destroyed.
    static void Reset();

    HandleTable handles;
    // Forgets the window everywhere: its handle, its place in the stacking, its invalid area, and the
    // capture, focus, hover or tracking it had.
    void Unregister(HWND hwnd);

    Stacking stacking;
    PaintQueue paint;

    HWND capture = nullptr;
    HWND focus = nullptr;
    HWND foreground = nullptr;
    HWND hover = nullptr;  // the window the pointer is over
    POINT cursor{};
    WPARAM buttons = 0;  // MK_LBUTTON and MK_RBUTTON while held
    int cursorId = IDC_ARROW;

    std::optional<SizeMoveTracking> sizeMove;
    MouseTracking tracking;

    std::map<HWND, DesktopMinimize> desktopMinimize;

    ClickMemory clicks;
    ClassTable classes;
};

// The desktop window: a handle that is no window of ours and stands for "no owner".
HWND GetDesktopWindow();

}  // namespace platform
