// The window core: routing of pointer and key input, mouse tracking, and the layer-driven system move
// and resize.
#include "platform/ui/input.h"

#include <algorithm>
#include <cstdlib>

#include "platform/base/clock.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/win_api.h"
#include "platform/ui/window_system.h"
#include "platform/ui/wnd.h"
#include "platform/ui/wnd_internals.h"

namespace platform {
namespace {

constexpr UINT kDefaultHoverMs = 400;
bool Contains(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

CWnd* TargetAt(HWND topLevel, POINT screen) {
    WindowSystem& system = WindowSystem::Instance();
    if (CWnd* captured = CWnd::FromHandle(system.capture)) {
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
    MessageQueue::Instance().Post(target.m_hWnd, message, WindowSystem::Instance().buttons,
                                  MakePointLParam(client));
}

void ArmHover(MouseTracking& tracking) {
    MessageQueue& queue = MessageQueue::Instance();
    queue.Cancel(tracking.hoverTask);
    tracking.hoverTask = 0;
    if ((tracking.flags & TME_HOVER) == 0) {
        return;
    }
    const HWND hwnd = tracking.hwnd;
    tracking.hoverTask = queue.Schedule(tracking.hoverMs, [hwnd] {
        WindowSystem& system = WindowSystem::Instance();
        CWnd* wnd = CWnd::FromHandle(hwnd);
        if (wnd == nullptr || system.tracking.hwnd != hwnd || system.hover != hwnd) {
            return;
        }
        // Hover is reported once per request; leave tracking stays armed.
        system.tracking.flags &= ~TME_HOVER;
        system.tracking.hoverTask = 0;
        POINT client = system.cursor;
        wnd->ScreenToClient(&client);
        MessageQueue::Instance().Post(hwnd, WM_MOUSEHOVER, WindowSystem::Instance().buttons,
                                      MakePointLParam(client));
    });
}

// The pointer is now over `target` (null: over none of our windows).
void UpdateHover(CWnd* target) {
    WindowSystem& system = WindowSystem::Instance();
    const HWND now = target != nullptr ? target->m_hWnd : nullptr;
    if (system.hover != now) {
        MouseTracking& tracking = system.tracking;
        if (tracking.hwnd != nullptr && tracking.hwnd == system.hover) {
            if ((tracking.flags & TME_LEAVE) != 0) {
                MessageQueue::Instance().Post(tracking.hwnd, WM_MOUSELEAVE, 0, 0);
            }
            MessageQueue::Instance().Cancel(tracking.hoverTask);
            tracking = MouseTracking{};
        }
        system.hover = now;
    } else if (system.tracking.hwnd == now && now != nullptr) {
        ArmHover(system.tracking);  // the pointer moved: hover needs it to rest again
    }
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
    WindowSystem& system = WindowSystem::Instance();
    SizeMoveTracking& track = *system.sizeMove;
    CWnd* wnd = CWnd::FromHandle(track.hwnd);
    if (wnd == nullptr) {
        system.sizeMove.reset();
        return;
    }
    const LONG dx = screen.x - track.startPointer.x;
    const LONG dy = screen.y - track.startPointer.y;
    RECT rect = track.startRect;
    if (track.edge == 0) {
        rect = RECT{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
    } else {
        const WPARAM edge = track.edge;
        const bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
        const bool right = edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
        const bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
        const bool bottom = edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;
        const MINMAXINFO& limits = track.limits;
        auto clamp = [](LONG value, LONG low, LONG high) { return std::max(low, std::min(value, high)); };
        const LONG startWidth = rect.right - rect.left;
        const LONG startHeight = rect.bottom - rect.top;
        LONG width = startWidth + (right ? dx : 0) - (left ? dx : 0);
        LONG height = startHeight + (bottom ? dy : 0) - (top ? dy : 0);
        width =
            clamp(width, limits.ptMinTrackSize.x, std::max(limits.ptMinTrackSize.x, limits.ptMaxTrackSize.x));
        height = clamp(height, limits.ptMinTrackSize.y,
                       std::max(limits.ptMinTrackSize.y, limits.ptMaxTrackSize.y));
        // The edge opposite the one being dragged stays where it was.
        if (left) {
            rect.left = rect.right - width;
        } else {
            rect.right = rect.left + width;
        }
        if (top) {
            rect.top = rect.bottom - height;
        } else {
            rect.bottom = rect.top + height;
        }
    }
    WndInternals::SetRect(*wnd, rect);
}

// WM_SYSCOMMAND for a minimise or restore the desktop did, when the window is not in that state already.
void TellOfDesktopMinimize(HWND topLevel) {
    WindowSystem& system = WindowSystem::Instance();
    auto state = system.desktopMinimize.find(topLevel);
    if (state == system.desktopMinimize.end() || !state->second.pending) {
        return;  // the window went, or the layer changed its state since
    }
    const bool minimized = *state->second.pending;
    state->second.pending.reset();
    CWnd* top = CWnd::FromHandle(topLevel);
    if (top != nullptr && (top->IsIconic() != FALSE) != minimized) {
        MessageQueue::Instance().Post(topLevel, WM_SYSCOMMAND, minimized ? SC_MINIMIZE : SC_RESTORE, 0);
    }
}

}  // namespace

void DeliverMouse(HWND topLevel, MouseAction action, POINT screen) {
    WindowSystem& system = WindowSystem::Instance();
    system.cursor = screen;
    if (system.sizeMove) {
        if (action == MouseAction::Move) {
            TrackSizeMove(screen);
        } else if (action == MouseAction::LeftUp) {
            TrackSizeMove(screen);
            system.sizeMove.reset();
            WindowSystem::Instance().buttons &= ~MK_LBUTTON;
        }
        return;  // the pointer belongs to the move or resize until the button comes up
    }
    CWnd* target =
        action == MouseAction::Leave ? CWnd::FromHandle(system.capture) : TargetAt(topLevel, screen);
    UpdateHover(action == MouseAction::Leave ? nullptr : target);
    if (target == nullptr) {
        return;
    }
    switch (action) {
        case MouseAction::Move:
            if (system.capture == nullptr) {
                target->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(target->m_hWnd),
                                    MAKELPARAM(static_cast<WORD>(HTCLIENT), static_cast<WORD>(WM_MOUSEMOVE)));
            }
            PostMouse(*target, WM_MOUSEMOVE, screen);
            break;
        case MouseAction::LeftDown:
            WindowSystem::Instance().buttons |= MK_LBUTTON;
            PostMouse(*target, ButtonDownMessage(*target, screen), screen);
            break;
        case MouseAction::LeftUp:
            WindowSystem::Instance().buttons &= ~MK_LBUTTON;
            PostMouse(*target, WM_LBUTTONUP, screen);
            break;
        case MouseAction::RightDown:
            WindowSystem::Instance().buttons |= MK_RBUTTON;
            PostMouse(*target, WM_RBUTTONDOWN, screen);
            break;
        case MouseAction::RightUp:
            WindowSystem::Instance().buttons &= ~MK_RBUTTON;
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
    CWnd* focus = CWnd::FromHandle(system.focus);
    CWnd* target = focus != nullptr && focus->GetTopLevel() == top ? focus : top;
    // Decided now, not when the queue gets to it: the toolkit asks at once whether the key goes on.
    MSG msg{target->m_hWnd, WM_KEYDOWN, virtualKey, 1, 0, {}};
    return DispatchNow(msg);
}

void DeliverCloseRequest(HWND topLevel) {
    MessageQueue::Instance().Post(topLevel, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void DeliverMinimizedByDesktop(HWND topLevel, bool minimized) {
    DesktopMinimize& state = WindowSystem::Instance().desktopMinimize[topLevel];
    state.minimized = minimized;
    if (state.requested) {
        // On its way to what the layer asked for: nothing the window needs to hear of.
        if (*state.requested == minimized) {
            state.requested.reset();
        }
        return;
    }
    // X may report one minimise as several changes (iconified, mapped again, iconified), all at once.
    // Only where the reports end matters, so the window is told once they have been read.
    const bool queued = state.pending.has_value();
    state.pending = minimized;
    if (!queued) {
        MessageQueue::Instance().Schedule(0, [topLevel] { TellOfDesktopMinimize(topLevel); });
    }
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* request) {
    WindowSystem& system = WindowSystem::Instance();
    if (request == nullptr || !IsWindow(request->hwndTrack)) {
        return FALSE;
    }
    MouseTracking& tracking = system.tracking;
    if ((request->dwFlags & TME_CANCEL) != 0) {
        if (tracking.hwnd == request->hwndTrack) {
            tracking.flags &= ~request->dwFlags;
            if ((tracking.flags & TME_HOVER) == 0) {
                MessageQueue::Instance().Cancel(tracking.hoverTask);
            }
        }
        return TRUE;
    }
    if (tracking.hwnd != request->hwndTrack) {
        MessageQueue::Instance().Cancel(tracking.hoverTask);
        tracking = MouseTracking{};
        tracking.hwnd = request->hwndTrack;
    }
    tracking.flags |= request->dwFlags & (TME_HOVER | TME_LEAVE);
    tracking.hoverMs = request->dwHoverTime == HOVER_DEFAULT ? kDefaultHoverMs : request->dwHoverTime;
    if (system.hover != request->hwndTrack) {
        // Asked while the pointer is elsewhere: it has left already, as Windows reports it.
        if ((tracking.flags & TME_LEAVE) != 0) {
            MessageQueue::Instance().Post(request->hwndTrack, WM_MOUSELEAVE, 0, 0);
        }
        tracking = MouseTracking{};
        return TRUE;
    }
    ArmHover(tracking);
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
            if (system.sizeMove || top->IsIconic()) {
                return;  // one at a time; a minimised window has nothing to drag
            }
            SizeMoveTracking track;
            track.hwnd = top->m_hWnd;
            track.edge = (command & 0xFFF0) == SC_SIZE ? (command & 0x000F) : 0;
            track.startPointer = system.cursor;
            top->GetWindowRect(&track.startRect);
            track.limits = DefaultLimits();
            top->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&track.limits));
            if (IsWindow(track.hwnd) && (track.edge <= WMSZ_BOTTOMRIGHT)) {
                system.capture = nullptr;
                system.sizeMove = track;
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
