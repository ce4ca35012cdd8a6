// The window core: creation, destruction and message dispatch of CWnd, the same for every backend.
#include "platform/ui/wnd.h"

#include <algorithm>

#include "platform/base/text.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/native.h"
#include "platform/ui/win_api.h"
#include "platform/ui/window_system.h"
#include "platform/ui/wnd_internals.h"

using platform::MessageQueue;
using platform::WindowSystem;

namespace {

POINT PointOf(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

bool IsButtonClass(const std::wstring& name) {
    return platform::EqualsIgnoreCase(name, L"Button");
}

}  // namespace

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (m_hWnd != nullptr) {
        DestroyWindow();
    }
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    return WindowSystem::Instance().handles.Lookup(hwnd);
}

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style, int x,
                    int y, int width, int height, HWND parent, UINT id, void* param) {
    if (m_hWnd != nullptr) {
        return FALSE;
    }
    CREATESTRUCT cs{param,      parent,    id,     height, width, y, x, static_cast<LONG>(style),
                    windowName, className, exStyle};
    if (!PreCreateWindow(cs)) {
        return FALSE;
    }
    WindowSystem& system = WindowSystem::Instance();
    const bool child = (static_cast<DWORD>(cs.style) & WS_CHILD) != 0;
    CWnd* parentWnd = FromHandle(cs.hwndParent);
    if (child && parentWnd == nullptr) {
        return FALSE;  // a child needs a live parent
    }
    m_strClass = cs.lpszClass != nullptr ? cs.lpszClass : L"";
    m_strText = cs.lpszName != nullptr ? cs.lpszName : L"";
    m_nClassStyle = system.classes.Find(m_strClass).style;
    m_dwStyle = static_cast<DWORD>(cs.style) & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
    m_dwExStyle = cs.dwExStyle;
    m_nId = cs.id;
    m_rect = RECT{cs.x, cs.y, cs.x + std::max(cs.cx, 0), cs.y + std::max(cs.cy, 0)};
    m_bTopmost = (cs.dwExStyle & WS_EX_TOPMOST) != 0;
    m_hWnd = system.handles.Register(this);

    if (child) {
        m_hParent = parentWnd->m_hWnd;
        parentWnd->m_children.push_back(m_hWnd);
    } else {
        CWnd* owner = parentWnd != nullptr ? parentWnd->GetTopLevel() : nullptr;
        m_hOwner = owner != nullptr ? owner->m_hWnd : nullptr;
        m_native = platform::GetBackend().CreateWindow(platform::NativeWindowParams{
            m_hWnd, m_dwStyle, m_dwExStyle, owner != nullptr ? owner->m_native.get() : nullptr});
        m_native->SetTitle(m_strText);
        m_native->SetGeometry(m_rect);
        WndInternals::Restack(*this, HWND_TOP);
    }
    PreSubclassWindow();

    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow();
        return FALSE;
    }
    if (m_hWnd == nullptr) {
        return FALSE;  // destroyed while being created
    }
    // Every window learns its first size and position, as on Windows.
    SendMessage(WM_SIZE, SIZE_RESTORED,
                MAKELPARAM(static_cast<WORD>(m_rect.right - m_rect.left),
                           static_cast<WORD>(m_rect.bottom - m_rect.top)));
    POINT origin{0, 0};
    if (child) {
        origin = POINT{m_rect.left, m_rect.top};
    } else {
        ClientToScreen(&origin);
    }
    SendMessage(WM_MOVE, 0, MakePointLParam(origin));
    if (m_hWnd != nullptr && (static_cast<DWORD>(cs.style) & WS_VISIBLE) != 0) {
        ShowWindow(SW_SHOW);
    }
    return m_hWnd != nullptr;
}

BOOL CWnd::Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id) {
    return CreateEx(0, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent != nullptr ? parent->m_hWnd : nullptr, id);
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr || m_destroying) {
        return FALSE;
    }
    m_destroying = true;
    WindowSystem& system = WindowSystem::Instance();
    const HWND self = m_hWnd;
    if (m_pHostedWidget != nullptr) {
        if (platform::NativeWindow* native = GetTopLevel()->Native()) {
            native->RemoveWidget(m_pHostedWidget);
        }
        m_pHostedWidget = nullptr;
    }
    if (IsWindowVisible()) {
        SetVisibleFlag(false);
    }
    // Owned windows go first, as on Windows.
    std::vector<HWND> owned;
    for (HWND top : system.stacking.BottomFirst()) {
        CWnd* wnd = FromHandle(top);
        if (wnd != nullptr && wnd->m_hOwner == self) {
            owned.push_back(top);
        }
    }
    for (HWND hwnd : owned) {
        if (CWnd* wnd = FromHandle(hwnd)) {
            wnd->DestroyWindow();
        }
    }
    SendMessage(WM_DESTROY);
    DestroyTree();
    SendMessage(WM_NCDESTROY);
    system.Unregister(self);
    MessageQueue::Instance().KillTimers(self);
    m_native.reset();
    m_picture = platform::Bitmap();
    m_hWnd = nullptr;
    m_hParent = nullptr;
    m_hOwner = nullptr;
    m_destroying = false;
    PostNcDestroy();  // may delete this
    return TRUE;
}

