#pragma once
// The game window: the framed window of the skin's GAMEWND with the game page in a browser view filling
// "ie", a toolbar (refresh, clear the cache, collapse to the tray, minimise, maximise and restore, close,
// the operator's pages), resizing from its edges and corners, F5 to reload, and a "vip" button the page
// can name and make blink. Closing loads the sentinel page; the frame then retires the window.

#include <memory>

#include "browser/IEView.h"
#include "windows/SkinWnd2.h"

class CGameWnd : public CSkinWnd2 {
public:
    // The longest wait for the engine's cache removal before the game reloads anyway.
    static constexpr UINT kCacheReloadMs = 3000;

    CGameWnd();
    ~CGameWnd() override;

    void OnSkinButton(const SkinButtonDef& def) override;
    // Loads the sentinel page: the game is left once the view reports it.
    void OnCloseRequest() override;
    // Applies m_bMaximized: the window, the "max" and "restore" buttons and dragging.
    void ApplyMaximized();
    // Maximised to the work area or restored, with the buttons and dragging to match.
    void SetMaximized(bool maximized) {
        m_bMaximized = maximized ? 1 : 0;
        ApplyMaximized();
    }
    // Loads the game page at `url`.
    void OpenGame(const std::wstring& url) { m_view.Navigate(url); }

    CIEView m_view;
    int m_bMaximized = 0;
    int m_nHitCode = 0;

protected:
    static constexpr UINT_PTR kCacheReloadTimer = 0x4747;

    int OnCreate(CREATESTRUCT* cs) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnLButtonDblClk(UINT flags, POINT point) override;
    void OnMouseMove(UINT flags, POINT point) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnTimer(UINT_PTR id) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The game URL asked of the frame twice and loaded, else the page reloaded.
    void ReloadGame();
    // Clears the game's cached files, then reloads once the engine is done, or after kCacheReloadMs.
    void ClearCacheAndReload();
    void FinishCacheReload();
    void ShowButton(const wchar_t* name, bool show);

    std::shared_ptr<int> m_pAlive = std::make_shared<int>(0);  // what a late callback checks
    bool m_bReloadPending = false;
};
