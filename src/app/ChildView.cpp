#include "app/ChildView.h"

#include "platform/ui/win_api.h"

BOOL CChildView::Create(CWnd* pParent) {
    const RECT empty{0, 0, 0, 0};
    return CWnd::Create(kClassName, L"", WS_CHILD | WS_VISIBLE | WS_BORDER, empty, pParent, kPaneId);
}

BOOL CChildView::PreCreateWindow(CREATESTRUCT& cs) {
    if (!CWnd::PreCreateWindow(cs)) {
        return FALSE;
    }
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    cs.style &= ~static_cast<LONG>(WS_BORDER);
    platform::RegisterWindowClass(kClassName, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, IDC_ARROW);
    return TRUE;
}

void CChildView::OnPaint() {
    ValidateRect(nullptr);
}
