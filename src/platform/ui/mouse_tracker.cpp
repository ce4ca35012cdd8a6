// Leave and hover tracking as Windows reports it.
#include "platform/ui/mouse_tracker.h"

#include "platform/ui/pointer.h"
#include "platform/ui/window_system.h"
#include "platform/ui/wnd.h"

namespace platform {
namespace {

constexpr UINT kDefaultHoverMs = 400;

}  // namespace

void MouseTracker::Track(const TRACKMOUSEEVENT& request, HWND hover) {
    if ((request.dwFlags & TME_CANCEL) != 0) {
        if (m_hwnd == request.hwndTrack) {
            m_flags &= ~request.dwFlags;
            if ((m_flags & TME_HOVER) == 0) {
                MessageQueue::Instance().Cancel(m_hoverTask);
                m_hoverTask = 0;
            }
        }
        return;
    }
    if (m_hwnd != request.hwndTrack) {
        Clear();
        m_hwnd = request.hwndTrack;
    }
    m_flags |= request.dwFlags & (TME_HOVER | TME_LEAVE);
    m_hoverMs = request.dwHoverTime == HOVER_DEFAULT ? kDefaultHoverMs : request.dwHoverTime;
    if (hover != request.hwndTrack) {
        // Asked while the pointer is elsewhere: it has left already, as Windows reports it.
        if ((m_flags & TME_LEAVE) != 0) {
            MessageQueue::Instance().Post(request.hwndTrack, WM_MOUSELEAVE, 0, 0);
        }
        Clear();
        return;
    }
    ArmHover();
}

void MouseTracker::PointerMoved(HWND previous, HWND now) {
    if (previous != now) {
        if (m_hwnd != nullptr && m_hwnd == previous) {
            if ((m_flags & TME_LEAVE) != 0) {
                MessageQueue::Instance().Post(m_hwnd, WM_MOUSELEAVE, 0, 0);
            }
            Clear();
        }
    } else if (m_hwnd == now && now != nullptr) {
        ArmHover();
    }
}

void MouseTracker::HoverElapsed(HWND hwnd, const Pointer& pointer) {
    CWnd* wnd = CWnd::FromHandle(hwnd);
    if (wnd == nullptr || m_hwnd != hwnd || pointer.Hover() != hwnd) {
        return;
    }
    // Hover is reported once per request; leave tracking stays armed.
    m_flags &= ~TME_HOVER;
    m_hoverTask = 0;
    POINT client = pointer.Position();
    wnd->ScreenToClient(&client);
    MessageQueue::Instance().Post(hwnd, WM_MOUSEHOVER, pointer.Buttons(), MakePointLParam(client));
}

void MouseTracker::Forget(HWND hwnd) {
    if (m_hwnd == hwnd) {
        Clear();
    }
}

void MouseTracker::ArmHover() {
    MessageQueue& queue = MessageQueue::Instance();
    queue.Cancel(m_hoverTask);
    m_hoverTask = 0;
    if ((m_flags & TME_HOVER) == 0) {
        return;
    }
    const HWND hwnd = m_hwnd;
    // Through the instance, not `this`: tests reset the window system while tasks may still wait.
    m_hoverTask = queue.Schedule(m_hoverMs, [hwnd] {
        WindowSystem& system = WindowSystem::Instance();
        system.tracker.HoverElapsed(hwnd, system.pointer);
    });
}

void MouseTracker::Clear() {
    MessageQueue::Instance().Cancel(m_hoverTask);
    *this = MouseTracker{};
}

}  // namespace platform