void CWnd::DestroyTree() {
    std::vector<HWND> children = m_children;
    for (HWND hwnd : children) {
        if (CWnd* wnd = FromHandle(hwnd)) {
            wnd->DestroyWindow();
        }
    }
    if (CWnd* parent = GetParent()) {
        auto& siblings = parent->m_children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), m_hWnd), siblings.end());
        RECT area = m_rect;
        parent->InvalidateRect(&area, TRUE);
    }
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    m_dispatching.push_back(CurrentMessage{message, wParam, lParam});
    LRESULT result = Dispatch(message, wParam, lParam);
    m_dispatching.pop_back();
    return result;
}

LRESULT CWnd::Default() {
    if (m_dispatching.empty()) {
        return 0;
    }
    const CurrentMessage current = m_dispatching.back();
    return DefWindowProc(current.message, current.wParam, current.lParam);
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(reinterpret_cast<CREATESTRUCT*>(lParam));
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_SIZE:
            OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_MOVE:
            OnMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return OnEraseBkgnd(reinterpret_cast<platform::Canvas*>(wParam));
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(static_cast<UINT>(wParam), PointOf(lParam));
            return 0;
        case WM_LBUTTONDOWN:
            OnLButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
            return 0;
        case WM_LBUTTONUP:
            OnLButtonUp(static_cast<UINT>(wParam), PointOf(lParam));
            return 0;
        case WM_LBUTTONDBLCLK:
            OnLButtonDblClk(static_cast<UINT>(wParam), PointOf(lParam));
            return 0;
        case WM_RBUTTONDOWN:
            OnRButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
            return 0;
        case WM_RBUTTONUP:
            OnRButtonUp(static_cast<UINT>(wParam), PointOf(lParam));
            return 0;
        case WM_MOUSEHOVER:
            OnMouseHover(static_cast<UINT>(wParam), PointOf(lParam));
            return 0;
        case WM_MOUSELEAVE:
            OnMouseLeave();
            return 0;
        case WM_SETCURSOR:
            return OnSetCursor(FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), HIWORD(lParam));
        case WM_COMMAND:
            return OnCommand(wParam, lParam) ? 0 : Default();
        case WM_GETMINMAXINFO:
            OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        case WM_KEYDOWN:
            OnKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_SYSCOMMAND:
            OnSysCommand(static_cast<UINT>(wParam), lParam);
            return 0;
        case WM_SETFOCUS:
            OnSetFocus(FromHandle(reinterpret_cast<HWND>(wParam)));
            return 0;
        case WM_KILLFOCUS:
            OnKillFocus(FromHandle(reinterpret_cast<HWND>(wParam)));
            return 0;
        default:
            return DefWindowProc(message, wParam, lParam);
    }
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsButtonClass(m_strClass)) {
        switch (message) {
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
            case WM_LBUTTONUP:
            case BM_CLICK:
                return ButtonProc(message, wParam, lParam);
            default:
                break;
        }
    }
    switch (message) {
        case WM_CLOSE:
            DestroyWindow();
            return 0;
        case WM_PAINT:
            BeginPaint();
            EndPaint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_NCHITTEST:
            return HTCLIENT;
        case WM_SETTEXT:
            SetWindowText(reinterpret_cast<const wchar_t*>(lParam));
            return TRUE;
        case WM_SETCURSOR: {
            // A child first lets its parent decide, as on Windows.
            if (CWnd* parent = GetParent()) {
                if (parent->SendMessage(WM_SETCURSOR, wParam, lParam) != 0) {
                    return TRUE;
                }
            }
            if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == m_hWnd) {
                platform::SetCursor(
                    platform::LoadCursor(WindowSystem::Instance().classes.Find(m_strClass).cursor));
                return TRUE;
            }
            return FALSE;
        }
        case WM_SYSCOMMAND:
            WndInternals::SystemCommand(*this, wParam);
            return 0;
        case WM_SETICON: {
            HICON& slot = wParam == ICON_BIG ? m_hIconBig : m_hIconSmall;
            HICON previous = slot;
            slot = reinterpret_cast<HICON>(lParam);
            if (m_native && wParam == ICON_BIG) {
                m_native->SetIcon(platform::IconResourceId(slot));
            }
            return reinterpret_cast<LRESULT>(previous);
        }
        default:
            return 0;
    }
}

