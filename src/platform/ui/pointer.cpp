// The pointer's state, the double-click memory and the layer-driven move or resize.
#include "platform/ui/pointer.h"

#include <algorithm>
#include <cstdlib>

namespace platform {

HWND Pointer::SetCapture(HWND hwnd) {
    const HWND previous = m_capture;
    m_capture = hwnd;
    return previous;
}

void Pointer::Forget(const std::function<bool(HWND)>& gone) {
    for (HWND* slot : {&m_capture, &m_hover}) {
        if (*slot != nullptr && gone(*slot)) {
            *slot = nullptr;
        }
    }
}

bool ClickMemory::IsDoubleClick(HWND hwnd, bool wantsDouble, POINT screen, std::uint64_t nowMs,
                                std::uint64_t limitMs) {
    constexpr LONG kDistance = 4;
    const bool sameSpot =
        std::abs(screen.x - m_point.x) <= kDistance && std::abs(screen.y - m_point.y) <= kDistance;
    if (wantsDouble && m_window == hwnd && nowMs - m_ms <= limitMs && sameSpot) {
        m_window = nullptr;
        return true;
    }
    m_window = hwnd;
    m_ms = nowMs;
    m_point = screen;
    return false;
}

void ClickMemory::Forget(HWND hwnd) {
    if (m_window == hwnd) {
        m_window = nullptr;
    }
}

void SizeMove::Begin(const Start& start) {
    m_start = start;
    m_active = true;
}

void SizeMove::Forget(HWND hwnd) {
    if (m_start.hwnd == hwnd) {
        m_active = false;
    }
}

RECT SizeMove::RectAt(POINT screen) const {
    const LONG dx = screen.x - m_start.pointer.x;
    const LONG dy = screen.y - m_start.pointer.y;
    RECT rect = m_start.rect;
    const WPARAM edge = m_start.edge;
    if (edge == 0) {
        return RECT{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
    }
    const bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
    const bool right = edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
    const bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
    const bool bottom = edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;
    const MINMAXINFO& limits = m_start.limits;
    auto clamp = [](LONG value, LONG low, LONG high) { return std::max(low, std::min(value, high)); };
    LONG width = rect.right - rect.left + (right ? dx : 0) - (left ? dx : 0);
    LONG height = rect.bottom - rect.top + (bottom ? dy : 0) - (top ? dy : 0);
    width = clamp(width, limits.ptMinTrackSize.x, std::max(limits.ptMinTrackSize.x, limits.ptMaxTrackSize.x));
    height =
        clamp(height, limits.ptMinTrackSize.y, std::max(limits.ptMinTrackSize.y, limits.ptMaxTrackSize.y));
    if (left) {
        rect.left = rect.right - width;
    } else {
        rect.right = rect.left + width;
    }
    if (top) {
        rect.top = rect.bottom - height;
    } else {
        rect.bottom = rect.top + height;
    }
    return rect;
}

}  // namespace platform
