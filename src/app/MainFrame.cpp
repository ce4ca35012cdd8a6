#include "app/MainFrame.h"

#include "app/GameUrlService.h"
#include "browser/ClientMessages.h"
#include "config/ClientConfig.h"
#include "config/ProductCaption.h"
#include "download/DownloadThread.h"
#include "download/WorkerKeeper.h"
#include "platform/base/files.h"
#include "platform/base/resources.h"
#include "platform/base/text.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/win_api.h"
#include "platform/ui/window_system.h"
#include "skin/SkinDocument.h"
#include "util/ModulePath.h"
#include "util/Shell.h"
#include "windows/GameWnd.h"
#include "windows/HtmlWnd.h"

namespace {

constexpr DWORD kSkinWindowStyle = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX;  // 0x800A0000
constexpr UINT kTrayFlags = platform::NIF_MESSAGE | platform::NIF_ICON | platform::NIF_TIP;
constexpr LPARAM kTrayLeftDown = WM_LBUTTONDOWN;
constexpr LPARAM kTrayRightDown = WM_RBUTTONDOWN;

// What destroys windows or ends the client: run inside a nested loop (a message box the skin loader
// opened while the frame was being built, a tray menu), it would pull the frame's objects from under the
// code that opened the loop.
bool DestroysWindows(UINT message, WPARAM wParam) {
    return message == WM_INSTALLER_READY || message == WM_GAME_CLOSED || message == WM_CLOSE ||
           (message == WM_COMMAND && LOWORD(wParam) == ID_APP_EXIT);
}

bool IsSurrogatePairCharacter(wchar_t c) {
    return static_cast<std::uint32_t>(c) > 0xFFFF;
}

}  // namespace

std::wstring TrayTipText(const std::wstring& caption) {
    constexpr std::size_t kUnits = platform::kTrayTipChars - 1;
    std::size_t units = 0;
    std::size_t end = 0;
    for (; end < caption.size(); ++end) {
        const std::size_t width = IsSurrogatePairCharacter(caption[end]) ? 2 : 1;
        if (units + width > kUnits) {
            break;
        }
        units += width;
    }
    return caption.substr(0, end);
}

CMainFrame::CMainFrame(std::wstring nameTag, std::wstring gameUrl)
    : m_strNameTag(std::move(nameTag)), m_strGameUrl(std::move(gameUrl)) {}

CMainFrame::~CMainFrame() {
    if (m_hWnd != nullptr) {
        DestroyWindow();  // while this is still a frame, so that its own handlers run
    }
    Release();
}

BOOL CMainFrame::LoadFrame() {
    const std::wstring title = platform::LoadResourceString(kTitleStringId);
    if (!CreateEx(0, nullptr, title.c_str(), kFrameStyle, 0, 0, 0, 0, nullptr, 0)) {
        return FALSE;
    }
    SetIcon(platform::LoadIcon(kFrameIconId), TRUE);
    return TRUE;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
    if (!CWnd::PreCreateWindow(cs)) {
        return FALSE;
    }
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    ClientConfig& config = ClientConfig::Instance();
    config.m_strFrameClass = config.ImClass();
    if (config.m_strFrameClass.empty()) {
        return FALSE;  // a frame without its class name is a build without a usable configuration
    }
    platform::RegisterWindowClass(config.m_strFrameClass, 0);
    cs.lpszClass = config.m_strFrameClass.c_str();
    return TRUE;
}

int CMainFrame::OnCreate(CREATESTRUCT* cs) {
    if (CWnd::OnCreate(cs) == -1) {
        return -1;
    }
    if (!m_wndView.Create(this)) {
        return -1;
    }
    SetFrameLink(this);
    RunPluginInstaller();
    AddTrayIcon();
    StartDownloads();
    platform::LoadMenuResource(kTrayMenuId, m_trayMenu);
    SkinDocument::Instance();
    m_bOwnsSkin = true;
    CreateWindows();
    if (CIEWnd* host = m_pLauncherWnd->GetBrowserHost()) {
        host->GetView().Navigate(ClientConfig::Instance().HomeUrl());
    }
    DecideStart();
    return 0;
}

void CMainFrame::RunPluginInstaller() {
    const ClientConfig& config = ClientConfig::Instance();
    const std::wstring command = config.RunPlugin();
    const bool registered =
        !config.m_strPluginPath.empty() && platform::PathExists(platform::WideToUtf8(config.m_strPluginPath));
    if (!command.empty() && !registered) {
        // The value names a file in the program's folder and brings its own leading separator.
        RunProcess(GetModulePath(false) + command);
    }
}

