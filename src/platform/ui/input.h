#pragma once
// Input from a backend into the window layer. Backends translate their toolkit's events into these
// calls; the layer routes them exactly as Windows does (capture, the topmost visible child under the
// pointer, hover and leave tracking, double-clicks, moves and resizes it drives) and queues the
// Win32-shaped messages. Tests of the headless backend call the same functions.

#include "platform/ui/win_messages.h"

namespace platform {

enum class MouseAction { Move, LeftDown, LeftUp, RightDown, RightUp, Leave };

// Pointer input over (or, while a button is held, grabbed by) a top-level window; screen coordinates.
void DeliverMouse(HWND topLevel, MouseAction action, POINT screen);
// A key went down in a top-level window; it reaches the window that has the focus at once. True when a
// PreTranslateMessage took it, so a hosted widget (the browser) must not get it too.
bool DeliverKey(HWND topLevel, UINT virtualKey);
// The desktop asks the window to close (its close button in a taskbar, a window-manager shortcut).
void DeliverCloseRequest(HWND topLevel);
// The desktop minimised or restored the window itself (its taskbar button, a window-manager key). The
// window hears of it as Windows tells it: WM_SYSCOMMAND with SC_MINIMIZE or SC_RESTORE, only when the
// layer's state differs from the last of the reports that arrived before the loop's next turn. Reports
// on the way to a state the layer asked for are echoes, not news.
void DeliverMinimizedByDesktop(HWND topLevel, bool minimized);

}  // namespace platform