// The standard push button: it captures the mouse on a press and reports a click when the button is
// released over it.
LRESULT CWnd::ButtonProc(UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            m_buttonPressed = true;
            SetCapture();
            return 0;
        case WM_LBUTTONUP: {
            if (!m_buttonPressed) {
                return 0;
            }
            m_buttonPressed = false;
            if (platform::GetCapture() == m_hWnd) {
                platform::ReleaseCapture();
            }
            RECT client;
            GetClientRect(&client);
            POINT point = PointOf(lParam);
            bool inside = point.x >= client.left && point.x < client.right && point.y >= client.top &&
                          point.y < client.bottom;
            CWnd* parent = GetParent();
            if (inside && parent != nullptr) {
                // The parent may destroy this button while handling the click: nothing of it is used after.
                parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(m_nId), BN_CLICKED),
                                    reinterpret_cast<LPARAM>(m_hWnd));
            }
            return 0;
        }
        case BM_CLICK: {
            const HWND self = m_hWnd;
            SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
            if (platform::IsWindow(self)) {
                SendMessage(WM_LBUTTONUP, 0, 0);
            }
            return 0;
        }
        default:
            return 0;
    }
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_hWnd != nullptr ? WindowProc(message, wParam, lParam) : 0;
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return platform::PostMessage(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&) {
    return TRUE;
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

int CWnd::OnCreate(CREATESTRUCT*) {
    return static_cast<int>(Default());
}

void CWnd::OnDestroy() {
    Default();
}

void CWnd::OnSize(UINT, int, int) {
    Default();
}

void CWnd::OnMove(int, int) {
    Default();
}

void CWnd::OnPaint() {
    Default();
}

BOOL CWnd::OnEraseBkgnd(platform::Canvas*) {
    return static_cast<BOOL>(Default());
}

void CWnd::OnClose() {
    Default();
}

void CWnd::OnTimer(UINT_PTR) {
    Default();
}

void CWnd::OnMouseMove(UINT, POINT) {
    Default();
}

void CWnd::OnLButtonDown(UINT, POINT) {
    Default();
}

void CWnd::OnLButtonUp(UINT, POINT) {
    Default();
}

void CWnd::OnLButtonDblClk(UINT, POINT) {
    Default();
}

void CWnd::OnRButtonDown(UINT, POINT) {
    Default();
}

void CWnd::OnRButtonUp(UINT, POINT) {
    Default();
}

void CWnd::OnMouseHover(UINT, POINT) {
    Default();
}

void CWnd::OnMouseLeave() {
    Default();
}

BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) {
    return static_cast<BOOL>(Default());
}

BOOL CWnd::OnCommand(WPARAM, LPARAM) {
    return FALSE;
}

void CWnd::OnGetMinMaxInfo(MINMAXINFO*) {
    Default();
}

void CWnd::OnKeyDown(UINT, UINT, UINT) {
    Default();
}

void CWnd::OnSysCommand(UINT, LPARAM) {
    Default();
}

void CWnd::OnSetFocus(CWnd*) {
    Default();
}

void CWnd::OnKillFocus(CWnd*) {
    Default();
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs) {
    if (m_hWnd == nullptr) {
        return 0;
    }
    MessageQueue::Instance().SetTimer(m_hWnd, id, elapseMs);
    return id;
}

BOOL CWnd::KillTimer(UINT_PTR id) {
    return m_hWnd != nullptr && MessageQueue::Instance().KillTimer(m_hWnd, id);
}

CWnd* CWnd::SetCapture() {
    return FromHandle(WindowSystem::Instance().pointer.SetCapture(m_hWnd));
}

HICON CWnd::SetIcon(HICON icon, BOOL big) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

void CWnd::SetWindowText(const std::wstring& text) {
    m_strText = text;
    if (m_native) {
        m_native->SetTitle(text);
    }
}

std::wstring CWnd::GetWindowText() const {
    return m_strText;
}

CWnd* CWnd::GetParent() const {
    return FromHandle(m_hParent);
}

CWnd* CWnd::GetOwner() const {
    return FromHandle(m_hOwner);
}

CWnd* CWnd::GetTopLevel() {
    CWnd* wnd = this;
    while (wnd->m_hParent != nullptr) {
        CWnd* parent = wnd->GetParent();
        if (parent == nullptr) {
            break;
        }
        wnd = parent;
    }
    return wnd;
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add) {
    DWORD old = m_dwStyle;
    m_dwStyle = (m_dwStyle & ~remove) | add;
    return old != m_dwStyle;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add) {
    DWORD old = m_dwExStyle;
    m_dwExStyle = (m_dwExStyle & ~remove) | add;
    if (m_native && ((old ^ m_dwExStyle) & WS_EX_LAYERED) != 0) {
        m_native->SetLayered((m_dwExStyle & WS_EX_LAYERED) != 0);
    }
    return old != m_dwExStyle;
}
