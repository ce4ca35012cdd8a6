#pragma once
// TrackMouseEvent's state: the one window that asked to hear when the pointer leaves it (WM_MOUSELEAVE)
// or rests on it (WM_MOUSEHOVER). Internal to platform/.

#include "platform/ui/message_queue.h"
#include "platform/ui/win_messages.h"

namespace platform {

class Pointer;

class MouseTracker final {
public:
    // A request for a live window, the pointer being over `hover`.
    void Track(const TRACKMOUSEEVENT& request, HWND hover);
    // The pointer moved from over `previous` to over `now` (either null: none of ours). A tracked window
    // it left hears WM_MOUSELEAVE and is no longer tracked; over a tracked window, hover needs the
    // pointer to rest again.
    void PointerMoved(HWND previous, HWND now);
    // The hover time of `hwnd` ran out: it hears WM_MOUSEHOVER once, if still tracked and under the pointer.
    void HoverElapsed(HWND hwnd, const Pointer& pointer);
    void Forget(HWND hwnd);

private:
    void ArmHover();
    void Clear();

    HWND m_hwnd = nullptr;
    DWORD m_flags = 0;
    UINT m_hoverMs = 0;
    MessageQueue::TaskId m_hoverTask = 0;
};

}  // namespace platform
