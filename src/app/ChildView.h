#pragma once
// The hidden frame's only child: an empty pane that exists because the frame always has one.

#include "platform/ui/wnd.h"

class CChildView : public CWnd {
public:
    static constexpr wchar_t kClassName[] = L"VelmoraChildView";
    static constexpr UINT kPaneId = 0xE900;

    // WS_CHILD | WS_VISIBLE with an empty rectangle inside `pParent`.
    BOOL Create(CWnd* pParent);

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnPaint() override;
};
