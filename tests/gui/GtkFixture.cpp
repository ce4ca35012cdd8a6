#include "GtkFixture.h"

#include <string>

#include "FailureScreenshot.h"
#include "TestDisplay.h"
#include "WaitUntil.h"
#include "Xdotool.h"
#include "platform/gfx/canvas.h"
#include "platform/gtk/gtk_backend.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/win_api.h"
#include "platform/ui/window_system.h"

// Last: its X11 headers define macros (None, Bool) that clash with names in the headers above.
#include <gdk/gdkx.h>

void Turn() {
    while (platform::PumpOne()) {
    }
    platform::GetBackend().WaitForEvents(10);
}

bool TurnUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    return WaitUntil(done, timeout, Turn);
}

std::vector<Seen> ColourWnd::Of(UINT message) const {
    std::vector<Seen> matching;
    for (const Seen& s : seen) {
        if (s.message == message) {
            matching.push_back(s);
        }
    }
    return matching;
}

bool ColourWnd::CreateTop(const RECT& rect, DWORD exStyle, HWND owner) {
    return CreateEx(exStyle, L"GtkTestWindow", L"test window", WS_POPUP | WS_VISIBLE, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, owner, 0) != FALSE;
}

unsigned long ColourWnd::Xid() const {
    GtkWidget* window = platform::gtk::GtkWindowOf(m_hWnd);
    GdkWindow* native = window != nullptr ? gtk_widget_get_window(window) : nullptr;
    return native != nullptr ? gdk_x11_window_get_xid(native) : 0;
}

WindowRect ColourWnd::LayerRect() const {
    RECT rect{};
    GetWindowRect(&rect);
    return WindowRect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

LRESULT ColourWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    seen.push_back(Seen{message, wParam, lParam});
    return CWnd::WindowProc(message, wParam, lParam);
}

void ColourWnd::OnPaint() {
    auto canvas = BeginPaint();
    RECT client{};
    GetClientRect(&client);
    canvas->FillRect(client, m_colour);
    EndPaint();
}

bool DragWithPointer(POINT from, POINT to, const std::function<bool()>& moved) {
    auto run = [](std::vector<std::string> args) {
        auto xdotool = Xdotool::Start(std::move(args));
        return xdotool->Wait(std::chrono::seconds(5), Turn);
    };
    const bool started =
        run({"mousemove", std::to_string(from.x), std::to_string(from.y), "mousedown", "1"}) &&
        TurnUntil([] { return platform::WindowSystem::Instance().sizeMove.Active(); });
    const bool followed =
        started && run({"mousemove", std::to_string(to.x), std::to_string(to.y)}) && TurnUntil(moved);
    run({"mouseup", "1"});
    return followed;
}

bool KeepScreenshotOf(const CWnd& window, const std::string& path) {
    RECT rect{};
    window.GetWindowRect(&rect);
    const Screenshot screen = TakeScreenshot();
    std::vector<uint32_t> pixels;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            const bool inside = x >= 0 && y >= 0 && x < screen.Width() && y < screen.Height();
            pixels.push_back(inside ? screen.Pixel(x, y) : 0);
        }
    }
    return Screenshot(rect.right - rect.left, rect.bottom - rect.top, pixels).SavePng(path);
}

uint32_t Rgb(COLORREF colour) {
    return (static_cast<uint32_t>(GetRValue(colour)) << 16) |
           (static_cast<uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

void GtkTest::SetUp() {
    TestDisplay::Get();
    std::string reason;
    ASSERT_TRUE(platform::GetBackend().Open(reason)) << reason;
    platform::WindowSystem::Reset();
    platform::MessageQueue::Instance().Reset();
    platform::RegisterWindowClass(L"GtkTestWindow", CS_DBLCLKS);
}

void GtkTest::TearDown() {
    // Windows of the test are gone by now; let the toolkit finish with them.
    for (int i = 0; i < 5; ++i) {
        Turn();
    }
}

::testing::AssertionResult GtkTest::ShowsColour(int x, int y, uint32_t rgb,
                                                std::chrono::milliseconds timeout) {
    uint32_t last = 0;
    bool shown = TurnUntil(
        [&] {
            last = TakeScreenshot().Pixel(x, y);
            return Near(last, rgb, 8);
        },
        timeout);
    if (shown) {
        return ::testing::AssertionSuccess();
    }
    char text[96];
    std::snprintf(text, sizeof text, "(%d, %d) shows %06x, not %06x; ", x, y, last, rgb);
    return ::testing::AssertionFailure() << text << SaveForInspection(TakeScreenshot());
}
