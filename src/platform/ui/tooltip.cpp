// The tooltip control over the layer's delayed tasks and the backend's tooltip window.
#include "platform/ui/tooltip.h"

#include "platform/ui/native.h"
#include "platform/ui/win_api.h"
#include "platform/ui/window_system.h"
#include "platform/ui/wnd.h"

namespace platform {

CToolTipCtrl::~CToolTipCtrl() {
    DestroyWindow();
}

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD) {
    if (parent == nullptr || parent->m_hWnd == nullptr) {
        return FALSE;
    }
    m_parent = parent->m_hWnd;
    return TRUE;
}

BOOL CToolTipCtrl::AddTool(CWnd* tool, const std::wstring& text, const RECT*, UINT id) {
    if (m_parent == nullptr || tool == nullptr || tool->m_hWnd == nullptr) {
        return FALSE;
    }
    m_tools.push_back(Tool{tool->m_hWnd, id, text});
    return TRUE;
}

const CToolTipCtrl::Tool* CToolTipCtrl::ToolFor(HWND hwnd) const {
    for (const Tool& tool : m_tools) {
        if (tool.hwnd == hwnd && IsWindow(hwnd)) {
            return &tool;
        }
    }
    return nullptr;
}

void CToolTipCtrl::RelayEvent(const MSG* msg) {
    if (m_parent == nullptr || msg == nullptr) {
        return;
    }
    switch (msg->message) {
        case WM_MOUSEMOVE: {
            const Tool* tool = ToolFor(msg->hwnd);
            if (tool == nullptr) {
                Hide();
                return;
            }
            if (m_pending == tool->hwnd || (!m_shown.empty() && m_shown == tool->text)) {
                return;  // resting on the same tool
            }
            Hide();
            m_pending = tool->hwnd;
            const HWND hwnd = tool->hwnd;
            m_task = MessageQueue::Instance().Schedule(kTooltipDelayMs, [this, hwnd] {
                m_task = 0;
                const Tool* resting = ToolFor(hwnd);
                CWnd* wnd = CWnd::FromHandle(hwnd);
                if (resting == nullptr || wnd == nullptr || m_pending != hwnd || resting->text.empty() ||
                    WindowSystem::Instance().pointer.Hover() != hwnd) {
                    return;
                }
                m_shown = resting->text;
                POINT at{};
                GetCursorPos(&at);
                GetBackend().ShowTooltip(wnd->GetTopLevel()->m_hWnd, m_shown, POINT{at.x, at.y + 20});
                WatchPointer(hwnd);
            });
            return;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_MOUSELEAVE:
            Hide();
            return;
        default:
            return;
    }
}

void CToolTipCtrl::WatchPointer(HWND tool) {
    m_watch = MessageQueue::Instance().Schedule(kTooltipWatchMs, [this, tool] {
        m_watch = 0;
        if (WindowSystem::Instance().pointer.Hover() != tool) {
            Hide();
        } else if (!m_shown.empty()) {
            WatchPointer(tool);
        }
    });
}

void CToolTipCtrl::Hide() {
    MessageQueue::Instance().Cancel(m_task);
    MessageQueue::Instance().Cancel(m_watch);
    m_task = 0;
    m_watch = 0;
    m_pending = nullptr;
    if (!m_shown.empty()) {
        m_shown.clear();
        GetBackend().HideTooltip();
    }
}

void CToolTipCtrl::DestroyWindow() {
    if (m_parent == nullptr) {
        return;
    }
    Hide();
    m_tools.clear();
    m_parent = nullptr;
}

}  // namespace platform
