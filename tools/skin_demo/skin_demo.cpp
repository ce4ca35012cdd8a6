// A hand check of the skinned windows, not installed: the build's launcher and game window with their
// buttons live, to look at, hover, drag and resize. The launcher's and the game window's close buttons
// quit; the game window's maximise and restore buttons swap as they would in the client.
#include <cstdio>
#include <string>

#include "platform/base/text.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/native.h"
#include "platform/ui/win_api.h"
#include "skin/SkinDocument.h"
#include "windows/SkinWnd.h"
#include "windows/SkinWnd2.h"

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX;

void Report(const SkinButtonDef& def) {
    std::printf("button \"%s\"\n", platform::WideToUtf8(def.name).c_str());
    std::fflush(stdout);
}

class DemoLauncher final : public CSkinWnd {
public:
    DemoLauncher() : CSkinWnd(L"MAINWND") {}
    void OnSkinButton(const SkinButtonDef& def) override {
        Report(def);
        if (platform::EqualsIgnoreCase(def.name, L"min")) {
            ShowWindow(SW_MINIMIZE);
        } else if (platform::EqualsIgnoreCase(def.name, L"close")) {
            platform::PostQuitMessage(0);
        }
    }
};

class DemoGame final : public CSkinWnd2 {
public:
    DemoGame() : CSkinWnd2(L"GAMEWND") {}
    void OnSkinButton(const SkinButtonDef& def) override {
        Report(def);
        if (platform::EqualsIgnoreCase(def.name, L"min")) {
            ShowWindow(SW_MINIMIZE);
        } else if (platform::EqualsIgnoreCase(def.name, L"max") ||
                   platform::EqualsIgnoreCase(def.name, L"restore")) {
            const bool maximise = platform::EqualsIgnoreCase(def.name, L"max");
            ShowWindow(maximise ? SW_SHOWMAXIMIZED : SW_RESTORE);
            m_bMovable = !maximise;
            ShowButton(L"max", !maximise);
            ShowButton(L"restore", maximise);
        } else if (platform::EqualsIgnoreCase(def.name, L"close")) {
            platform::PostQuitMessage(0);
        } else if (platform::EqualsIgnoreCase(def.name, L"vip")) {
            if (CSkinButton* vip = FindButton(L"vip")) {
                vip->SetBlink(!vip->IsBlinking());
            }
        }
    }
    void ShowButton(const wchar_t* name, bool show) {
        if (CSkinButton* button = FindButton(name)) {
            button->ShowWindow(show ? SW_SHOW : SW_HIDE);
        }
        Invalidate();
    }

protected:
    // The client's caption needs its configuration, whose creation prepares the machine; a demo must not.
    std::wstring CaptionText() const override { return m_wndDef.title + L" (skin demo)"; }
};

}  // namespace

int main() {
    std::string reason;
    if (!platform::GetBackend().Open(reason)) {
        std::fprintf(stderr, "skin_demo: %s\n", reason.c_str());
        return 1;
    }
    DemoGame game;
    DemoLauncher launcher;
    if (!game.Create(nullptr, WS_EX_APPWINDOW, kStyle) ||
        !launcher.Create(nullptr, WS_EX_APPWINDOW, kStyle)) {
        std::fprintf(stderr, "skin_demo: the windows could not be made\n");
        return 1;
    }
    game.ShowButton(L"restore", false);
    if (CSkinButton* vip = game.FindButton(L"vip")) {
        vip->SetTitle(L"\u661F\u6D77\u4E00\u533A");  // the server name a game page would report
        vip->SetHandCursor(TRUE);
    }
    game.Show(TRUE);
    launcher.Show(TRUE);
    const int exitCode = platform::RunMessageLoop();
    SkinDocument::DestroyInstance();
    return exitCode;
}
