// The window core: rectangles, coordinates, showing, minimising, maximising and stacking of CWnd.
#include <algorithm>

#include "platform/ui/native.h"
#include "platform/ui/win_api.h"
#include "platform/ui/window_system.h"
#include "platform/ui/wnd.h"
#include "platform/ui/wnd_internals.h"

using platform::WindowSystem;

namespace {

LONG Width(const RECT& rect) {
    return rect.right - rect.left;
}

LONG Height(const RECT& rect) {
    return rect.bottom - rect.top;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

LPARAM SizeLParam(const RECT& rect) {
    return MAKELPARAM(static_cast<WORD>(Width(rect)), static_cast<WORD>(Height(rect)));
}

}  // namespace

void CWnd::GetWindowRect(RECT* rect) const {
    *rect = m_rect;
    if (CWnd* parent = GetParent()) {
        POINT origin{0, 0};
        parent->ClientToScreen(&origin);
        *rect = RECT{m_rect.left + origin.x, m_rect.top + origin.y, m_rect.right + origin.x,
                     m_rect.bottom + origin.y};
    }
}

void CWnd::GetClientRect(RECT* rect) const {
    if (m_bIconic) {
        *rect = RECT{0, 0, 0, 0};
        return;
    }
    *rect = RECT{0, 0, Width(m_rect), Height(m_rect)};
}

void CWnd::ClientToScreen(POINT* point) const {
    RECT window;
    GetWindowRect(&window);
    point->x += window.left;
    point->y += window.top;
}

void CWnd::ClientToScreen(RECT* rect) const {
    POINT topLeft{rect->left, rect->top};
    POINT bottomRight{rect->right, rect->bottom};
    ClientToScreen(&topLeft);
    ClientToScreen(&bottomRight);
    *rect = RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

void CWnd::ScreenToClient(POINT* point) const {
    RECT window;
    GetWindowRect(&window);
    point->x -= window.left;
    point->y -= window.top;
}

void CWnd::ScreenToClient(RECT* rect) const {
    POINT topLeft{rect->left, rect->top};
    POINT bottomRight{rect->right, rect->bottom};
    ScreenToClient(&topLeft);
    ScreenToClient(&bottomRight);
    *rect = RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    SetWindowPos(nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

void CWnd::MoveWindow(const RECT& rect, BOOL repaint) {
    MoveWindow(rect.left, rect.top, Width(rect), Height(rect), repaint);
}

BOOL CWnd::SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    RECT rect = m_rect;
    if ((flags & SWP_NOMOVE) == 0) {
        rect = RECT{x, y, x + Width(rect), y + Height(rect)};
    }
    if ((flags & SWP_NOSIZE) == 0) {
        rect.right = rect.left + std::max(cx, 0);
        rect.bottom = rect.top + std::max(cy, 0);
    }
    // HWND_NOTOPMOST moves only a topmost window; any other keeps its place, as on Windows.
    const bool keepsOrder = (flags & SWP_NOZORDER) != 0 || (insertAfter == HWND_NOTOPMOST && !m_bTopmost);
    if (!keepsOrder) {
        if (insertAfter == HWND_TOPMOST) {
            m_bTopmost = TRUE;
        } else if (insertAfter == HWND_NOTOPMOST) {
            m_bTopmost = FALSE;
        }
        if (m_hParent == nullptr) {
            WndInternals::Restack(*this, insertAfter);
        } else if (CWnd* parent = GetParent()) {
            auto& siblings = parent->m_children;
            siblings.erase(std::remove(siblings.begin(), siblings.end(), m_hWnd), siblings.end());
            auto after = std::find(siblings.begin(), siblings.end(), insertAfter);
            siblings.insert(insertAfter == HWND_BOTTOM ? siblings.begin() : after, m_hWnd);
        }
    }
    if (!SameRect(rect, m_rect)) {
        SetRect(rect, (flags & SWP_NOREDRAW) == 0);
    }
    if (m_hWnd != nullptr && (flags & SWP_SHOWWINDOW) != 0 && !IsWindowVisible()) {
        SetVisibleFlag(true);
    } else if (m_hWnd != nullptr && (flags & SWP_HIDEWINDOW) != 0) {
        SetVisibleFlag(false);
    }
    return m_hWnd != nullptr;
}

void CWnd::SetRect(const RECT& rect, bool repaint) {
    const RECT old = m_rect;
    m_rect = rect;
    const bool moved = old.left != rect.left || old.top != rect.top;
    const bool sized = Width(old) != Width(rect) || Height(old) != Height(rect);
    if (m_native && !m_bIconic) {
        m_native->SetGeometry(rect);
    }
    if (CWnd* parent = GetParent(); parent != nullptr && repaint) {
        parent->InvalidateRect(&old, TRUE);
        parent->InvalidateRect(&rect, TRUE);
    }
    if (moved) {
        POINT origin{0, 0};
        if (m_hParent != nullptr) {
            origin = POINT{rect.left, rect.top};
        } else {
            ClientToScreen(&origin);
        }
        SendMessage(WM_MOVE, 0, MakePointLParam(origin));
    }
    if (sized && m_hWnd != nullptr) {
        SendMessage(WM_SIZE, m_bZoomed ? SIZE_MAXIMIZED : SIZE_RESTORED, SizeLParam(rect));
        if (repaint && m_hWnd != nullptr) {
            Invalidate(TRUE);
        }
    }
    if (m_hWnd != nullptr && m_hParent != nullptr) {
        PlaceHostedWidgets();
    }
}

void CWnd::HostNativeWidget(platform::NativeWidget* widget) {
    // Only a child has a place in a native window to put the widget at.
    if (widget == m_pHostedWidget || m_hWnd == nullptr || m_hParent == nullptr) {
        return;
    }
    CWnd* top = GetTopLevel();
    if (m_pHostedWidget != nullptr && top->m_native) {
        top->m_native->RemoveWidget(m_pHostedWidget);
    }
    m_pHostedWidget = widget;
    PlaceHostedWidgets();
}

void CWnd::PlaceHostedWidgets() {
    CWnd* top = GetTopLevel();
    if (!top->m_native) {
        return;
    }
    POINT origin{0, 0};
    top->ClientToScreen(&origin);
    std::vector<CWnd*> pending{top};
    while (!pending.empty()) {
        CWnd* wnd = pending.back();
        pending.pop_back();
        if (wnd->m_pHostedWidget != nullptr) {
            RECT place{};
            wnd->GetClientRect(&place);
            wnd->ClientToScreen(&place);
            place = RECT{place.left - origin.x, place.top - origin.y, place.right - origin.x,
                         place.bottom - origin.y};
            top->m_native->PlaceWidget(wnd->m_pHostedWidget, place, wnd->IsWindowVisible() != FALSE);
        }
        for (HWND child : wnd->m_children) {
            if (CWnd* childWnd = FromHandle(child)) {
                pending.push_back(childWnd);
            }
        }
    }
}

BOOL CWnd::IsWindowVisible() const {
    for (const CWnd* wnd = this; wnd != nullptr; wnd = wnd->GetParent()) {
        if (wnd->m_hWnd == nullptr || (wnd->m_dwStyle & WS_VISIBLE) == 0) {
            return FALSE;
        }
    }
    return TRUE;
}

void CWnd::SetVisibleFlag(bool visible) {
    const bool was = (m_dwStyle & WS_VISIBLE) != 0;
    if (was == visible) {
        return;
    }
    m_dwStyle = visible ? (m_dwStyle | WS_VISIBLE) : (m_dwStyle & ~WS_VISIBLE);
    WindowSystem& system = WindowSystem::Instance();
    if (m_native) {
        m_native->SetVisible(visible);
    }
    if (CWnd* parent = GetParent()) {
        RECT area = m_rect;
        parent->InvalidateRect(&area, TRUE);
    }
    if (m_hParent != nullptr || !m_children.empty()) {
        PlaceHostedWidgets();
    }
    if (visible) {
        Invalidate(TRUE);
        return;
    }
    // A hidden window keeps neither capture nor focus nor the pointer.
    auto within = [this](HWND hwnd) {
        for (CWnd* wnd = FromHandle(hwnd); wnd != nullptr; wnd = wnd->GetParent()) {
            if (wnd == this) {
                return true;
            }
        }
        return false;
    };
    system.pointer.Forget(within);
    system.activation.LoseFocus(within);
}

BOOL CWnd::ShowWindow(int command) {
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    const BOOL wasVisible = (m_dwStyle & WS_VISIBLE) != 0;
    switch (command) {
        case SW_HIDE:
            SetVisibleFlag(false);
            break;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
            SetVisibleFlag(true);
            Minimize();
            break;
        case SW_SHOWMAXIMIZED:
            SetVisibleFlag(true);
            Maximize();
            SetForegroundWindow();
            break;
        case SW_RESTORE:
        case SW_SHOWNORMAL:
            SetVisibleFlag(true);
            Restore();
            SetForegroundWindow();
            break;
        default:  // SW_SHOW, SW_SHOWNOACTIVATE: visible in whatever state it is
            SetVisibleFlag(true);
            break;
    }
    return wasVisible;
}

void CWnd::Minimize() {
    if (m_bIconic || m_hParent != nullptr) {
        return;
    }
    m_bWasZoomed = m_bZoomed;
    if (!m_bZoomed) {
        m_restoreRect = m_rect;
    }
    m_bIconic = TRUE;
    m_bZoomed = FALSE;
    SetNativeMinimized(true);
    SendMessage(WM_SIZE, SIZE_MINIMIZED, 0);
}

void CWnd::SetNativeMinimized(bool minimized) {
    if (!m_native) {
        return;
    }
    platform::WindowSystem::Instance().desktopMinimize.Requested(m_hWnd, minimized);
    m_native->SetMinimized(minimized);
}

void CWnd::Maximize() {
    if (m_hParent != nullptr) {
        return;
    }
    MINMAXINFO info = WndInternals::DefaultLimits();
    SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    if (m_hWnd == nullptr) {
        return;
    }
    if (!m_bZoomed && !m_bIconic) {
        m_restoreRect = m_rect;
    }
    const bool wasIconic = m_bIconic;
    m_bIconic = FALSE;
    m_bZoomed = TRUE;
    if (wasIconic) {
        SetNativeMinimized(false);
    }
    RECT full{info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxPosition.x + info.ptMaxSize.x,
              info.ptMaxPosition.y + info.ptMaxSize.y};
    if (SameRect(full, m_rect)) {
        if (m_native) {
            m_native->SetGeometry(full);
        }
        SendMessage(WM_SIZE, SIZE_MAXIMIZED, SizeLParam(full));
        Invalidate(TRUE);
    } else {
        SetRect(full, true);
    }
}

void CWnd::Restore() {
    if (m_bIconic) {
        m_bIconic = FALSE;
        SetNativeMinimized(false);
        if (m_bWasZoomed) {
            m_bZoomed = TRUE;
            if (m_native) {
                m_native->SetGeometry(m_rect);
            }
            SendMessage(WM_SIZE, SIZE_MAXIMIZED, SizeLParam(m_rect));
            Invalidate(TRUE);
            return;
        }
        // The size comes back from nothing, so the window always hears of it.
        m_rect = RECT{m_restoreRect.left, m_restoreRect.top, m_restoreRect.left, m_restoreRect.top};
        if (m_native) {
            m_native->SetGeometry(m_restoreRect);
        }
        SetRect(m_restoreRect, true);
        return;
    }
    if (m_bZoomed) {
        m_bZoomed = FALSE;
        SetRect(m_restoreRect, true);
    }
}

void CWnd::CenterWindow(CWnd* alternateOwner) {
    RECT area{};
    platform::GetWorkArea(&area);
    RECT reference = area;
    CWnd* owner = alternateOwner != nullptr ? alternateOwner : GetOwner();
    if (m_hParent != nullptr) {
        GetParent()->GetClientRect(&reference);
        area = reference;
    } else if (owner != nullptr && owner->IsWindowVisible() && !owner->IsIconic()) {
        owner->GetWindowRect(&reference);
    }
    const LONG width = Width(m_rect);
    const LONG height = Height(m_rect);
    LONG x = reference.left + (Width(reference) - width) / 2;
    LONG y = reference.top + (Height(reference) - height) / 2;
    // Keep it on the desktop where it fits.
    x = std::max(area.left, std::min(x, area.right - width));
    y = std::max(area.top, std::min(y, area.bottom - height));
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::BringWindowToTop() {
    CWnd* top = GetTopLevel();
    WndInternals::Restack(*top, HWND_TOP);
    if (m_hParent != nullptr) {
        SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
}

BOOL CWnd::SetForegroundWindow() {
    CWnd* top = GetTopLevel();
    if (top->m_hWnd == nullptr) {
        return FALSE;
    }
    WindowSystem::Instance().activation.SetForeground(top->m_hWnd);
    WndInternals::Restack(*top, HWND_TOP);
    if (top->m_native) {
        top->m_native->Activate();
    }
    top->SetFocus();
    return TRUE;
}

CWnd* CWnd::SetFocus() {
    WindowSystem& system = WindowSystem::Instance();
    CWnd* previous = FromHandle(system.activation.Focus());
    if (previous == this || m_hWnd == nullptr) {
        return previous;
    }
    system.activation.SetFocus(m_hWnd);
    const HWND self = m_hWnd;
    if (previous != nullptr) {
        previous->SendMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(self));
    }
    if (platform::IsWindow(self)) {
        SendMessage(WM_SETFOCUS, reinterpret_cast<WPARAM>(previous != nullptr ? previous->m_hWnd : nullptr));
    }
    return previous;
}

void WndInternals::Restack(CWnd& wnd, HWND insertAfter) {
    WindowSystem& system = WindowSystem::Instance();
    system.stacking.Place(wnd.m_hWnd, insertAfter);
    // Owned windows stay above their owner, in their own order, all the way down; so does a window
    // placed below its own owner.
    CWnd* root = &wnd;
    while (CWnd* owner = root->m_hOwner != nullptr ? system.handles.Lookup(root->m_hOwner) : nullptr) {
        root = owner;
    }
    std::vector<HWND> pending{root->m_hWnd};
    while (!pending.empty()) {
        HWND owner = pending.back();
        pending.pop_back();
        std::vector<HWND> owned;
        for (HWND hwnd : system.stacking.BottomFirst()) {
            CWnd* candidate = system.handles.Lookup(hwnd);
            if (candidate != nullptr && candidate->m_hOwner == owner) {
                owned.push_back(hwnd);
            }
        }
        HWND above = owner;
        for (HWND hwnd : owned) {
            system.stacking.PlaceAbove(hwnd, above);
            above = hwnd;
            pending.push_back(hwnd);
        }
    }
    // The topmost band stays above the rest.
    system.stacking.RaiseBand([&](HWND hwnd) {
        CWnd* candidate = system.handles.Lookup(hwnd);
        return candidate != nullptr && candidate->m_bTopmost;
    });
    platform::NativeWindow* below = nullptr;
    for (HWND hwnd : system.stacking.BottomFirst()) {
        CWnd* candidate = system.handles.Lookup(hwnd);
        if (candidate != nullptr && candidate->m_native) {
            candidate->m_native->PlaceAbove(below);
            below = candidate->m_native.get();
        }
    }
}

CWnd* WndInternals::ChildAt(CWnd& wnd, POINT client) {
    for (auto it = wnd.m_children.rbegin(); it != wnd.m_children.rend(); ++it) {
        CWnd* child = CWnd::FromHandle(*it);
        if (child == nullptr || (child->m_dwStyle & WS_VISIBLE) == 0) {
            continue;
        }
        const RECT& r = child->m_rect;
        if (client.x >= r.left && client.x < r.right && client.y >= r.top && client.y < r.bottom) {
            return ChildAt(*child, POINT{client.x - r.left, client.y - r.top});
        }
    }
    return &wnd;
}

MINMAXINFO WndInternals::DefaultLimits() {
    RECT area{};
    platform::GetWorkArea(&area);
    MINMAXINFO info{};
    info.ptMaxSize = POINT{Width(area), Height(area)};
    info.ptMaxPosition = POINT{area.left, area.top};
    info.ptMinTrackSize = POINT{1, 1};
    info.ptMaxTrackSize = POINT{Width(area), Height(area)};
    return info;
}
