#include "windows/SkinWnd.h"

#include "platform/ui/win_api.h"

namespace {

UINT g_nextButtonId = CSkinWndBase::kFirstButtonId;

}  // namespace

CSkinWnd::CSkinWnd(const std::wstring& section) : CSkinWndBase(section) {}

CSkinWnd::~CSkinWnd() = default;

UINT CSkinWnd::NextButtonId() {
    return g_nextButtonId++;
}

int CSkinWnd::OnCreate(CREATESTRUCT* cs) {
    // Toggled, not set: a window its creator already made layered ends up opaque.
    if ((GetExStyle() & WS_EX_LAYERED) != 0) {
        ModifyStyleEx(WS_EX_LAYERED, 0);
    } else {
        ModifyStyleEx(0, WS_EX_LAYERED);
    }
    return CSkinWndBase::OnCreate(cs);
}

void CSkinWnd::Show(BOOL bShow) {
    CSkinWndBase::Show(bShow);
    if (bShow) {
        Compose();
    }
}

void CSkinWnd::OnPaint() {
    ValidateRect(nullptr);
    Compose();
}

void CSkinWnd::Compose() {
    RECT client;
    GetClientRect(&client);
    // Starts fully transparent: what no image covers shows what is behind the window.
    platform::Bitmap picture(client.right - client.left, client.bottom - client.top, true);
    if (picture.IsNull()) {
        return;
    }
    {
        platform::Canvas canvas(picture);
        DrawImages(canvas);
        DrawButtons(canvas);
        DrawTexts(canvas);
    }
    RECT window;
    GetWindowRect(&window);
    const POINT position{window.left, window.top};
    const SIZE size{m_nWidth, m_nHeight};
    platform::UpdateLayeredWindow(m_hWnd, &position, &size, picture);
    SetWindowPos(HWND_NOTOPMOST, window.left, window.top, m_nWidth, m_nHeight, SWP_SHOWWINDOW);
}

void CSkinWnd::DrawImages(platform::Canvas& canvas) {
    for (const SkinImageDef& def : m_imageDefs) {
        if (!def.visible) {
            continue;
        }
        std::unique_ptr<CImageEx> reloaded;
        const CImageEx* image = def.image.get();
        if (m_bReloadImages) {
            BOOL loaded = FALSE;
            reloaded = CImageEx::LoadSkinImage(def.stand, &loaded);
            image = loaded ? reloaded.get() : nullptr;
        }
        if (image == nullptr || image->IsNull()) {
            continue;
        }
        const int declaredWidth = def.size.right - def.size.left;
        const int declaredHeight = def.size.bottom - def.size.top;
        const bool declared = declaredWidth > 0 && declaredHeight > 0;
        const RECT element = declared ? def.size : RECT{0, 0, image->GetWidth(), image->GetHeight()};
        const POINT at = Anchored(def.left, def.top, def.align, element);
        const RECT destination{at.x, at.y, at.x + (declaredWidth > 0 ? declaredWidth : image->GetWidth()),
                               at.y + (declaredHeight > 0 ? declaredHeight : image->GetHeight())};
        // Stretched whole: this window draws no nine-grids.
        image->Draw(canvas, destination, RECT{0, 0, image->GetWidth(), image->GetHeight()});
    }
}

void CSkinWnd::OnLButtonDown(UINT flags, POINT point) {
    SendMessage(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    CWnd::OnLButtonDown(flags, point);
}

void CSkinWnd::OnClose() {
    ClickCloseButton();
}
