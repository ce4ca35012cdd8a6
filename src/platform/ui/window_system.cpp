// The window layer's thread-wide state in plain C++.
#include "platform/ui/window_system.h"

#include <algorithm>
#include <memory>

#include "platform/base/text.h"

namespace platform {
namespace {

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

HWND WindowSystem::Register(CWnd* wnd) {
    std::lock_guard<std::mutex> guard(m_lock);
    // Handles are never reused, so a stale handle can never reach a newer window.
    HWND hwnd = reinterpret_cast<HWND>(m_nextHandle);
    m_nextHandle += 4;
    m_windows[hwnd] = wnd;
    return hwnd;
}

void WindowSystem::Unregister(HWND hwnd) {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_windows.erase(hwnd);
    }
    RemoveTopLevel(hwnd);
    invalid.erase(std::remove(invalid.begin(), invalid.end(), hwnd), invalid.end());
    invalidRects.erase(hwnd);
    eraseRequested.erase(hwnd);
    desktopMinimize.erase(hwnd);
    for (HWND* slot : {&capture, &focus, &foreground, &hover, &lastClickWindow}) {
        if (*slot == hwnd) {
            *slot = nullptr;
        }
    }
    if (sizeMove && sizeMove->hwnd == hwnd) {
        sizeMove.reset();
    }
    if (tracking.hwnd == hwnd) {
        MessageQueue::Instance().Cancel(tracking.hoverTask);
        tracking = MouseTracking{};
    }
}

bool WindowSystem::IsWindow(HWND hwnd) {
    std::lock_guard<std::mutex> guard(m_lock);
    return hwnd != nullptr && m_windows.count(hwnd) > 0;
}

CWnd* WindowSystem::Lookup(HWND hwnd) {
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_windows.find(hwnd);
    return it != m_windows.end() ? it->second : nullptr;
}

void WindowSystem::Restack(HWND hwnd, HWND insertAfter) {
    RemoveTopLevel(hwnd);
    auto after = std::find(topLevels.begin(), topLevels.end(), insertAfter);
    if (insertAfter == HWND_BOTTOM) {
        topLevels.insert(topLevels.begin(), hwnd);
    } else if (after == topLevels.end()) {
        topLevels.push_back(hwnd);  // HWND_TOP, HWND_TOPMOST, HWND_NOTOPMOST or a window not on top
    } else {
        // "After" in Windows terms is below that window.
        topLevels.insert(after, hwnd);
    }
}

void WindowSystem::RemoveTopLevel(HWND hwnd) {
    topLevels.erase(std::remove(topLevels.begin(), topLevels.end(), hwnd), topLevels.end());
}

const WindowClass& WindowSystem::ClassOf(const std::wstring& name) {
    static const WindowClass fallback;
    for (const auto& entry : classes) {
        if (EqualsIgnoreCase(entry.first, name)) {
            return entry.second;
        }
    }
    return fallback;
}

HWND GetDesktopWindow() {
    return reinterpret_cast<HWND>(0x10);
}

}  // namespace platform
