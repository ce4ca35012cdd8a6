#pragma once
// What GDK leaves to X11 itself: giving a window the keyboard focus without raising it.

#include <gtk/gtk.h>

namespace platform::gtk {

// With a window manager, asks it to activate the window (it keeps transient windows above their
// owners); without one, sets the X input focus directly, since GDK would also raise the window above
// the windows the layer keeps on top of it.
void FocusWithoutRaising(GtkWidget* window);

}  // namespace platform::gtk
