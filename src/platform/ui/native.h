#pragma once
// What a backend provides to the window layer: a native top-level window per top-level CWnd, and the
// services of the desktop around it. The core (message queue, CWnd, input routing, the layer-driven move
// and resize) is shared; a backend only maps these calls onto its toolkit, and feeds input back through
// input.h. Backends are separate libraries that both implement GetBackend().

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/win_messages.h"

namespace platform {

class Bitmap;

// A widget of the backend's toolkit (a GtkWidget in the gtk backend) that a child window hosts, such as
// a browser view. Opaque to the core.
struct NativeWidget;

class NativeWindow {
public:
    virtual ~NativeWindow() = default;
    // Screen rectangle of the whole window (there are no system frames: it is also the client area).
    virtual void SetGeometry(const RECT& screen) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual void SetMinimized(bool minimized) = 0;
    // Per-pixel alpha (WS_EX_LAYERED) switched on or off after the window was made.
    virtual void SetLayered(bool layered) = 0;
    virtual void SetTitle(const std::wstring& title) = 0;
    // The ICON resource the window shows in task lists and title bars.
    virtual void SetIcon(int iconResourceId) = 0;
    // Shows the window's picture: the composed pixels, with per-pixel alpha for a layered window.
    virtual void Present(const Bitmap& picture) = 0;
    // Stacking: directly above `below` (null: below every other window).
    virtual void PlaceAbove(NativeWindow* below) = 0;
    virtual void Activate() = 0;
    virtual void SetCursor(int cursorId) = 0;
    // Shows a hosted widget at `rect` (client coordinates of this window) above the picture, or hides
    // it. The first call makes the widget part of this window.
    virtual void PlaceWidget(NativeWidget* widget, const RECT& rect, bool visible) = 0;
    // Takes the widget out of this window; its hosting child is being destroyed.
    virtual void RemoveWidget(NativeWidget* widget) = 0;
};

struct NativeWindowParams {
    HWND hwnd;
    DWORD style;
    DWORD exStyle;
    NativeWindow* owner;  // null for a window without owner
};

struct MenuItem {
    UINT id;  // 0 for a separator
    std::wstring text;
};

class Backend {
public:
    virtual ~Backend() = default;

    // Connects to the desktop before any other call; false, with a reason a person can read, when
    // there is none (no display).
    virtual bool Open(std::string& reason) = 0;
    // The identity (UTF-8) windows made from now on carry for the desktop: on X11 their class.
    virtual void SetProgramIdentity(const std::string& identity) = 0;
    // Runs `handler` from the event loop when the process is asked to end; empty: the default again.
    virtual void WatchTermination(std::function<void()> handler) = 0;
    // The end of the program's time on the desktop: remaining tray icons removed, requests flushed.
    virtual void Close() = 0;

    virtual std::unique_ptr<NativeWindow> CreateWindow(const NativeWindowParams& params) = 0;
    virtual RECT WorkArea() = 0;
    // Where the pointer is on the screen, also outside the program's windows; false when the backend
    // only knows what input told the layer.
    virtual bool PointerPosition(POINT& screen) = 0;
    // Waits until native events have been handled, the message queue's waker was called, or timeoutMs
    // passed (-1: no limit). Native input arrives through input.h on this thread.
    virtual void WaitForEvents(int timeoutMs) = 0;
    virtual void Wake() = 0;

    // A popup menu at a screen point, run modally: the chosen id, or 0 when dismissed.
    virtual UINT TrackPopupMenu(const std::vector<MenuItem>& items, POINT screen, HWND owner) = 0;
    // IDOK or IDCANCEL. `owner` is a top-level window, or null.
    virtual int MessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) = 0;
    // The notification-area icon of a window: added, changed or removed. Clicks come back through input.h.
    virtual bool SetTrayIcon(HWND hwnd, UINT id, const std::wstring& tip, bool present) = 0;
    virtual void ShowTooltip(HWND topLevel, const std::wstring& text, POINT screen) = 0;
    virtual void HideTooltip() = 0;
};

Backend& GetBackend();

}  // namespace platform
