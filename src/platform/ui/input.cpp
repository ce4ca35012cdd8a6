// The window core: routing of pointer and key input, mouse tracking, and the layer-driven system move
// and resize.
#include "platform/ui/input.h"

#include <optional>

#include "platform/base/clock.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/win_api.h"
#include "platform/ui/window_system.h"
#include "platform/ui/wnd.h"
#include "platform/ui/wnd_internals.h"

namespace platform {
namespace {

bool Contains(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

CWnd* TargetAt(HWND topLevel, POINT screen) {
    WindowSystem& system = WindowSystem::Instance();
    if (CWnd* captured = CWnd::FromHandle(system.pointer.Capture())) {
        return captured;
    }
    CWnd* top = CWnd::FromHandle(topLevel);
    if (top == nullptr || !top->IsWindowVisible()) {
        return nullptr;
    }
    RECT rect;
    top->GetWindowRect(&rect);
    if (!Contains(rect, screen)) {
        return nullptr;
    }
    POINT client = screen;
    top->ScreenToClient(&client);
    return WndInternals::ChildAt(*top, client);
}

void PostMouse(CWnd& target, UINT message, POINT screen) {
    POINT client = screen;
    target.ScreenToClient(&client);
    MessageQueue::Instance().Post(target.m_hWnd, message, WindowSystem::Instance().pointer.Buttons(),
                                  MakePointLParam(client));
}

// The pointer is now over `target` (null: over none of our windows).
void UpdateHover(CWnd* target) {
    WindowSystem& system = WindowSystem::Instance();
    const HWND now = target != nullptr ? target->m_hWnd : nullptr;
    system.tracker.PointerMoved(system.pointer.Hover(), now);
    system.pointer.SetHover(now);
}

UINT ButtonDownMessage(CWnd& target, POINT screen) {
    const bool wantsDouble = (WndInternals::ClassStyle(target) & CS_DBLCLKS) != 0;
    return WindowSystem::Instance().clicks.IsDoubleClick(target.m_hWnd, wantsDouble, screen,
                                                         CurrentClock().NowMs(), GetDoubleClickTime())
               ? WM_LBUTTONDBLCLK
               : WM_LBUTTONDOWN;
}

// Follows the pointer during a move or resize the layer drives.
void TrackSizeMove(POINT screen) {
    SizeMove& sizeMove = WindowSystem::Instance().sizeMove;
    if (CWnd* wnd = CWnd::FromHandle(sizeMove.Window())) {
        WndInternals::SetRect(*wnd, sizeMove.RectAt(screen));
    } else {
        sizeMove.End();
    }
}

// WM_SYSCOMMAND for a minimise or restore the desktop did, when the window is not in that state already.
void TellOfDesktopMinimize(HWND topLevel) {
    const std::optional<bool> minimized = WindowSystem::Instance().desktopMinimize.TakeNews(topLevel);
    CWnd* top = CWnd::FromHandle(topLevel);
    if (minimized && top != nullptr && (top->IsIconic() != FALSE) != *minimized) {
        MessageQueue::Instance().Post(topLevel, WM_SYSCOMMAND, *minimized ? SC_MINIMIZE : SC_RESTORE, 0);
    }
}

}  // namespace

void DeliverMouse(HWND topLevel, MouseAction action, POINT screen) {
    WindowSystem& system = WindowSystem::Instance();
    Pointer& pointer = system.pointer;
    pointer.MoveTo(screen);
    if (system.sizeMove.Active()) {
        if (action == MouseAction::Move) {
            TrackSizeMove(screen);
        } else if (action == MouseAction::LeftUp) {
            TrackSizeMove(screen);
            system.sizeMove.End();
            pointer.Release(MK_LBUTTON);
        }
        return;  // the pointer belongs to the move or resize until the button comes up
    }
    CWnd* target =
        action == MouseAction::Leave ? CWnd::FromHandle(pointer.Capture()) : TargetAt(topLevel, screen);
    UpdateHover(action == MouseAction::Leave ? nullptr : target);
    if (target == nullptr) {
        return;
    }
    switch (action) {
        case MouseAction::Move:
            if (pointer.Capture() == nullptr) {
                target->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(target->m_hWnd),
                                    MAKELPARAM(static_cast<WORD>(HTCLIENT), static_cast<WORD>(WM_MOUSEMOVE)));
            }
            PostMouse(*target, WM_MOUSEMOVE, screen);
            break;
        case MouseAction::LeftDown:
            pointer.Press(MK_LBUTTON);
            PostMouse(*target, ButtonDownMessage(*target, screen), screen);
            break;
        case MouseAction::LeftUp:
            pointer.Release(MK_LBUTTON);
            PostMouse(*target, WM_LBUTTONUP, screen);
            break;
        case MouseAction::RightDown:
            pointer.Press(MK_RBUTTON);
            PostMouse(*target, WM_RBUTTONDOWN, screen);
            break;
        case MouseAction::RightUp:
            pointer.Release(MK_RBUTTON);
            PostMouse(*target, WM_RBUTTONUP, screen);
            break;
        case MouseAction::Leave:
            break;
    }
}

bool DeliverKey(HWND topLevel, UINT virtualKey) {
    WindowSystem& system = WindowSystem::Instance();
    CWnd* top = CWnd::FromHandle(topLevel);
    if (top == nullptr) {
        return false;
    }
    CWnd* focus = CWnd::FromHandle(system.activation.Focus());
    CWnd* target = focus != nullptr && focus->GetTopLevel() == top ? focus : top;
    // Decided now, not when the queue gets to it: the toolkit asks at once whether the key goes on.
    MSG msg{target->m_hWnd, WM_KEYDOWN, virtualKey, 1, 0, {}};
    return DispatchNow(msg);
}

void DeliverCloseRequest(HWND topLevel) {
    MessageQueue::Instance().Post(topLevel, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void DeliverMinimizedByDesktop(HWND topLevel, bool minimized) {
    if (WindowSystem::Instance().desktopMinimize.Reported(topLevel, minimized)) {
        MessageQueue::Instance().Schedule(0, [topLevel] { TellOfDesktopMinimize(topLevel); });
    }
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* request) {
    if (request == nullptr || !IsWindow(request->hwndTrack)) {
        return FALSE;
    }
    WindowSystem& system = WindowSystem::Instance();
    system.tracker.Track(*request, system.pointer.Hover());
    return TRUE;
}

UINT GetDoubleClickTime() {
    return 500;
}

}  // namespace platform

void WndInternals::SystemCommand(CWnd& wnd, WPARAM command) {
    using namespace platform;
    WindowSystem& system = WindowSystem::Instance();
    CWnd* top = wnd.GetTopLevel();
    switch (command & 0xFFF0) {
        case SC_MOVE:
        case SC_SIZE: {
            if (system.sizeMove.Active() || top->IsIconic()) {
                return;  // one at a time; a minimised window has nothing to drag
            }
            SizeMove::Start start;
            start.hwnd = top->m_hWnd;
            start.edge = (command & 0xFFF0) == SC_SIZE ? (command & 0x000F) : 0;
            start.pointer = system.pointer.Position();
            top->GetWindowRect(&start.rect);
            start.limits = DefaultLimits();
            top->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&start.limits));
            if (IsWindow(start.hwnd) && (start.edge <= WMSZ_BOTTOMRIGHT)) {
                system.pointer.ReleaseCapture();
                system.sizeMove.Begin(start);
            }
            return;
        }
        case SC_MINIMIZE:
            top->ShowWindow(SW_MINIMIZE);
            return;
        case SC_MAXIMIZE:
            top->ShowWindow(SW_SHOWMAXIMIZED);
            return;
        case SC_RESTORE:
            top->ShowWindow(SW_RESTORE);
            return;
        case SC_CLOSE:
            top->SendMessage(WM_CLOSE);
            return;
        default:
            return;
    }
}
