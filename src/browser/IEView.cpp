#include "browser/IEView.h"

#include <cwctype>

#include "browser/ClientMessages.h"
#include "browser/DocHostSite.h"
#include "browser/FrameLink.h"
#include "config/ClientConfig.h"
#include "platform/ui/win_api.h"

using platform::ExternalValue;

namespace {

const std::wstring kSentinel = platform::kSentinelUrl;

std::wstring Lowered(const std::wstring& text) {
    std::wstring lower = text;
    for (wchar_t& c : lower) {
        c = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
    }
    return lower;
}

bool Contains(const std::wstring& text, const std::wstring& part) {
    return text.find(part) != std::wstring::npos;
}

// The URL a page passes to a reflected event: the second argument, a text.
const std::wstring* UrlArgument(const std::vector<ExternalValue>& args) {
    return args.size() >= 2 && args[1].type == ExternalValue::Type::String ? &args[1].text : nullptr;
}

}  // namespace

CIEView::CIEView() = default;

CIEView::~CIEView() {
    // While this is still a view: its window gives the control's widget back to the host, then the
    // control, which reports to this object, goes.
    if (m_hWnd != nullptr) {
        DestroyWindow();
    }
    m_pBrowser.reset();
}

void CIEView::CreateInHost(CWnd* pHost) {
    Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 1, 1}, pHost, kViewId);
}

BOOL CIEView::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style |= static_cast<LONG>(WS_CLIPSIBLINGS);
    return CWnd::PreCreateWindow(cs);
}

int CIEView::OnCreate(CREATESTRUCT* cs) {
    if (CWnd::OnCreate(cs) == -1) {
        return -1;
    }
    m_pSite = std::make_unique<CDocHostSite>(this);
    m_pBrowser = platform::CreateBrowserControl(*this);
    m_pSite->Apply(*m_pBrowser);
    HostNativeWidget(m_pBrowser->Widget());
    return 0;
}

void CIEView::OnDestroy() {
    HostNativeWidget(nullptr);
    m_pBrowser.reset();
    CWnd::OnDestroy();
}

void CIEView::Navigate(const std::wstring& url) {
    if (!m_pBrowser) {
        return;
    }
    m_pBrowser->SetSilent(true);
    m_pBrowser->Navigate(url);
}

std::wstring CIEView::GetLocationURL() const {
    return m_pBrowser ? m_pBrowser->LocationUrl() : std::wstring();
}

HWND CIEView::GetHostWnd() const {
    CWnd* parent = GetParent();
    return parent != nullptr ? parent->m_hWnd : nullptr;
}

bool CIEView::InCurrentGameWnd() const {
    FrameLink* frame = GetFrameLink();
    const HWND game = frame != nullptr ? frame->GetCurrentGameWnd() : nullptr;
    return game != nullptr && game == GetHostWnd();
}

void CIEView::BeforeNavigate2(const std::wstring& url, bool& bCancel) {
    const std::wstring lower = Lowered(url);
    std::wstring original = url;
    FrameLink* frame = GetFrameLink();
    const bool launcher = frame != nullptr && frame->HasLauncher();
    if (launcher && Contains(lower, L"app://minimize|")) {
        frame->ShowLauncher(false);
        bCancel = true;
        return;
    }
    if (launcher && Contains(lower, L"app://exitgame|")) {
        frame->ConfirmExit();
        bCancel = true;  // whatever the answer: the app:// URL itself is never loaded
        return;
    }
    if (Contains(lower, L"app://loadgame")) {
        const std::size_t bar = original.find(L'|');
        if (bar != std::wstring::npos) {
            original = original.substr(bar + 1);
        }
    }
    ClientConfig& config = ClientConfig::Instance();
    if (Contains(lower, config.GameCheck())) {
        if (InCurrentGameWnd()) {
            return;  // a game page followed inside the game window loads in place
        }
        if (frame != nullptr) {
            frame->EnterGame(original);
        }
        bCancel = true;
        return;
    }
    const std::wstring login = config.LoginCheck();
    const std::size_t at = login.empty() ? std::wstring::npos : lower.find(login);
    if (at != std::wstring::npos && at > 0 && launcher) {
        frame->ShowChoose();
    }
}

void CIEView::OnNewWindow3(const std::wstring& url, bool& bCancel) {
    if (!Contains(Lowered(url), ClientConfig::Instance().GameCheck()) || InCurrentGameWnd()) {
        return;
    }
    if (FrameLink* frame = GetFrameLink()) {
        frame->EnterGame(url);
    }
    bCancel = true;
}

void CIEView::OnNavigateComplete2(const std::wstring&) {
    // The location, not the event's URL: the sentinel with anything after it counts.
    if (GetLocationURL().rfind(kSentinel, 0) == 0 && InCurrentGameWnd()) {
        GetFrameLink()->LeaveGame();
    }
}

void CIEView::DocumentComplete(const std::wstring& url) {
    if (Lowered(url).rfind(kSentinel, 0) == 0 && InCurrentGameWnd()) {
        platform::PostMessage(GetFrameLink()->GetFrameWnd(), WM_GAME_CLOSED, 0, 0);
    }
}

void CIEView::OnTitleChange(const std::wstring& title) {
    platform::SendMessage(GetHostWnd(), WM_VIEW_TITLE, 0, reinterpret_cast<LPARAM>(title.c_str()));
}

void CIEView::OnInvokeClient(const std::wstring&, const ExternalValue&) {}

bool CIEView::InvokeClient(const std::vector<ExternalValue>& args) {
    const bool callback = args.size() >= 2 && args[1].type == ExternalValue::Type::Object;
    if (!callback) {
        return false;  // a null callback fails the call, as a null pointer would
    }
    OnInvokeClient(args[0].type == ExternalValue::Type::String ? args[0].text : std::wstring(), args[1]);
    return true;
}

bool CIEView::GetNewMsg() {
    FrameLink* frame = GetFrameLink();
    platform::SendMessage(frame != nullptr ? frame->GetCurrentGameWnd() : nullptr, WM_NEW_MSG, 0, 0);
    return true;
}

bool CIEView::GetGsName(const std::vector<ExternalValue>& args) {
    if (args.empty() || args[0].type != ExternalValue::Type::String) {
        return false;  // no text to show
    }
    FrameLink* frame = GetFrameLink();
    platform::SendMessage(frame != nullptr ? frame->GetCurrentGameWnd() : nullptr, WM_GS_NAME, 0,
                          reinterpret_cast<LPARAM>(args[0].text.c_str()));
    return true;
}

bool CIEView::ReflectBeforeNavigate2(const std::vector<ExternalValue>& args, ExternalValue& result) {
    const std::wstring* url = UrlArgument(args);
    if (url == nullptr) {
        return false;
    }
    bool cancel = false;
    BeforeNavigate2(*url, cancel);
    result = ExternalValue::Boolean(cancel);
    return true;
}

bool CIEView::ReflectDocumentComplete(const std::vector<ExternalValue>& args) {
    const std::wstring* url = UrlArgument(args);
    if (url == nullptr) {
        return false;
    }
    DocumentComplete(*url);
    return true;
}
