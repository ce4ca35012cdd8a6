#pragma once
// The cursors of the layer's cursor ids, by their freedesktop names.

#include <gtk/gtk.h>

namespace platform::gtk {

// A new cursor for an IDC_ id (the arrow for ids without a shape of their own); null when the display
// has no cursor theme at all.
GdkCursor* CursorFor(GdkDisplay* display, int cursorId);

}  // namespace platform::gtk
