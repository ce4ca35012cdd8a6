#pragma once
// The plain popup that hosts the launcher's browser view; the launcher places and shows it.

#include "browser/IEView.h"
#include "platform/ui/wnd.h"

class CIEWnd : public CWnd {
public:
    static constexpr wchar_t kClassName[] = L"VelmoraIEWnd";

    // Registers the class once, then creates the window (no title, no size: the owner places it).
    virtual BOOL Create(HWND hParent, DWORD dwExStyle, DWORD dwStyle);
    CIEView& GetView() { return m_view; }

protected:
    int OnCreate(CREATESTRUCT* cs) override;
    void OnSize(UINT type, int cx, int cy) override;

private:
    CIEView m_view;
};
