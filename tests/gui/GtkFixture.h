#pragma once
// What the tests of the desktop backend share: the backend opened on the process's private X display, a
// turn of the real main loop for waits, windows that paint one colour and record their messages, and the
// X ids and screen colours the checks look at.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "DesktopState.h"
#include "Screenshot.h"
#include "platform/ui/wnd.h"

// One turn: the layer's queue, then native events for up to 10 ms.
void Turn();
// Turns the loop until `done` or `timeout`.
bool TurnUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(5));

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A window filled with one colour that keeps every message it gets.
class ColourWnd : public CWnd {
public:
    explicit ColourWnd(COLORREF colour = RGB(200, 40, 40)) : m_colour(colour) {}
    std::vector<Seen> seen;
    std::vector<Seen> Of(UINT message) const;

    // A top-level popup, shown, at a screen rectangle; owned by `owner` when given.
    bool CreateTop(const RECT& rect, DWORD exStyle = 0, HWND owner = nullptr);
    // The X id of its native window.
    unsigned long Xid() const;
    // Where the layer has it, as X reports areas.
    WindowRect LayerRect() const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;

private:
    COLORREF m_colour;
};

class GtkTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Waits until the screen shows `rgb` at (x, y); on failure the screenshot is saved under the build
    // folder and named in the message.
    ::testing::AssertionResult ShowsColour(int x, int y, uint32_t rgb,
                                           std::chrono::milliseconds timeout = std::chrono::seconds(5));
};

// Presses at `from` (screen), waits until the layer runs the move or resize it started, goes to `to`,
// waits for `moved`, releases; false when the drag did not start or `moved` did not come.
bool DragWithPointer(POINT from, POINT to, const std::function<bool()>& moved);
// Saves what the screen shows of `window` as a PNG at `path`; false when it cannot.
bool KeepScreenshotOf(const CWnd& window, const std::string& path);

// 0xRRGGBB of a COLORREF.
uint32_t Rgb(COLORREF colour);
