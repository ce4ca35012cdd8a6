// The window core: invalid areas, WM_PAINT and the pictures top-level windows show.
#include <algorithm>
#include <cstring>

#include "platform/gfx/canvas.h"
#include "platform/ui/native.h"
#include "platform/ui/win_api.h"
#include "platform/ui/window_system.h"
#include "platform/ui/wnd.h"
#include "platform/ui/wnd_internals.h"

using platform::WindowSystem;

namespace {

bool IsEmpty(const RECT& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

RECT Intersect(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

// Makes the top-level picture match the client size; a layered window's picture keeps alpha.
void FitPicture(CWnd& top) {
    RECT client;
    top.GetClientRect(&client);
    platform::Bitmap& picture = WndInternals::Picture(top);
    const bool alpha = (top.GetExStyle() & WS_EX_LAYERED) != 0;
    if (picture.IsNull() || picture.Width() != client.right || picture.Height() != client.bottom ||
        picture.HasAlpha() != alpha) {
        picture = platform::Bitmap(client.right, client.bottom, alpha);
    }
}

}  // namespace

void CWnd::Invalidate(BOOL erase) {
    InvalidateRect(nullptr, erase);
}

void CWnd::InvalidateRect(const RECT* rect, BOOL erase) {
    if (m_hWnd == nullptr) {
        return;
    }
    RECT client;
    GetClientRect(&client);
    RECT area = rect != nullptr ? Intersect(*rect, client) : client;
    if (IsEmpty(area)) {
        return;
    }
    WindowSystem::Instance().paint.Invalidate(m_hWnd, area, erase != FALSE);
}

void CWnd::ValidateRect(const RECT*) {
    WindowSystem::Instance().paint.Validate(m_hWnd);
}

void CWnd::UpdateWindow() {
    if (m_hWnd != nullptr && WindowSystem::Instance().paint.IsInvalid(m_hWnd) && IsWindowVisible() &&
        !IsIconic()) {
        SendMessage(WM_PAINT);
        ValidateRect(nullptr);
    }
}

std::unique_ptr<platform::Canvas> CWnd::BeginPaint() {
    RECT update;
    GetClientRect(&update);
    bool erase = false;
    WindowSystem::Instance().paint.Pending(m_hWnd, update, erase);
    ValidateRect(nullptr);
    m_painting = true;

    CWnd* top = GetTopLevel();
    FitPicture(*top);
    auto canvas = std::make_unique<platform::Canvas>(WndInternals::Picture(*top));
    if (top != this) {
        POINT origin{0, 0};
        ClientToScreen(&origin);
        top->ScreenToClient(&origin);
        canvas->SetOrigin(origin.x, origin.y);
    }
    canvas->ClipTo(update);
    if (erase) {
        SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.get()));
    }
    return canvas;
}

void CWnd::EndPaint() {
    if (!m_painting) {
        return;
    }
    m_painting = false;
    CWnd* top = GetTopLevel();
    if (top->m_native && !top->m_picture.IsNull()) {
        top->m_native->Present(top->m_picture);
    }
}

namespace platform {

BOOL UpdateLayeredWindow(HWND hwnd, const POINT* position, const SIZE* size, const Bitmap& picture) {
    CWnd* wnd = CWnd::FromHandle(hwnd);
    if (wnd == nullptr || (wnd->GetExStyle() & WS_EX_LAYERED) == 0 || picture.IsNull()) {
        return FALSE;
    }
    RECT rect;
    wnd->GetWindowRect(&rect);
    if (position != nullptr || size != nullptr) {
        POINT at = position != nullptr ? *position : POINT{rect.left, rect.top};
        SIZE extent = size != nullptr ? *size : SIZE{rect.right - rect.left, rect.bottom - rect.top};
        wnd->SetWindowPos(nullptr, at.x, at.y, extent.cx, extent.cy,
                          SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        if (!IsWindow(hwnd)) {
            return FALSE;
        }
    }
    Bitmap& own = WndInternals::Picture(*wnd);
    own = Bitmap(picture.Width(), picture.Height(), true);
    if (own.IsNull()) {
        return FALSE;
    }
    for (int y = 0; y < picture.Height(); ++y) {
        std::memcpy(own.Row(y), picture.Row(y), static_cast<size_t>(picture.Width()) * 4);
    }
    own.MarkDirty();
    wnd->ValidateRect(nullptr);
    if (wnd->Native() != nullptr) {
        wnd->Native()->Present(own);
    }
    return TRUE;
}

}  // namespace platform
