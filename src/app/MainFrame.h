#pragma once
// The client's hidden main window and its hub: it owns the launcher, the game windows, the tray icon and
// its menu, the downloader and the skin document; it decides at creation whether the client starts in the
// launcher or goes straight into the game, switches between the two, and ends the client on the exit
// command. It is never shown.

#include <memory>
#include <string>

#include "app/ChildView.h"
#include "app/UpdateCheck.h"
#include "browser/FrameLink.h"
#include "platform/ui/shell_ui.h"
#include "platform/ui/wnd.h"

class CDownloadThread;
class CGameWnd;
class CHtmlWnd;

class CMainFrame : public CWnd, public FrameLink {
public:
    static constexpr UINT ID_TRAY_SHOW = 201;
    static constexpr UINT kTrayIconId = 200;
    static constexpr int kTrayMenuId = 200;
    static constexpr int kTitleStringId = 128;
    static constexpr int kFrameIconId = 128;
    static constexpr DWORD kFrameStyle = 0x00CF8000;
    // How long the frame waits for the downloader to end before leaving it to the keeper.
    static constexpr int kDownloadStopMs = 3000;

    CMainFrame(std::wstring nameTag, std::wstring gameUrl);
    ~CMainFrame() override;

    // The hidden frame with its class named by the configuration's "imClass"; FALSE when it is empty or
    // the frame could not be built.
    BOOL LoadFrame();

    // FrameLink.
    HWND GetFrameWnd() const override { return m_hWnd; }
    HWND GetCurrentGameWnd() const override;
    bool HasLauncher() const override { return m_pLauncherWnd != nullptr; }
    void ShowLauncher(bool bShow) override;
    void ConfirmExit() override;
    void ShowChoose() override;
    void EnterGame(const std::wstring& url) override;
    void LeaveGame() override;
    std::wstring FetchGameUrl(GameUrlReason nMode) override;

    // What the windows and tests look at.
    CHtmlWnd* GetLauncher() const { return m_pLauncherWnd.get(); }
    CGameWnd* GetGameWnd() const { return m_pGameWnd.get(); }
    CGameWnd* GetDetachedGameWnd() const { return m_pDetachedGameWnd.get(); }
    CDownloadThread* GetDownloadThread() const { return m_pDownloadThread.get(); }
    const CUpdateCheck* GetUpdateCheck() const { return m_pUpdateCheck.get(); }
    int GetGameMode() const { return m_nGameMode; }
    const std::wstring& GetGameUrl() const { return m_strGameUrl; }

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    int OnCreate(CREATESTRUCT* cs) override;
    void OnSetFocus(CWnd* oldWnd) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnClose() override;
    void OnDestroy() override;
    void PostNcDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void RunPluginInstaller();
    void AddTrayIcon();
    void StartDownloads();
    void CreateWindows();
    void DecideStart();
    std::unique_ptr<CGameWnd> CreateGameWnd(DWORD dwExStyle);
    void OnTrayNotify(LPARAM lParam);
    void ShowFromTray();
    void OnGameClosed();
    void OnVersionReady(LPARAM id);
    void OnInstallerReady(LPARAM id);
    // Everything the frame owns, released in order once its window is gone; safe to call twice.
    void Release();
    void StopDownloads();

    std::wstring m_strNameTag;
    std::wstring m_strGameUrl;
    CChildView m_wndView;
    std::unique_ptr<CHtmlWnd> m_pLauncherWnd;
    bool m_bOwnsSkin = false;
    std::unique_ptr<CGameWnd> m_pGameWnd;
    std::unique_ptr<CGameWnd> m_pDetachedGameWnd;
    std::unique_ptr<CDownloadThread> m_pDownloadThread;
    std::unique_ptr<CUpdateCheck> m_pUpdateCheck;  // only while the downloader is there
    platform::Menu m_trayMenu;                     // empty when the build has none
    int m_nGameMode = 0;
    platform::NOTIFYICONDATA m_trayIcon;
    bool m_bTrayIcon = false;
};

// The tray tip: `caption` cut so that it fits the tip field of 128 UTF-16 units with its terminating
// zero, never inside a character that needs two units.
std::wstring TrayTipText(const std::wstring& caption);
