#pragma once
// What the window layer knows of the pointer: where it is, the buttons held, the cursor shown, which of
// our windows it is over or captured by, the last press (for double clicks) and a move or resize it
// drives. Internal to platform/.

#include <cstdint>
#include <functional>

#include "platform/ui/win_messages.h"

namespace platform {

class Pointer final {
public:
    // Where input over our windows last left it, in screen coordinates.
    POINT Position() const { return m_position; }
    void MoveTo(POINT screen) { m_position = screen; }

    // MK_LBUTTON and MK_RBUTTON while held.
    WPARAM Buttons() const { return m_buttons; }
    void Press(WPARAM button) { m_buttons |= button; }
    void Release(WPARAM button) { m_buttons &= ~button; }

    int CursorId() const { return m_cursorId; }
    void SetCursorId(int cursorId) { m_cursorId = cursorId; }

    HWND Capture() const { return m_capture; }
    // Returns the window that held the capture before.
    HWND SetCapture(HWND hwnd);
    void ReleaseCapture() { m_capture = nullptr; }

    // The window the pointer is over (null: none of ours).
    HWND Hover() const { return m_hover; }
    void SetHover(HWND hwnd) { m_hover = hwnd; }

    // Capture and hover held by windows `gone` picks are released.
    void Forget(const std::function<bool(HWND)>& gone);

private:
    POINT m_position{};
    WPARAM m_buttons = 0;
    int m_cursorId = IDC_ARROW;
    HWND m_capture = nullptr;
    HWND m_hover = nullptr;
};

// The last press of the left button, which tells a double click from two clicks.
class ClickMemory final {
public:
    // Whether a press on `hwnd` at `screen` and `nowMs` completes a double click: the window wants
    // them, and the last press was on it, no more than `limitMs` earlier and a few pixels away. A double
    // click is forgotten, so a third press starts over; any other press is remembered.
    bool IsDoubleClick(HWND hwnd, bool wantsDouble, POINT screen, std::uint64_t nowMs, std::uint64_t limitMs);
    void Forget(HWND hwnd);

private:
    HWND m_window = nullptr;
    std::uint64_t m_ms = 0;
    POINT m_point{};
};

// A move or resize of a top-level window following the pointer until the left button is released.
class SizeMove final {
public:
    struct Start {
        HWND hwnd = nullptr;
        WPARAM edge = 0;  // 0 moves; WMSZ_* resizes from that edge
        POINT pointer{};
        RECT rect{};
        MINMAXINFO limits{};
    };

    bool Active() const { return m_active; }
    HWND Window() const { return m_active ? m_start.hwnd : nullptr; }
    void Begin(const Start& start);
    // The window's rectangle with the pointer at `screen`: moved by as much as the pointer, or resized
    // from the dragged edge within the limits while the opposite edge stays.
    RECT RectAt(POINT screen) const;
    void End() { m_active = false; }
    void Forget(HWND hwnd);

private:
    bool m_active = false;
    Start m_start;
};

}  // namespace platform
