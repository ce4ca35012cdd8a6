#pragma once
// ICON resources (PNG bytes) as GDK pictures, for window and tray icons.

#include <gtk/gtk.h>

namespace platform::gtk {

// A new picture of the ICON resource, or null when there is none or it cannot be decoded.
GdkPixbuf* LoadIconPixbuf(int iconResourceId);

}  // namespace platform::gtk
