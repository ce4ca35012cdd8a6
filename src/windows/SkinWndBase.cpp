#include "windows/SkinWndBase.h"

#include "platform/base/text.h"
#include "platform/ui/win_api.h"
#include "skin/SkinDocument.h"
#include "skin/SkinValues.h"

namespace {

constexpr wchar_t kWindowClass[] = L"VelmoraSkinWindow";
constexpr int kIconId = 128;

}  // namespace

CSkinWndBase::CSkinWndBase(const std::wstring& section) : m_strSection(section) {}

CSkinWndBase::~CSkinWndBase() {
    // The buttons are children: they go before the lists and images they draw from.
    DestroyWindow();
    m_buttons.clear();
}

BOOL CSkinWndBase::Create(HWND hParent, DWORD dwExStyle, DWORD dwStyle) {
    platform::RegisterWindowClass(kWindowClass, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, IDC_ARROW);
    return CreateEx(dwExStyle, kWindowClass, L"", dwStyle, 0, 0, 0, 0, hParent, 0);
}

void CSkinWndBase::Show(BOOL bShow) {
    if (!bShow) {
        ShowWindow(SW_HIDE);
        return;
    }
    ShowWindow(m_bMinimized ? SW_RESTORE : SW_SHOW);
    BringWindowToTop();
    SetForegroundWindow();
}

int CSkinWndBase::OnCreate(CREATESTRUCT* cs) {
    if (CWnd::OnCreate(cs) == -1) {
        return -1;
    }
    m_hIcon = platform::LoadIcon(kIconId);
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    if (m_tooltip.GetSafeHwnd() == nullptr) {
        m_tooltip.Create(this, platform::TTS_ALWAYSTIP);
    }
    BuildFromSkin();
    return 0;
}

void CSkinWndBase::BuildFromSkin() {
    SkinDocument& skin = SkinDocument::Instance();
    m_wndDef.section = m_strSection;
    skin.LoadWindowDef(m_wndDef);
    m_nWidth = m_wndDef.width;
    m_nHeight = m_wndDef.height;
    SetWindowText(CaptionText());

    int x = 0;
    int y = 0;
    RECT work{};
    if (m_bCenter && platform::GetWorkArea(&work)) {
        x = (work.right - m_nWidth - work.left) / 2 + work.left;
        y = (work.bottom - m_nHeight - work.top) / 2 + work.top;
    }
    MoveWindow(x, y, m_nWidth, m_nHeight, FALSE);

    skin.LoadImages(m_strSection, m_imageDefs);
    skin.LoadRects(m_strSection, m_rectDefs);
    SkinButtonList buttons;
    skin.LoadButtons(m_strSection, buttons);
    for (const SkinButtonDef& def : buttons) {
        auto button = std::make_unique<CSkinButton>();
        if (button->CreateButton(this, NextButtonId(), def.check)) {
            button->SetupFromDef(m_strSection, def, &m_tooltip);
            m_buttons.push_back(std::move(button));
        }
    }
    skin.LoadTexts(m_strSection, m_textDefs);
}

void CSkinWndBase::OnSize(UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    if (cx <= 0 || cy <= 0) {
        m_bMinimized = TRUE;
        return;
    }
    m_nWidth = cx;
    m_nHeight = cy;
    RECT client;
    GetClientRect(&client);
    for (const auto& button : m_buttons) {
        button->Relayout(client);
    }
    m_bMinimized = FALSE;
    Invalidate(TRUE);
}

BOOL CSkinWndBase::OnEraseBkgnd(platform::Canvas*) {
    return TRUE;
}

BOOL CSkinWndBase::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    if (id < kFirstButtonId || id > kLastButtonId || HIWORD(wParam) != BN_CLICKED) {
        return CWnd::OnCommand(wParam, lParam);
    }
    for (const auto& button : m_buttons) {
        if (static_cast<UINT>(button->GetDlgCtrlID()) == id) {
            // A copy: the handler may destroy the button.
            const SkinButtonDef def = button->GetDef();
            OnSkinButton(def);
            return TRUE;
        }
    }
    return TRUE;  // another window's button: nothing to do
}

void CSkinWndBase::OnGetMinMaxInfo(MINMAXINFO* info) {
    RECT work{};
    if (platform::GetWorkArea(&work)) {
        info->ptMaxSize = POINT{work.right - work.left, work.bottom - work.top};
        info->ptMaxTrackSize = info->ptMaxSize;
        info->ptMaxPosition = POINT{work.left, work.top};
    }
    CWnd::OnGetMinMaxInfo(info);
}

BOOL CSkinWndBase::PreTranslateMessage(MSG* msg) {
    if (m_tooltip.GetSafeHwnd() != nullptr) {
        m_tooltip.RelayEvent(msg);
    }
    return CWnd::PreTranslateMessage(msg);
}

void CSkinWndBase::DrawSkinText(platform::Canvas& canvas, const std::wstring& text, COLORREF color,
                                const SkinFontDef& font, const platform::RectF& layout) {
    platform::TextFormat format;
    format.horizontal = platform::TextAlign::Near;
    format.vertical = platform::TextAlign::Center;
    format.trimming = platform::TextTrimming::EllipsisCharacter;
    canvas.DrawText(text, CanvasFont(font), color & 0xFFFFFF, layout, format);
}

CSkinButton* CSkinWndBase::FindButton(const std::wstring& name) const {
    for (const auto& button : m_buttons) {
        if (platform::EqualsIgnoreCase(button->GetDef().name, name)) {
            return button.get();
        }
    }
    return nullptr;
}

void CSkinWndBase::SetImageVisible(const std::wstring& name, BOOL bVisible) {
    for (SkinImageDef& image : m_imageDefs) {
        if (platform::EqualsIgnoreCase(image.name, name)) {
            image.visible = bVisible;
        }
    }
}

BOOL CSkinWndBase::FindRect(const std::wstring& name, SkinRectDef& rect) const {
    for (const SkinRectDef& candidate : m_rectDefs) {
        if (platform::EqualsIgnoreCase(candidate.name, name)) {
            rect = candidate;
            return TRUE;
        }
    }
    return FALSE;
}

bool CSkinWndBase::ClickCloseButton() {
    CSkinButton* close = FindButton(L"close");
    if (close == nullptr) {
        return false;
    }
    close->PostMessage(BM_CLICK, 0, 0);
    return true;
}

POINT CSkinWndBase::Anchored(int left, int top, const std::wstring& align, const RECT& size) const {
    RECT client;
    GetClientRect(&client);
    POINT position{left, top};
    ApplySkinAnchor(position, align, client, size);
    return position;
}

void CSkinWndBase::DrawButtons(platform::Canvas& canvas) {
    for (const auto& button : m_buttons) {
        if (button->IsWindowVisible()) {
            button->DrawButton(canvas);
        }
    }
}

void CSkinWndBase::DrawTexts(platform::Canvas& canvas) {
    for (const SkinTextDef& text : m_textDefs) {
        if (text.title.empty() || text.font.empty()) {
            continue;
        }
        SkinFontDef font;
        font.name = text.font;
        if (!SkinDocument::Instance().FindFont(font)) {
            continue;
        }
        const POINT at = Anchored(text.rect.left, text.rect.top, text.align, text.rect);
        const platform::RectF layout{static_cast<float>(at.x), static_cast<float>(at.y),
                                     static_cast<float>(text.rect.right - text.rect.left),
                                     static_cast<float>(text.rect.bottom - text.rect.top)};
        DrawSkinText(canvas, text.title, text.color, font, layout);
    }
}
