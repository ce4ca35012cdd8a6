#include "windows/GameWnd.h"

#include "browser/ClientMessages.h"
#include "browser/FrameLink.h"
#include "config/ClientConfig.h"
#include "platform/base/text.h"
#include "platform/ui/win_api.h"
#include "util/Shell.h"
#include "windows/ClearUrlCache.h"

namespace {

// The resize zone at a client point: fixed 10-pixel corners, edges as wide as the skin's border.
int ZoneAt(const RECT& client, POINT p, int border) {
    const bool left = p.x <= client.left + 10, right = p.x >= client.right - 10;
    const bool top = p.y <= client.top + 10, bottom = p.y >= client.bottom - 10;
    if (left && top)
        return HTTOPLEFT;
    if (right && top)
        return HTTOPRIGHT;
    if (left && bottom)
        return HTBOTTOMLEFT;
    if (right && bottom)
        return HTBOTTOMRIGHT;
    if (p.x <= client.left + border)
        return HTLEFT;
    if (p.x >= client.right - border)
        return HTRIGHT;
    if (p.y <= client.top + border)
        return HTTOP;
    if (p.y >= client.bottom - border)
        return HTBOTTOM;
    return 0;
}

int CursorOf(int hitCode) {
    switch (hitCode) {
        case HTTOPLEFT:
        case HTBOTTOMRIGHT:
            return IDC_SIZENWSE;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT:
            return IDC_SIZENESW;
        case HTLEFT:
        case HTRIGHT:
            return IDC_SIZEWE;
        case HTTOP:
        case HTBOTTOM:
            return IDC_SIZENS;
        default:
            return IDC_ARROW;
    }
}

// The sizing edge of SC_SIZE for a hit-test code: HTLEFT 10 is WMSZ_LEFT 1, and so on in order.
WPARAM SizingEdge(int hitCode) {
    return static_cast<WPARAM>(hitCode - HTLEFT + WMSZ_LEFT);
}

}  // namespace

CGameWnd::CGameWnd() : CSkinWnd2(L"GAMEWND") {}

CGameWnd::~CGameWnd() = default;

int CGameWnd::OnCreate(CREATESTRUCT* cs) {
    if (CSkinWnd2::OnCreate(cs) == -1) {
        return -1;
    }
    m_view.CreateInHost(this);
    m_view.Navigate(L"about:blank");
    for (const wchar_t* name :
         {L"home", L"bbs", L"kf", L"refresh", L"lock", L"pay", L"more", L"vip", L"host", L"cache"}) {
        if (CSkinButton* button = FindButton(name)) {
            button->SetHandCursor(TRUE);
        }
    }
    ShowButton(L"restore", false);
    return 0;
}

void CGameWnd::ShowButton(const wchar_t* name, bool show) {
    if (CSkinButton* button = FindButton(name)) {
        button->ShowWindow(show ? SW_SHOW : SW_HIDE);
    }
}

void CGameWnd::OnSize(UINT type, int cx, int cy) {
    CSkinWnd2::OnSize(type, cx, cy);
    SkinRectDef ie;
    if (cx <= 0 || cy <= 0 || m_view.m_hWnd == nullptr || !FindRect(L"ie", ie)) {
        return;
    }
    RECT place = ie.rect;
    if (ie.strech != 0) {
        place.right += m_nWidth - m_wndDef.width;
        place.bottom += m_nHeight - m_wndDef.height;
    }
    m_view.MoveWindow(place, TRUE);
}

void CGameWnd::OnSkinButton(const SkinButtonDef& def) {
    ClientConfig& config = ClientConfig::Instance();
    const std::wstring& name = def.name;
    if (platform::EqualsIgnoreCase(name, L"close")) {
        OnCloseRequest();
    } else if (platform::EqualsIgnoreCase(name, L"min")) {
        ShowWindow(SW_MINIMIZE);
    } else if (platform::EqualsIgnoreCase(name, L"pack")) {
        Show(FALSE);
    } else if (platform::EqualsIgnoreCase(name, L"home")) {
        OpenInShell(config.GwUrl());
    } else if (platform::EqualsIgnoreCase(name, L"bbs")) {
        OpenInShell(config.BbsUrl());
    } else if (platform::EqualsIgnoreCase(name, L"kf")) {
        OpenInShell(config.KfUrl());
    } else if (platform::EqualsIgnoreCase(name, L"pay")) {
        OpenInShell(config.PaymentUrl());
    } else if (platform::EqualsIgnoreCase(name, L"refresh")) {
        ReloadGame();
    } else if (platform::EqualsIgnoreCase(name, L"cache")) {
        ClearCacheAndReload();
    } else if (platform::EqualsIgnoreCase(name, L"max") || platform::EqualsIgnoreCase(name, L"restore")) {
        SetMaximized(platform::EqualsIgnoreCase(name, L"max"));
    }
}

