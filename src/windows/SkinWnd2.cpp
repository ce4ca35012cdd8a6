#include "windows/SkinWnd2.h"

#include "config/ProductCaption.h"
#include "platform/base/text.h"
#include "skin/SkinDocument.h"
#include "util/ModulePath.h"

namespace {

UINT g_nextButtonId = CSkinWndBase::kFirstButtonId;
constexpr int kLogoMargin = 3;

// A relative logo path names a file beside the program.
std::wstring LogoFile(const std::wstring& path) {
    if (path.empty() || path[0] == L'/') {
        return path;
    }
    return GetModulePath(false) + L"/" + path;
}

}  // namespace

CSkinWnd2::CSkinWnd2(const std::wstring& section) : CSkinWndBase(section) {}

CSkinWnd2::~CSkinWnd2() = default;

UINT CSkinWnd2::NextButtonId() {
    return g_nextButtonId++;
}

std::wstring CSkinWnd2::CaptionText() const {
    return ProductCaption();
}

void CSkinWnd2::OnSkinButton(const SkinButtonDef&) {}

void CSkinWnd2::OnCloseRequest() {
    ClickCloseButton();
}

void CSkinWnd2::OnClose() {
    OnCloseRequest();
}

void CSkinWnd2::OnPaint() {
    std::unique_ptr<platform::Canvas> canvas = BeginPaint();
    RECT client;
    GetClientRect(&client);
    canvas->FillRect(client, m_wndDef.bgcolor);
    DrawImages(*canvas);
    DrawButtons(*canvas);
    if (m_wndDef.logo != 0) {
        DrawTitleBar(*canvas);
    }
    DrawTexts(*canvas);
    canvas.reset();
    EndPaint();
}

void CSkinWnd2::DrawImages(platform::Canvas& canvas) {
    for (const SkinImageDef& def : m_imageDefs) {
        if (!def.visible || !def.image || def.image->IsNull()) {
            continue;
        }
        const CImageEx& image = *def.image;
        const bool declared = def.size.right > 0 && def.size.bottom > 0;
        const int w = declared ? def.size.right : image.GetWidth();
        const int h = declared ? def.size.bottom : image.GetHeight();
        const POINT at = Anchored(def.left, def.top, def.align, RECT{0, 0, w, h});
        const bool fullWidth = def.strech == 1 || def.strech == 3;
        const bool fullHeight = def.strech == 2 || def.strech == 3;
        image.DrawInto(
            canvas, RECT{at.x, at.y, at.x + (fullWidth ? m_nWidth : w), at.y + (fullHeight ? m_nHeight : h)});
    }
}

void CSkinWnd2::DrawTitleBar(platform::Canvas& canvas) {
    const int titleHeight = m_wndDef.titleHeight;
    int textX = 0;
    CImageEx logo;
    if (logo.LoadFromFile(platform::WideToUtf8(LogoFile(SkinDocument::Instance().GetLogoPath())))) {
        const int y = static_cast<int>((titleHeight - logo.GetHeight()) * 0.5f);
        logo.DrawInto(canvas, RECT{kLogoMargin, y, kLogoMargin + logo.GetWidth(), y + logo.GetHeight()});
    }
    textX = kLogoMargin + logo.GetWidth() + kLogoMargin;
    if (m_wndDef.font.empty() || m_wndDef.title.empty()) {
        return;
    }
    SkinFontDef font;
    font.name = m_wndDef.font;
    if (SkinDocument::Instance().FindFont(font)) {
        DrawSkinText(canvas, m_wndDef.title, m_wndDef.color, font,
                     platform::RectF{static_cast<float>(textX), 0, static_cast<float>(m_nWidth),
                                     static_cast<float>(titleHeight)});
    }
}

void CSkinWnd2::OnLButtonDown(UINT flags, POINT point) {
    if (m_bMovable && point.y <= m_wndDef.titleHeight) {
        SendMessage(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    }
    CWnd::OnLButtonDown(flags, point);
}

void CSkinWnd2::OnGetMinMaxInfo(MINMAXINFO* info) {
    CSkinWndBase::OnGetMinMaxInfo(info);
    info->ptMinTrackSize = POINT{m_wndDef.width, m_wndDef.height};
}