void CMainFrame::AddTrayIcon() {
    m_trayIcon.hWnd = m_hWnd;
    m_trayIcon.uID = kTrayIconId;
    m_trayIcon.uFlags = kTrayFlags;
    m_trayIcon.uCallbackMessage = WM_TRAY_NOTIFY;
    m_trayIcon.szTip = TrayTipText(ProductCaption());
    m_bTrayIcon = platform::Shell_NotifyIcon(platform::NIM_ADD, m_trayIcon) != FALSE;
}

void CMainFrame::StartDownloads() {
    m_pDownloadThread = std::make_unique<CDownloadThread>();
    m_pDownloadThread->Start(FALSE);
    m_pUpdateCheck = std::make_unique<CUpdateCheck>(*m_pDownloadThread, m_hWnd, GetModulePath(false));
    m_pUpdateCheck->RequestVersionDocument();
}

void CMainFrame::CreateWindows() {
    m_pLauncherWnd = std::make_unique<CHtmlWnd>();
    m_pLauncherWnd->Create(platform::GetDesktopWindow(), WS_EX_APPWINDOW, kSkinWindowStyle);
    m_pGameWnd = CreateGameWnd(WS_EX_APPWINDOW);
}

std::unique_ptr<CGameWnd> CMainFrame::CreateGameWnd(DWORD dwExStyle) {
    auto game = std::make_unique<CGameWnd>();
    game->Create(platform::GetDesktopWindow(), dwExStyle, kSkinWindowStyle);
    return game;
}

void CMainFrame::DecideStart() {
    if (!m_strNameTag.empty()) {
        const std::wstring url = FetchGameUrl(GameUrlReason::Start);
        if (!url.empty()) {
            EnterGame(url);
            return;
        }
    } else if (!m_strGameUrl.empty()) {
        EnterGame(m_strGameUrl);
        return;
    }
    m_pLauncherWnd->Show(TRUE);
}

HWND CMainFrame::GetCurrentGameWnd() const {
    if (m_pGameWnd) {
        return m_pGameWnd->m_hWnd;
    }
    return m_pDetachedGameWnd ? m_pDetachedGameWnd->m_hWnd : nullptr;
}

void CMainFrame::ShowLauncher(bool bShow) {
    if (m_pLauncherWnd) {
        m_pLauncherWnd->Show(bShow ? TRUE : FALSE);
    }
}

void CMainFrame::ConfirmExit() {
    if (m_pLauncherWnd) {
        m_pLauncherWnd->ConfirmExit();
    }
}

void CMainFrame::ShowChoose() {
    if (m_pLauncherWnd) {
        m_pLauncherWnd->ShowChoose();
    }
}

void CMainFrame::EnterGame(const std::wstring& url) {
    m_nGameMode = 1;
    ShowLauncher(false);
    if (!m_pGameWnd) {
        m_pGameWnd = CreateGameWnd(WS_EX_APPWINDOW | WS_EX_TOOLWINDOW);
    }
    m_pGameWnd->Show(FALSE);
    m_pGameWnd->CenterWindow();
    if (!url.empty()) {
        m_pGameWnd->OpenGame(url);
        m_strGameUrl = url;
        m_pGameWnd->SetMaximized(true);
    }
    m_pGameWnd->Show(TRUE);
}

void CMainFrame::LeaveGame() {
    if (m_nGameMode == 0) {
        return;
    }
    if (m_pGameWnd) {
        // A window left earlier and still unloading goes now: only one waits for its page to close.
        m_pDetachedGameWnd = std::move(m_pGameWnd);
    }
    if (!m_strGameUrl.empty()) {
        PostMessage(WM_COMMAND, ID_APP_EXIT, 0);
        return;
    }
    if (m_pLauncherWnd) {
        if (CIEWnd* host = m_pLauncherWnd->GetBrowserHost()) {
            if (platform::BrowserControl* browser = host->GetView().GetBrowser()) {
                browser->Refresh();
            }
        }
    }
    ShowLauncher(true);
    m_nGameMode = 0;
}

std::wstring CMainFrame::FetchGameUrl(GameUrlReason nMode) {
    return FetchGameUrlFor(m_strNameTag, m_strGameUrl, nMode);
}

