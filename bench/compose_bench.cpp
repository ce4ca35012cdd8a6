// How long the skinned windows take to draw themselves, as a ratio to the cheapest thing that could
// fill the same surface: one plain copy of a picture of that size, measured in the same run. The
// launcher is composed with the pictures decoded at its build and with every picture decoded again for
// each composition; the game window is painted at 1920 x 1040.
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/headless/headless.h"
#include "platform/ui/message_loop.h"
#include "skin/SkinDocument.h"
#include "windows/SkinWnd.h"
#include "windows/SkinWnd2.h"

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kRounds = 60;

// Milliseconds per call of `work`, the best of three batches so that a busy moment counts less.
double MsPerCall(const std::function<void()>& work) {
    double best = 1e9;
    for (int batch = 0; batch < 3; ++batch) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kRounds; ++i) {
            work();
        }
        const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
        best = std::min(best, spent.count() / kRounds);
    }
    return best;
}

double CopyMs(int width, int height) {
    platform::Bitmap source(width, height, true);
    platform::Bitmap target(width, height, true);
    return MsPerCall([&] {
        platform::Canvas canvas(target);
        canvas.DrawBitmap(source, RECT{0, 0, width, height});
    });
}

void Print(const char* what, double ms, double baselineMs) {
    std::printf("%-44s %7.3f ms  %6.2f x the copy (%.3f ms)\n", what, ms, ms / baselineMs, baselineMs);
}

class Launcher final : public CSkinWnd {
public:
    Launcher() : CSkinWnd(L"MAINWND") {}
    void OnSkinButton(const SkinButtonDef&) override {}
};

}  // namespace

int main() {
    platform::headless::Backend().workArea = RECT{0, 0, 1920, 1040};
    Launcher launcher;
    CSkinWnd2 game(L"GAMEWND");
    if (!launcher.Create(nullptr, WS_EX_APPWINDOW, kStyle) ||
        !game.Create(nullptr, WS_EX_APPWINDOW, kStyle)) {
        std::fprintf(stderr, "compose_bench: the windows could not be made\n");
        return 1;
    }
    launcher.Show(TRUE);
    game.Show(TRUE);
    platform::PumpUntilIdle();

    const double launcherCopy = CopyMs(launcher.m_nWidth, launcher.m_nHeight);
    Print("launcher composition, pictures kept", MsPerCall([&] { launcher.Compose(); }), launcherCopy);
    launcher.SetReloadImagesOnCompose(true);
    Print("launcher composition, pictures decoded anew", MsPerCall([&] { launcher.Compose(); }),
          launcherCopy);

    game.MoveWindow(0, 0, 1920, 1040);
    platform::PumpUntilIdle();
    const double gameCopy = CopyMs(1920, 1040);
    Print("game window paint at 1920 x 1040", MsPerCall([&] {
              game.Invalidate();
              platform::PumpUntilIdle();
          }),
          gameCopy);
    SkinDocument::DestroyInstance();
    return 0;
}
