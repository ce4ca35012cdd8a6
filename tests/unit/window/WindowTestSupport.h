#pragma once
// What the window tests share: a clean window layer with a test clock for every case, and a window that
// records the messages it gets.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/clock.h"
#include "platform/headless/headless.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/win_api.h"
#include "platform/ui/window_system.h"
#include "platform/ui/wnd.h"
#include "support/HeadlessTest.h"

class WindowTest : public HeadlessTest {
protected:
    WindowTest();
    ~WindowTest() override;

    platform::ManualClock clock;
    platform::headless::HeadlessBackend& backend = platform::headless::Backend();
};

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Keeps every message it receives, then handles it the default way.
class RecordingWnd : public CWnd {
public:
    std::vector<Received> received;
    // Messages of one kind, in order.
    std::vector<Received> Of(UINT message) const;
    size_t Count(UINT message) const { return Of(message).size(); }
    void Forget() { received.clear(); }

    // A plain top-level popup at a screen rectangle.
    BOOL CreatePopup(const RECT& rect, DWORD exStyle = 0, HWND owner = nullptr);
    // A push button child at a rectangle of `parent`'s client area.
    BOOL CreateButton(CWnd& parent, const RECT& rect, UINT id);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

POINT Center(const RECT& rect);
RECT ScreenRect(const CWnd& wnd);
