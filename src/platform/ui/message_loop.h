#pragma once
// The UI thread's loop: it hands out posted messages (each first through the PreTranslateMessage of its
// window and that window's parents), then paints invalid windows, then fires due timers and the layer's
// delayed tasks, and sleeps in the backend when nothing is left.

#include <functional>

#include "platform/ui/win_messages.h"

namespace platform {

// Hands `msg` to its window the way the loop hands out a posted message, at once: through the
// PreTranslateMessage of the window and its parents, then, unless one of them took it, to the window.
// True when a PreTranslateMessage took it.
bool DispatchNow(MSG& msg);

// One step; false when nothing was waiting.
bool PumpOne();
// Every step that is due now, until none is left (tests, with their own clock).
void PumpUntilIdle();
// Until WM_QUIT; returns its exit code.
int RunMessageLoop();
// A nested loop (a modal dialog, a popup menu) until `done` is true. A quit request ends it early and
// stays pending for the outer loop.
void RunModalLoop(const std::function<bool()>& done);

// True while a nested loop runs. Whoever opened it returns into its own objects afterwards, so a handler
// that would destroy windows or end the program must not run then.
bool InNestedLoop();
// Hands `msg` out again once no nested loop runs, before anything posted meanwhile.
void DeferToOuterLoop(const MSG& msg);

}  // namespace platform
