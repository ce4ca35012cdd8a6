#pragma once
// GDK events of a top-level window into the layer's input (platform/input.h), which routes them as
// Windows does.

#include <gtk/gtk.h>

#include "platform/ui/win_messages.h"

namespace platform::gtk {

// Sends the window's pointer, key and close events to the layer as input of `hwnd`.
void ConnectInput(GtkWidget* window, HWND hwnd);

// The virtual-key code of a GDK key value; 0 for keys the layer has no code for.
UINT VirtualKeyFor(guint keyval);

}  // namespace platform::gtk
