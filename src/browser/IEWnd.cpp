#include "browser/IEWnd.h"

#include "platform/ui/win_api.h"

BOOL CIEWnd::Create(HWND hParent, DWORD dwExStyle, DWORD dwStyle) {
    platform::RegisterWindowClass(kClassName, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, IDC_ARROW);
    return CreateEx(dwExStyle, kClassName, L"", dwStyle, 0, 0, 0, 0, hParent, 0);
}

int CIEWnd::OnCreate(CREATESTRUCT* cs) {
    if (CWnd::OnCreate(cs) == -1) {
        return -1;
    }
    m_view.CreateInHost(this);
    return 0;
}

void CIEWnd::OnSize(UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    if (cx > 0 && cy > 0 && m_view.m_hWnd != nullptr) {
        m_view.MoveWindow(0, 0, cx, cy, TRUE);
    }
}