void CGameWnd::OnCloseRequest() {
    m_view.Navigate(platform::kSentinelUrl);
}

void CGameWnd::ApplyMaximized() {
    ShowButton(L"max", m_bMaximized == 0);
    ShowButton(L"restore", m_bMaximized != 0);
    ShowWindow(m_bMaximized != 0 ? SW_SHOWMAXIMIZED : SW_RESTORE);
    m_bMovable = m_bMaximized != 0 ? FALSE : TRUE;
}

void CGameWnd::ReloadGame() {
    FrameLink* frame = GetFrameLink();
    if (frame != nullptr && !frame->FetchGameUrl(GameUrlReason::Reload).empty()) {
        // The first answer only says that there is one; the page gets a freshly signed second one.
        m_view.Navigate(frame->FetchGameUrl(GameUrlReason::Reload));
    } else if (platform::BrowserControl* browser = m_view.GetBrowser()) {
        browser->Refresh();
    }
}

void CGameWnd::ClearCacheAndReload() {
    m_bReloadPending = true;
    SetTimer(kCacheReloadTimer, kCacheReloadMs);
    std::weak_ptr<int> alive = m_pAlive;
    ClearUrlCache(ClientConfig::Instance().Cache(), [this, alive] {
        if (!alive.expired()) {
            FinishCacheReload();
        }
    });
}

void CGameWnd::FinishCacheReload() {
    KillTimer(kCacheReloadTimer);
    if (m_bReloadPending) {
        m_bReloadPending = false;
        ReloadGame();
    }
}

void CGameWnd::OnTimer(UINT_PTR id) {
    if (id == kCacheReloadTimer) {
        FinishCacheReload();  // a removal that never ends must not keep the game from reloading
        return;
    }
    CSkinWnd2::OnTimer(id);
}

void CGameWnd::OnLButtonDblClk(UINT flags, POINT point) {
    if (point.y <= m_wndDef.titleHeight) {
        SetMaximized(m_bMaximized == 0);
    }
    CSkinWnd2::OnLButtonDblClk(flags, point);
}

void CGameWnd::OnMouseMove(UINT flags, POINT point) {
    RECT client{};
    GetClientRect(&client);
    m_nHitCode = ZoneAt(client, point, m_wndDef.border);
    platform::SetCursor(platform::LoadCursor(CursorOf(m_nHitCode)));
    CSkinWnd2::OnMouseMove(flags, point);
}

void CGameWnd::OnLButtonDown(UINT flags, POINT point) {
    if (m_nHitCode >= HTLEFT && m_nHitCode <= HTBOTTOMRIGHT) {
        platform::SetCursor(platform::LoadCursor(CursorOf(m_nHitCode)));
        SendMessage(WM_SYSCOMMAND, SC_SIZE + SizingEdge(m_nHitCode), MAKELPARAM(point.x, point.y));
    } else {
        SendMessage(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    }
    CSkinWnd2::OnLButtonDown(flags, point);  // in the title strip, the move once more
}

BOOL CGameWnd::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_F5) {
        if (platform::BrowserControl* browser = m_view.GetBrowser()) {
            browser->Refresh();
        }
        return TRUE;  // the page does not also see it
    }
    return CSkinWnd2::PreTranslateMessage(msg);
}

LRESULT CGameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GS_NAME) {
        if (CSkinButton* vip = FindButton(L"vip")) {
            vip->SetTitle(reinterpret_cast<const wchar_t*>(lParam));
        }
        return 0;
    }
    if (message == WM_NEW_MSG) {
        CSkinButton* vip = FindButton(L"vip");
        if (vip != nullptr && !vip->IsBlinking()) {
            vip->SetBlink(TRUE);
        }
        return 0;
    }
    return CSkinWnd2::WindowProc(message, wParam, lParam);
}
