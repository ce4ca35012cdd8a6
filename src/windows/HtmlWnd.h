#pragma once
// The launcher: the layered window of the skin's MAINWND with the portal page in a browser popup kept
// exactly over its "ie" rectangle (a layered window cannot show a live child), and the buttons "min",
// "close", "home", "pay", "kf" and "bbs".

#include <memory>

#include "browser/IEWnd.h"
#include "windows/SkinWnd.h"

class CHtmlWnd : public CSkinWnd {
public:
    CHtmlWnd();
    ~CHtmlWnd() override;

    // The launcher with its browser popup.
    void Show(BOOL bShow) override;
    void BuildFromSkin() override;
    void OnSkinButton(const SkinButtonDef& def) override;
    // The exit question; on OK the launcher hides and the frame is asked to exit.
    void ConfirmExit();
    // Shows the "choose" images.
    void ShowChoose();
    // The popup with the launcher's view; null before creation.
    CIEWnd* GetBrowserHost() const { return m_pBrowserHost.get(); }

protected:
    int OnCreate(CREATESTRUCT* cs) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnMove(int x, int y) override;

private:
    // The "ie" rectangle in screen coordinates, grown with the window when it stretches.
    bool BrowserPlace(RECT& place) const;

    std::unique_ptr<CIEWnd> m_pBrowserHost;
};
