#include "skin/SkinButton.h"

#include "platform/ui/win_api.h"
#include "skin/SkinDocument.h"
#include "skin/SkinValues.h"

namespace {

constexpr int kNoPictureWidth = 50;
constexpr int kNoPictureHeight = 20;
constexpr UINT kHoverMs = 1;

int Width(const RECT& rect) {
    return rect.right - rect.left;
}

int Height(const RECT& rect) {
    return rect.bottom - rect.top;
}

bool Contains(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

platform::RectF MovedDown(platform::RectF rect, float by) {
    rect.y += by;
    return rect;
}

}  // namespace

CSkinButton::CSkinButton() {
    m_format.horizontal = platform::TextAlign::Near;
    m_format.vertical = platform::TextAlign::Center;
    m_format.trimming = platform::TextTrimming::Word;
}

CSkinButton::~CSkinButton() = default;

BOOL CSkinButton::CreateButton(CWnd* parent, UINT id, int) {
    return Create(L"Button", L"", WS_CHILD | WS_VISIBLE, RECT{0, 0, 0, 0}, parent, id);
}

void CSkinButton::PreSubclassWindow() {
    ModifyStyle(0, BS_OWNERDRAW);
}

BOOL CSkinButton::SetupFromDef(const std::wstring&, const SkinButtonDef& def,
                               platform::CToolTipCtrl* tooltip) {
    SetImages(def.stand);
    m_pIcon = CImageEx::LoadSkinImage(def.icon);
    m_pBadge = CImageEx::LoadSkinImage(def.icon1);

    RECT rect = RectInParent();
    RECT container{};
    if (CWnd* parent = GetParent()) {
        parent->GetWindowRect(&container);
        parent->ScreenToClient(&container);
    }
    POINT position{def.left, def.top};
    ApplySkinAnchor(position, def.align, container, rect);
    MoveWindow(position.x, position.y, Width(rect), Height(rect), TRUE);
    ShowWindow(SW_SHOW);

    m_def = def;
    if (tooltip != nullptr && tooltip->GetSafeHwnd() != nullptr && !m_def.tip.empty()) {
        RECT client;
        GetClientRect(&client);
        tooltip->AddTool(this, m_def.tip, &client, static_cast<UINT>(GetDlgCtrlID()));
    }
    switch (m_def.style) {
        case 0:
            m_format.horizontal = platform::TextAlign::Near;
            break;
        case 1:
        case 3:
            m_format.horizontal = platform::TextAlign::Center;
            break;
        case 2:
            m_format.horizontal = platform::TextAlign::Far;
            break;
        case 4:
            m_format.horizontal = platform::TextAlign::Center;
            m_format.vertical = platform::TextAlign::Far;
            break;
        default:
            break;
    }
    return TRUE;
}

void CSkinButton::SetImages(int id) {
    for (auto& image : m_images) {
        image.reset();
    }
    m_pCurImage = nullptr;
    if (id != 0) {
        for (int state = 0; state < 3; ++state) {
            if (id + state != 0) {
                m_images[state] = CImageEx::LoadSkinImage(id + state);
            }
        }
        m_nImageId = id;
        const CImageEx* sizing =
            m_images[0] && m_images[0]->GetWidth() == 0 ? m_images[1].get() : m_images[0].get();
        int width = sizing != nullptr ? sizing->GetWidth() : 0;
        int height = sizing != nullptr ? sizing->GetHeight() : 0;
        if (width <= 0) {
            width = kNoPictureWidth;
            height = kNoPictureHeight;
        }
        SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        m_pCurImage = m_images[0].get();
    } else {
        m_nImageId = 0;  // keeps its size and shows nothing
    }
    InvalidateParent(RectInParent());
}

void CSkinButton::UpdateStateImage() {
    if (m_def.check != 0) {
        return;  // a check button keeps its normal picture
    }
    CImageEx* shown = nullptr;
    if (m_images[0] || m_images[1] || m_images[2]) {
        shown = m_images[0].get();
        if (m_bHover) {
            CImageEx* state = m_bPressed ? m_images[2].get() : m_images[1].get();
            if (state != nullptr && state->GetWidth() > 0) {
                shown = state;
            }
        }
    }
    if (shown == m_pCurImage) {
        return;
    }
    m_pCurImage = shown;
    if (shown == nullptr) {
        return;
    }
    const RECT rect = RectInParent();
    const RECT grown{rect.left, rect.top, rect.left + shown->GetWidth(), rect.top + shown->GetHeight()};
    MoveWindow(grown, TRUE);
    InvalidateParent(grown);
}

void CSkinButton::Relayout(const RECT& parentClient) {
    const RECT rect = RectInParent();
    POINT position{m_def.left, m_def.top};
    ApplySkinAnchor(position, m_def.align, parentClient, rect);
    MoveWindow(position.x, position.y, Width(rect), Height(rect), TRUE);
}

void CSkinButton::SetTitle(const std::wstring& title) {
    m_def.title = title;
    InvalidateParent(RectInParent());
}

void CSkinButton::SetBlink(BOOL on) {
    m_bBlink = on;
    KillTimer(kBlinkTimer);
    if (on) {
        SetTimer(kBlinkTimer, kBlinkMs);
    } else {
        SetImages(m_def.stand);
    }
}

int CSkinButton::ShownState() const {
    for (int state = 0; state < 3; ++state) {
        if (m_pCurImage != nullptr && m_pCurImage == m_images[state].get()) {
            return state;
        }
    }
    return -1;
}

void CSkinButton::OnPaint() {
    BeginPaint();
    EndPaint();
}

BOOL CSkinButton::OnEraseBkgnd(platform::Canvas*) {
    return TRUE;
}

void CSkinButton::OnMouseMove(UINT, POINT) {
    if (!m_bTracking) {
        TRACKMOUSEEVENT request{};
        request.cbSize = sizeof(request);
        request.dwFlags = TME_HOVER | TME_LEAVE;
        request.hwndTrack = m_hWnd;
        request.dwHoverTime = kHoverMs;
        m_bTracking = platform::TrackMouseEvent(&request);
    }
    Default();
}

void CSkinButton::OnMouseHover(UINT, POINT) {
    m_bHover = TRUE;
    UpdateStateImage();
}

void CSkinButton::OnMouseLeave() {
    m_bPressed = FALSE;
    m_bHover = FALSE;
    m_bTracking = FALSE;
    UpdateStateImage();
}

void CSkinButton::OnLButtonDown(UINT, POINT) {
    m_bPressed = TRUE;
    UpdateStateImage();
    Default();
}

void CSkinButton::OnLButtonUp(UINT, POINT point) {
    m_bPressed = FALSE;
    RECT client;
    GetClientRect(&client);
    if (Contains(client, point)) {
        m_bChecked = m_def.check != 0 ? !m_bChecked : FALSE;
    } else {
        m_bHover = FALSE;
    }
    if (m_bBlink) {
        SetBlink(FALSE);
    }
    UpdateStateImage();
    Default();  // the click; the parent may destroy this button while handling it
}

BOOL CSkinButton::OnSetCursor(CWnd*, UINT, UINT) {
    platform::SetCursor(platform::LoadCursor(m_bHandCursor ? IDC_HAND : IDC_ARROW));
    return TRUE;
}

void CSkinButton::OnTimer(UINT_PTR id) {
    if (id == kBlinkTimer) {
        SetImages(m_nImageId == 0 ? m_def.stand : 0);
    }
    Default();
}

RECT CSkinButton::RectInParent() const {
    RECT rect;
    GetWindowRect(&rect);
    if (CWnd* parent = GetParent()) {
        parent->ScreenToClient(&rect);
    }
    return rect;
}

void CSkinButton::InvalidateParent(const RECT& rect) {
    if (CWnd* parent = GetParent()) {
        parent->InvalidateRect(&rect, TRUE);
    }
}

bool CSkinButton::CaptionFont(platform::FontSpec& face) const {
    SkinFontDef font;
    font.name = m_def.font;
    if (m_def.title.empty() || m_def.font.empty() || !SkinDocument::Instance().FindFont(font)) {
        return false;
    }
    face = CanvasFont(font);
    return true;
}

void CSkinButton::DrawCaption(platform::Canvas& canvas, const platform::RectF& layout) const {
    platform::FontSpec font;
    if (CaptionFont(font)) {
        const COLORREF colour = m_bHover || m_bChecked ? m_def.hotcolor : m_def.color;
        canvas.DrawText(m_def.title, font, colour & 0xFFFFFF, layout, m_format);
    }
}

void CSkinButton::DrawButton(platform::Canvas& canvas) {
    if (m_pCurImage == nullptr) {
        return;
    }
    RECT box = RectInParent();
    const int l = box.left;
    const int t = box.top;
    platform::RectF caption{static_cast<float>(l), static_cast<float>(t), static_cast<float>(Width(box)),
                            static_cast<float>(Height(box))};
    if (Width(box) < m_pCurImage->GetWidth() || Height(box) < m_pCurImage->GetHeight()) {
        box.right = l + m_pCurImage->GetWidth();
        box.bottom = t + m_pCurImage->GetHeight();
    }
    m_pCurImage->DrawInto(canvas, box);

    const CImageEx* icon = m_pIcon && !m_pIcon->IsNull() ? m_pIcon.get() : nullptr;
    const int iw = icon != nullptr ? icon->GetWidth() : 0;
    const int ih = icon != nullptr ? icon->GetHeight() : 0;
    const int rw = Width(box);
    const int rh = Height(box);
    const bool oversized = iw > rw && ih > rh;
    const RECT inset{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
    auto drawIconAt = [&](int x, int y) {
        const RECT place = oversized ? inset : RECT{x, y, x + iw, y + ih};
        icon->DrawInto(canvas, place);
        return place;
    };
    switch (m_def.style) {
        case 0:
            if (icon != nullptr) {
                const RECT place = drawIconAt(HasCaption() ? l + 5 : l + (rw - iw) / 2, t + (rh - ih) / 2);
                const float right = caption.x + caption.width;
                caption.x = static_cast<float>(place.right + 1);
                caption.width = right - caption.x;
            }
            DrawCaption(canvas, MovedDown(caption, 2));
            break;
        case 1:
            if (icon != nullptr) {
                icon->DrawInto(canvas, RECT{l + (rw - iw) / 2, t + 5, l + (rw - iw) / 2 + iw, t + 5 + ih});
                caption.y += static_cast<float>(ih);
                caption.height -= static_cast<float>(ih);
            }
            DrawCaption(canvas, MovedDown(caption, 2));
            break;
        case 2:
            if (icon != nullptr) {
                const RECT place = drawIconAt(box.right - iw, t + (rh - ih) / 2);
                caption.width = static_cast<float>(place.left - l - 5);
            }
            DrawCaption(canvas, MovedDown(caption, 3));
            break;
        case 3: {
            DrawCaption(canvas, caption);
            const int tw =
                HasCaption()
                    ? platform::Canvas::MeasureText(m_def.title, platform::Canvas::DefaultGuiFont()).cx
                    : 0;
            if (icon != nullptr) {
                drawIconAt(l + rw / 2 + tw / 2, t + (rh - ih) / 2);
            }
            break;
        }
        case 4:
            DrawCaption(canvas, caption);
            break;
        default:
            break;
    }
    if (m_pBadge && !m_pBadge->IsNull()) {
        const int bw = m_pBadge->GetWidth();
        const int bh = m_pBadge->GetHeight();
        m_pBadge->DrawInto(
            canvas, RECT{l + kBadgeOffset - bw, t + kBadgeOffset - bh, l + kBadgeOffset, t + kBadgeOffset});
    }
}