void CMainFrame::OnSetFocus(CWnd*) {
    if (m_wndView.m_hWnd != nullptr) {
        m_wndView.SetFocus();
    }
}

BOOL CMainFrame::OnCommand(WPARAM wParam, LPARAM) {
    if (LOWORD(wParam) == ID_APP_EXIT) {
        SendMessage(WM_CLOSE, 0, 0);
        return TRUE;
    }
    return FALSE;
}

void CMainFrame::OnClose() {
    DestroyWindow();
}

void CMainFrame::OnDestroy() {
    CWnd::OnDestroy();
    // The main window going away ends the message loop.
    platform::PostQuitMessage(0);
}

void CMainFrame::PostNcDestroy() {
    Release();
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (DestroysWindows(message, wParam) && platform::InNestedLoop()) {
        platform::DeferToOuterLoop(MSG{m_hWnd, message, wParam, lParam, 0, {}});
        return 0;
    }
    switch (message) {
        case WM_TRAY_NOTIFY:
            OnTrayNotify(lParam);
            return 0;
        case WM_GAME_CLOSED:
            OnGameClosed();
            return 0;
        case WM_VERSION_READY:
            OnVersionReady(lParam);
            return 0;
        case WM_SIGNATURE_READY:
            if (m_pUpdateCheck) {
                m_pUpdateCheck->OnSignatureReady(static_cast<int>(lParam));
            }
            return 0;
        case WM_INSTALLER_READY:
            OnInstallerReady(lParam);
            return 0;
        default:
            return CWnd::WindowProc(message, wParam, lParam);
    }
}

void CMainFrame::OnTrayNotify(LPARAM lParam) {
    if (lParam == kTrayLeftDown) {
        ShowFromTray();
    } else if (lParam == kTrayRightDown) {
        POINT cursor{};
        platform::GetCursorPos(&cursor);
        SetForegroundWindow();
        const UINT chosen =
            platform::TrackPopupMenu(m_trayMenu, TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x, cursor.y, m_hWnd);
        if (chosen == ID_TRAY_SHOW) {
            ShowFromTray();
        } else if (chosen == ID_APP_EXIT) {
            PostMessage(WM_COMMAND, ID_APP_EXIT, 0);
        }
    }
}

void CMainFrame::ShowFromTray() {
    if (m_nGameMode == 1) {
        if (m_pGameWnd) {
            m_pGameWnd->Show(TRUE);
        }
    } else {
        ShowLauncher(true);
    }
}

void CMainFrame::OnGameClosed() {
    m_pDetachedGameWnd.reset();
}

void CMainFrame::OnVersionReady(LPARAM id) {
    if (m_pUpdateCheck) {
        m_pUpdateCheck->OnVersionReady(static_cast<int>(id));
    }
}

void CMainFrame::OnInstallerReady(LPARAM id) {
    if (!m_pUpdateCheck || !m_pUpdateCheck->OnInstallerReady(static_cast<int>(id))) {
        return;
    }
    // The installer takes over: the client leaves the screen at once and ends.
    if (m_pGameWnd) {
        m_pGameWnd->Show(FALSE);
    }
    ShowLauncher(false);
    PostMessage(WM_COMMAND, ID_APP_EXIT, 0);
}

void CMainFrame::Release() {
    if (m_bTrayIcon) {
        platform::Shell_NotifyIcon(platform::NIM_DELETE, m_trayIcon);
        m_bTrayIcon = false;
    }
    StopDownloads();
    m_pLauncherWnd.reset();
    m_pGameWnd.reset();
    m_pDetachedGameWnd.reset();
    if (m_bOwnsSkin) {
        SkinDocument::DestroyInstance();
        m_bOwnsSkin = false;
    }
    m_trayMenu.items.clear();
    if (GetFrameLink() == this) {
        SetFrameLink(nullptr);
    }
}

void CMainFrame::StopDownloads() {
    m_pUpdateCheck.reset();
    if (!m_pDownloadThread) {
        return;
    }
    m_pDownloadThread->Stop();
    if (platform::Thread* thread = m_pDownloadThread->GetThreadHandle()) {
        thread->Wait(kDownloadStopMs);
    }
    // Destroyed now when its thread has ended; otherwise kept until it does.
    ReleaseWorker(std::move(m_pDownloadThread));
}
