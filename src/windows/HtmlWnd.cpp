#include "windows/HtmlWnd.h"

#include "browser/FrameLink.h"
#include "config/ClientConfig.h"
#include "config/ProductCaption.h"
#include "platform/base/text.h"
#include "platform/ui/shell_ui.h"
#include "platform/ui/win_api.h"
#include "util/Shell.h"

CHtmlWnd::CHtmlWnd() : CSkinWnd(L"MAINWND") {}

CHtmlWnd::~CHtmlWnd() {
    if (m_pBrowserHost && m_pBrowserHost->m_hWnd != nullptr) {
        m_pBrowserHost->DestroyWindow();
    }
}

int CHtmlWnd::OnCreate(CREATESTRUCT* cs) {
    if (CSkinWnd::OnCreate(cs) == -1) {
        return -1;
    }
    m_pBrowserHost = std::make_unique<CIEWnd>();
    m_pBrowserHost->Create(m_hWnd, 0, WS_POPUP);
    m_pBrowserHost->GetView().Navigate(L"about:blank");
    for (const wchar_t* name : {L"home", L"bbs", L"kf", L"pay"}) {
        if (CSkinButton* button = FindButton(name)) {
            button->SetHandCursor(TRUE);
        }
    }
    return 0;
}

void CHtmlWnd::BuildFromSkin() {
    CSkinWnd::BuildFromSkin();
    SetImageVisible(L"choose", FALSE);
}

void CHtmlWnd::Show(BOOL bShow) {
    CSkinWnd::Show(bShow);
    if (m_pBrowserHost && m_pBrowserHost->m_hWnd != nullptr) {
        m_pBrowserHost->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    }
}

bool CHtmlWnd::BrowserPlace(RECT& place) const {
    SkinRectDef ie;
    if (!m_pBrowserHost || m_pBrowserHost->m_hWnd == nullptr || !FindRect(L"ie", ie)) {
        return false;
    }
    place = ie.rect;
    if (ie.strech != 0) {
        // The browser grows with the window, one pixel short on the right and bottom edges.
        place.right += m_nWidth - m_wndDef.width - 1;
        place.bottom += m_nHeight - m_wndDef.height - 1;
    }
    ClientToScreen(&place);
    return true;
}

void CHtmlWnd::OnSize(UINT type, int cx, int cy) {
    CSkinWnd::OnSize(type, cx, cy);
    RECT place{};
    if (cx > 0 && cy > 0 && BrowserPlace(place)) {
        m_pBrowserHost->MoveWindow(place, TRUE);
        m_pBrowserHost->SetWindowPos(m_hWnd, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    }
}

void CHtmlWnd::OnMove(int x, int y) {
    CSkinWnd::OnMove(x, y);
    RECT place{};
    if (BrowserPlace(place)) {
        // Directly above the launcher, following it while it is dragged.
        m_pBrowserHost->SetWindowPos(m_hWnd, place.left, place.top, 0, 0, SWP_NOSIZE);
    }
}

void CHtmlWnd::OnSkinButton(const SkinButtonDef& def) {
    ClientConfig& config = ClientConfig::Instance();
    if (platform::EqualsIgnoreCase(def.name, L"close")) {
        ConfirmExit();
    } else if (platform::EqualsIgnoreCase(def.name, L"min")) {
        Show(FALSE);
    } else if (platform::EqualsIgnoreCase(def.name, L"home")) {
        OpenInShell(config.GwUrl());
    } else if (platform::EqualsIgnoreCase(def.name, L"bbs")) {
        OpenInShell(config.BbsUrl());
    } else if (platform::EqualsIgnoreCase(def.name, L"kf")) {
        OpenInShell(config.KfUrl());
    } else if (platform::EqualsIgnoreCase(def.name, L"pay")) {
        OpenInShell(config.PaymentUrl());
    }
}

void CHtmlWnd::ConfirmExit() {
    const std::wstring text = ClientConfig::Instance().QuitTip();
    const std::wstring caption = ProductCaption();
    const int answer = platform::MessageBox(nullptr, text.c_str(), caption.c_str(),
                                            MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_SYSTEMMODAL);
    if (answer == IDCANCEL) {
        return;
    }
    Show(FALSE);
    if (FrameLink* frame = GetFrameLink()) {
        platform::PostMessage(frame->GetFrameWnd(), WM_COMMAND, ID_APP_EXIT, 0);
    }
}

void CHtmlWnd::ShowChoose() {
    SetImageVisible(L"choose", TRUE);
    Invalidate(TRUE);
}
