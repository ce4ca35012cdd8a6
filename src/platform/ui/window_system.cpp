// The window layer's thread-wide state in plain C++.
#include "platform/ui/window_system.h"

#include <algorithm>
#include <memory>

#include "platform/base/text.h"

namespace platform {
namespace {

RECT Union(const RECT& a, const RECT& b) {
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

// Never destroyed: a worker thread that outlives main may still post, which asks IsWindow.
std::unique_ptr<WindowSystem>& Slot() {
    static auto& system = *new std::unique_ptr<WindowSystem>(std::make_unique<WindowSystem>());
    return system;
}

}  // namespace

WindowSystem& WindowSystem::Instance() {
    return *Slot();
}

void WindowSystem::Reset() {
    Slot() = std::make_unique<WindowSystem>();
}

HWND HandleTable::Register(CWnd* wnd) {
    std::lock_guard<std::mutex> guard(m_lock);
    HWND hwnd = reinterpret_cast<HWND>(m_nextHandle);
    m_nextHandle += 4;
    m_windows[hwnd] = wnd;
    return hwnd;
}

void HandleTable::Remove(HWND hwnd) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_windows.erase(hwnd);
}

void WindowSystem::Unregister(HWND hwnd) {
    handles.Remove(hwnd);
    stacking.Remove(hwnd);
    paint.Validate(hwnd);
    pointer.Forget([hwnd](HWND held) { return held == hwnd; });
    clicks.Forget(hwnd);
    sizeMove.Forget(hwnd);
    tracker.Forget(hwnd);
    activation.Forget(hwnd);
    desktopMinimize.Forget(hwnd);
}

bool HandleTable::IsWindow(HWND hwnd) {
    std::lock_guard<std::mutex> guard(m_lock);
    return hwnd != nullptr && m_windows.count(hwnd) > 0;
}

CWnd* HandleTable::Lookup(HWND hwnd) {
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_windows.find(hwnd);
    return it != m_windows.end() ? it->second : nullptr;
}

void Stacking::Place(HWND hwnd, HWND insertAfter) {
    Remove(hwnd);
    auto after = std::find(m_order.begin(), m_order.end(), insertAfter);
    if (insertAfter == HWND_BOTTOM) {
        m_order.insert(m_order.begin(), hwnd);
    } else if (after == m_order.end()) {
        m_order.push_back(hwnd);  // HWND_TOP, HWND_TOPMOST, HWND_NOTOPMOST or a window not on top
    } else {
        // "After" in Windows terms is below that window.
        m_order.insert(after, hwnd);
    }
}

void Stacking::PlaceAbove(HWND hwnd, HWND below) {
    Remove(hwnd);
    auto place = std::find(m_order.begin(), m_order.end(), below);
    m_order.insert(place == m_order.end() ? place : place + 1, hwnd);
}

void Stacking::RaiseBand(const std::function<bool(HWND)>& inTopBand) {
    std::stable_partition(m_order.begin(), m_order.end(), [&](HWND hwnd) { return !inTopBand(hwnd); });
}

void Stacking::Remove(HWND hwnd) {
    m_order.erase(std::remove(m_order.begin(), m_order.end(), hwnd), m_order.end());
}

void PaintQueue::Invalidate(HWND hwnd, const RECT& area, bool erase) {
    if (erase) {
        m_erase.insert(hwnd);
    }
    auto found = m_areas.find(hwnd);
    if (found == m_areas.end()) {
        m_areas[hwnd] = area;
        m_order.push_back(hwnd);
    } else {
        found->second = Union(found->second, area);
    }
}

void PaintQueue::Validate(HWND hwnd) {
    m_areas.erase(hwnd);
    m_erase.erase(hwnd);
    m_order.erase(std::remove(m_order.begin(), m_order.end(), hwnd), m_order.end());
}

bool PaintQueue::Pending(HWND hwnd, RECT& area, bool& erase) const {
    auto found = m_areas.find(hwnd);
    if (found == m_areas.end()) {
        return false;
    }
    area = found->second;
    erase = m_erase.count(hwnd) > 0;
    return true;
}

const WindowClass& ClassTable::Find(const std::wstring& name) const {
    static const WindowClass fallback;
    for (const auto& entry : m_classes) {
        if (EqualsIgnoreCase(entry.first, name)) {
            return entry.second;
        }
    }
    return fallback;
}

HWND Activation::SetFocus(HWND hwnd) {
    const HWND previous = m_focus;
    m_focus = hwnd;
    return previous;
}

void Activation::LoseFocus(const std::function<bool(HWND)>& gone) {
    if (m_focus != nullptr && gone(m_focus)) {
        m_focus = nullptr;
    }
}

void Activation::Forget(HWND hwnd) {
    for (HWND* slot : {&m_focus, &m_foreground}) {
        if (*slot == hwnd) {
            *slot = nullptr;
        }
    }
}

void DesktopMinimize::Requested(HWND hwnd, bool minimized) {
    State& state = m_windows[hwnd];
    // Until the desktop reports the new state, its reports are echoes of the layer's earlier requests.
    state.pending.reset();
    state.requested.reset();
    if (state.minimized != minimized) {
        state.requested = minimized;
    }
}

bool DesktopMinimize::Reported(HWND hwnd, bool minimized) {
    State& state = m_windows[hwnd];
    state.minimized = minimized;
    if (state.requested) {
        // On its way to what the layer asked for: nothing the window needs to hear of.
        if (*state.requested == minimized) {
            state.requested.reset();
        }
        return false;
    }
    // X may report one minimise as several changes (iconified, mapped again, iconified), all at once.
    // Only where the reports end matters, so the window is told once they have been read.
    const bool queued = state.pending.has_value();
    state.pending = minimized;
    return !queued;
}

std::optional<bool> DesktopMinimize::TakeNews(HWND hwnd) {
    auto found = m_windows.find(hwnd);
    if (found == m_windows.end()) {
        return std::nullopt;
    }
    std::optional<bool> news = found->second.pending;
    found->second.pending.reset();
    return news;
}

HWND GetDesktopWindow() {
    return reinterpret_cast<HWND>(0x10);
}

}  // namespace platform
