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

// What a style lays out on the drawn face: the icon, and the caption in the space the icon leaves.
struct CSkinButton::Face {
    platform::Canvas& canvas;
    RECT box;                 // the face as drawn
    platform::RectF caption;  // the button's own rectangle, before the icon takes its part
    const CImageEx* icon;     // null when there is none
    int iw;
    int ih;

    int Width() const { return box.right - box.left; }
    int Height() const { return box.bottom - box.top; }
    // The icon at (x, y); one larger than the face both ways fills the face's inside instead.
    RECT DrawIcon(int x, int y) const {
        const bool oversized = iw > Width() && ih > Height();
        const RECT place = oversized ? RECT{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1}
                                     : RECT{x, y, x + iw, y + ih};
        icon->DrawInto(canvas, place);
        return place;
    }
};

void CSkinButton::DrawButton(platform::Canvas& canvas) {
    if (m_pCurImage == nullptr) {
        return;
    }
    RECT box = RectInParent();
    const platform::RectF caption{static_cast<float>(box.left), static_cast<float>(box.top),
                                  static_cast<float>(Width(box)), static_cast<float>(Height(box))};
    if (Width(box) < m_pCurImage->GetWidth() || Height(box) < m_pCurImage->GetHeight()) {
        box.right = box.left + m_pCurImage->GetWidth();
        box.bottom = box.top + m_pCurImage->GetHeight();
    }
    m_pCurImage->DrawInto(canvas, box);

    const CImageEx* icon = m_pIcon && !m_pIcon->IsNull() ? m_pIcon.get() : nullptr;
    const Face face{canvas,
                    box,
                    caption,
                    icon,
                    icon != nullptr ? icon->GetWidth() : 0,
                    icon != nullptr ? icon->GetHeight() : 0};
    switch (m_def.style) {
        case 0:
            LayOutIconLeft(face);
            break;
        case 1:
            LayOutIconAbove(face);
            break;
        case 2:
            LayOutIconRight(face);
            break;
        case 3:
            LayOutIconAfterCaption(face);
            break;
        case 4:
            DrawCaption(canvas, caption);
            break;
        default:
            break;
    }
    DrawBadge(canvas, box.left, box.top);
}

// The icon at the left (centred without a caption), the caption to its right.
void CSkinButton::LayOutIconLeft(const Face& face) const {
    platform::RectF caption = face.caption;
    if (face.icon != nullptr) {
        const int x = HasCaption() ? face.box.left + 5 : face.box.left + (face.Width() - face.iw) / 2;
        const RECT place = face.DrawIcon(x, face.box.top + (face.Height() - face.ih) / 2);
        const float right = caption.x + caption.width;
        caption.x = static_cast<float>(place.right + 1);
        caption.width = right - caption.x;
    }
    DrawCaption(face.canvas, MovedDown(caption, 2));
}

// The icon centred at the top, never stretched, the caption below it.
void CSkinButton::LayOutIconAbove(const Face& face) const {
    platform::RectF caption = face.caption;
    if (face.icon != nullptr) {
        const int x = face.box.left + (face.Width() - face.iw) / 2;
        face.icon->DrawInto(face.canvas, RECT{x, face.box.top + 5, x + face.iw, face.box.top + 5 + face.ih});
        caption.y += static_cast<float>(face.ih);
        caption.height -= static_cast<float>(face.ih);
    }
    DrawCaption(face.canvas, MovedDown(caption, 2));
}

// The icon at the right, the caption in what is left of it.
void CSkinButton::LayOutIconRight(const Face& face) const {
    platform::RectF caption = face.caption;
    if (face.icon != nullptr) {
        const RECT place =
            face.DrawIcon(face.box.right - face.iw, face.box.top + (face.Height() - face.ih) / 2);
        caption.width = static_cast<float>(place.left - face.box.left - 5);
    }
    DrawCaption(face.canvas, MovedDown(caption, 3));
}

// The caption over the whole button, the icon just after the caption's centred text.
void CSkinButton::LayOutIconAfterCaption(const Face& face) const {
    DrawCaption(face.canvas, face.caption);
    if (face.icon != nullptr) {
        const int tw = HasCaption()
                           ? platform::Canvas::MeasureText(m_def.title, platform::Canvas::DefaultGuiFont()).cx
                           : 0;
        face.DrawIcon(face.box.left + face.Width() / 2 + tw / 2,
                      face.box.top + (face.Height() - face.ih) / 2);
    }
}

void CSkinButton::DrawBadge(platform::Canvas& canvas, int l, int t) const {
    if (m_pBadge && !m_pBadge->IsNull()) {
        const int bw = m_pBadge->GetWidth();
        const int bh = m_pBadge->GetHeight();
        m_pBadge->DrawInto(
            canvas, RECT{l + kBadgeOffset - bw, t + kBadgeOffset - bh, l + kBadgeOffset, t + kBadgeOffset});
    }
}
