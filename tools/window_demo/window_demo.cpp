// A hand check of the desktop backend, not installed: a layered window with a see-through corner that
// drags by the layer, an opaque window it owns that follows it and can be resized from its right edge,
// a push button, a tray icon with its menu, a message box and a tooltip. Escape or the button quits.
#include <cstdio>
#include <string>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/native.h"
#include "platform/ui/shell_ui.h"
#include "platform/ui/tooltip.h"
#include "platform/ui/win_api.h"
#include "platform/ui/wnd.h"

namespace {

constexpr UINT kTrayMessage = WM_USER + 1;
constexpr UINT kQuitButton = 100;
constexpr int kCorner = 60;

// A 360x240 picture, blue with a transparent square in its top-left corner.
platform::Bitmap LayeredPicture() {
    platform::Bitmap picture(360, 240, true);
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            bool corner = x < kCorner && y < kCorner;
            picture.Row(y)[x] = corner ? 0x00000000u : 0xFF2050C0u;
        }
    }
    picture.MarkDirty();
    return picture;
}

class PanelWnd final : public CWnd {
public:
    void FollowOwner(const RECT& owner) {
        SetWindowPos(nullptr, owner.left, owner.bottom + 10, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

protected:
    int OnCreate(CREATESTRUCT* cs) override {
        m_button.Create(L"Button", L"Quit", WS_CHILD | WS_VISIBLE, RECT{20, 20, 120, 50}, this, kQuitButton);
        m_tips.Create(this, 0);
        m_tips.AddTool(&m_button, L"Ends the demo", nullptr, kQuitButton);
        return CWnd::OnCreate(cs);
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        m_tips.RelayEvent(msg);
        return CWnd::PreTranslateMessage(msg);
    }
    void OnPaint() override {
        auto canvas = BeginPaint();
        RECT client{};
        GetClientRect(&client);
        canvas->FillRect(client, RGB(240, 200, 40));
        canvas->FillRect(m_button.m_hWnd != nullptr ? ButtonRect() : RECT{}, RGB(60, 60, 60));
        platform::RectF text{20, 60, 300, 30};
        canvas->DrawText(L"Drag the blue window; size me from the right edge", platform::FontSpec{},
                         RGB(0, 0, 0), text, platform::TextFormat{});
        EndPaint();
    }
    BOOL OnCommand(WPARAM wParam, LPARAM) override {
        if (LOWORD(wParam) == kQuitButton) {
            platform::PostQuitMessage(0);
        }
        return TRUE;
    }
    void OnLButtonDown(UINT, POINT point) override {
        RECT client{};
        GetClientRect(&client);
        if (point.x > client.right - 8) {
            SendMessage(WM_SYSCOMMAND, SC_SIZE | WMSZ_RIGHT, 0);
        }
    }
    void OnGetMinMaxInfo(MINMAXINFO* info) override { info->ptMinTrackSize = POINT{200, 120}; }
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override {
        POINT at{};
        platform::GetCursorPos(&at);
        ScreenToClient(&at);
        RECT client{};
        GetClientRect(&client);
        if (wnd == this && at.x > client.right - 8) {
            platform::SetCursor(platform::LoadCursor(IDC_SIZEWE));
            return TRUE;
        }
        return CWnd::OnSetCursor(wnd, hitTest, message);
    }

private:
    RECT ButtonRect() const {
        RECT rect{};
        m_button.GetWindowRect(&rect);
        ScreenToClient(&rect);
        return rect;
    }
    CWnd m_button;
    platform::CToolTipCtrl m_tips;
};

class DemoWnd final : public CWnd {
public:
    PanelWnd panel;

protected:
    int OnCreate(CREATESTRUCT* cs) override {
        platform::Bitmap picture = LayeredPicture();
        platform::UpdateLayeredWindow(m_hWnd, nullptr, nullptr, picture);
        platform::NOTIFYICONDATA tray{};
        tray.hWnd = m_hWnd;
        tray.uID = 1;
        tray.uFlags = platform::NIF_MESSAGE | platform::NIF_ICON | platform::NIF_TIP;
        tray.uCallbackMessage = kTrayMessage;
        tray.szTip = L"Window demo";
        platform::Shell_NotifyIcon(platform::NIM_ADD, tray);
        return CWnd::OnCreate(cs);
    }
    void OnDestroy() override {
        platform::NOTIFYICONDATA tray{};
        tray.hWnd = m_hWnd;
        tray.uID = 1;
        platform::Shell_NotifyIcon(platform::NIM_DELETE, tray);
        platform::PostQuitMessage(0);
    }
    void OnLButtonDown(UINT, POINT) override { SendMessage(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0); }
    void OnMove(int, int) override {
        if (panel.m_hWnd != nullptr) {
            RECT rect{};
            GetWindowRect(&rect);
            panel.FollowOwner(rect);
        }
    }
    void OnKeyDown(UINT key, UINT, UINT) override {
        if (key == VK_ESCAPE) {
            DestroyWindow();
        } else if (key == 'M') {
            platform::MessageBox(m_hWnd, L"A message box. Press Enter.", L"Window demo",
                                 MB_OK | MB_ICONINFORMATION);
        }
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kTrayMessage && lParam == WM_RBUTTONDOWN) {
            platform::Menu menu;
            platform::LoadMenuResource(200, menu);
            POINT at{};
            platform::GetCursorPos(&at);
            UINT chosen = platform::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, m_hWnd);
            std::printf("menu: %u\n", chosen);
            if (chosen == ID_APP_EXIT) {
                DestroyWindow();
            }
            return 0;
        }
        if (message == kTrayMessage && lParam == WM_LBUTTONDOWN) {
            SetForegroundWindow();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

}  // namespace

int main() {
    std::string reason;
    if (!platform::GetBackend().Open(reason)) {
        std::fprintf(stderr, "window_demo: %s\n", reason.c_str());
        return 1;
    }
    platform::RegisterWindowClass(L"DemoWindow", CS_DBLCLKS);
    DemoWnd demo;
    demo.CreateEx(WS_EX_LAYERED | WS_EX_APPWINDOW, L"DemoWindow", L"Window demo", WS_POPUP, 100, 100, 360,
                  240, nullptr, 0);
    demo.panel.CreateEx(0, L"DemoWindow", L"Panel", WS_POPUP, 100, 350, 360, 120, demo.m_hWnd, 0);
    demo.ShowWindow(SW_SHOW);
    demo.panel.ShowWindow(SW_SHOW);
    demo.SetForegroundWindow();
    return platform::RunMessageLoop();
}
