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

#include "platform/ui/mouse_tracker.h"
#include "platform/ui/pointer.h"
#include "platform/ui/win_messages.h"

class CWnd;

namespace platform {

struct WindowClass {
    UINT style = 0;
    int cursor = IDC_ARROW;
};

// Which window has the keyboard focus and which top-level window is in front.
class Activation final {
public:
    HWND Focus() const { return m_focus; }
    // Returns the window that had the focus before.
    HWND SetFocus(HWND hwnd);
    HWND Foreground() const { return m_foreground; }
    void SetForeground(HWND hwnd) { m_foreground = hwnd; }
    // The focus leaves a window `gone` picks; the foreground stays (a hidden window may come back).
    void LoseFocus(const std::function<bool(HWND)>& gone);
    void Forget(HWND hwnd);

private:
    HWND m_focus = nullptr;
    HWND m_foreground = nullptr;
};

// Where each top-level window stands between the layer and the desktop on being minimised, so that a
// window hears of what the desktop did and not of echoes of what the layer asked.
class DesktopMinimize final {
public:
    // The layer minimises or restores the native window; what the desktop said before is overtaken.
    void Requested(HWND hwnd, bool minimized);
    // The desktop reports the window minimised or restored. True when the report is news the window
    // must hear at the loop's next turn, and no earlier report is already waiting for that turn.
    bool Reported(HWND hwnd, bool minimized);
    // The latest waiting news, taken; none when the layer changed the state since or the window went.
    std::optional<bool> TakeNews(HWND hwnd);
    void Forget(HWND hwnd) { m_windows.erase(hwnd); }

private:
    struct State {
        bool minimized = false;  // the desktop's latest word
        std::optional<bool>
            requested;                // what the layer asked of the native window, until the desktop says so
        std::optional<bool> pending;  // a word of the desktop not yet compared with the window's own state
    };
    std::map<HWND, State> m_windows;
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
    // capture, focus, hover, tracking, move or minimise state it had.
    void Unregister(HWND hwnd);

    Stacking stacking;
    PaintQueue paint;

    Pointer pointer;
    ClickMemory clicks;
    SizeMove sizeMove;
    MouseTracker tracker;
    Activation activation;
    DesktopMinimize desktopMinimize;
    ClassTable classes;
};

// The desktop window: a handle that is no window of ours and stands for "no owner".
HWND GetDesktopWindow();

}  // namespace platform
