#pragma once
// ICON resources (PNG bytes) as GDK pictures, for window and tray icons.

#include <gtk/gtk.h>

#include "platform/gtk/gtk_handles.h"

namespace platform::gtk {

// A new picture of the ICON resource, or null when there is none or it cannot be decoded.
GObjectPtr<GdkPixbuf> LoadIconPixbuf(int iconResourceId);

}  // namespace platform::gtk
