// Two browser views as the client has them, for hand checks, GUI tests and the memory benchmark: a
// launcher's window showing LAUNCHER_URL and, once that view has been asked to load, a game window
// showing GAME_URL. What the views report goes to standard output, one line each:
//     launcher document URL    game title TEXT    loaded (once both pages have arrived)
// It runs until it is stopped (SIGTERM or SIGINT).
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/base/text.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/native.h"
#include "platform/ui/win_api.h"
#include "platform/ui/wnd.h"
#include "platform/web/browser.h"

namespace {

int g_loaded = 0;
int g_views = 0;
volatile std::sig_atomic_t g_stop = 0;

class Reporter final : public platform::BrowserEvents {
public:
    explicit Reporter(const char* name) : m_name(name) {}

    void OnDocumentComplete(const std::wstring& url) override {
        Say("document", url);
        if (!m_loaded && url != L"about:blank") {
            m_loaded = true;
            if (++g_loaded == g_views) {
                std::printf("loaded\n");
                std::fflush(stdout);
            }
        }
    }
    void OnTitleChange(const std::wstring& title) override { Say("title", title); }

private:
    void Say(const char* what, const std::wstring& text) const {
        std::printf("%s %s %s\n", m_name, what, platform::WideToUtf8(text).c_str());
        std::fflush(stdout);
    }

    const char* m_name;
    bool m_loaded = false;
};

// A top-level window whose only child hosts a browser view.
class ViewWnd final : public CWnd {
public:
    explicit ViewWnd(const char* name) : m_events(name) {}

    bool Open(const RECT& rect, const std::string& url) {
        if (!CreateEx(0, L"BrowserDemo", L"browser demo", WS_POPUP | WS_VISIBLE, rect.left, rect.top,
                      rect.right - rect.left, rect.bottom - rect.top, nullptr, 0) ||
            !m_child.Create(L"Static", L"", WS_CHILD | WS_VISIBLE,
                            RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top}, this, 131)) {
            return false;
        }
        m_browser = platform::CreateBrowserControl(m_events);
        m_child.HostNativeWidget(m_browser->Widget());
        ++g_views;
        m_browser->Navigate(platform::Utf8ToWide(url));
        return true;
    }
    void Close() {
        m_child.HostNativeWidget(nullptr);
        m_browser.reset();
        DestroyWindow();
    }

private:
    Reporter m_events;
    CWnd m_child;
    std::unique_ptr<platform::BrowserControl> m_browser;
};

void WatchForStop() {
    if (g_stop) {
        platform::PostQuitMessage(0);
        return;
    }
    platform::MessageQueue::Instance().Schedule(50, WatchForStop);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: browser_demo LAUNCHER_URL [GAME_URL]\n");
        return 2;
    }
    std::string reason;
    if (!platform::GetBackend().Open(reason)) {
        std::fprintf(stderr, "browser_demo: %s\n", reason.c_str());
        return 1;
    }
    std::signal(SIGTERM, [](int) { g_stop = 1; });
    std::signal(SIGINT, [](int) { g_stop = 1; });
    platform::RegisterWindowClass(L"BrowserDemo", CS_DBLCLKS);
    ViewWnd launcher("launcher");
    ViewWnd game("game");
    if (!launcher.Open(RECT{40, 40, 1040, 640}, argv[1]) ||
        (argc == 3 && !game.Open(RECT{80, 80, 1080, 720}, argv[2]))) {
        std::fprintf(stderr, "browser_demo: cannot make its windows\n");
        return 1;
    }
    WatchForStop();
    const int code = platform::RunMessageLoop();
    game.Close();
    launcher.Close();
    return code;
}
