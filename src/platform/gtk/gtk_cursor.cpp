// Maps IDC_ cursor ids onto named GDK cursors.
#include "platform/gtk/gtk_cursor.h"

#include "platform/ui/win_messages.h"

namespace platform::gtk {
namespace {

const char* CursorName(int cursorId) {
    switch (cursorId) {
        case IDC_HAND:
            return "pointer";
        case IDC_SIZEWE:
            return "ew-resize";
        case IDC_SIZENS:
            return "ns-resize";
        case IDC_SIZENWSE:
            return "nwse-resize";
        case IDC_SIZENESW:
            return "nesw-resize";
        default:
            return "default";
    }
}

}  // namespace

GdkCursor* CursorFor(GdkDisplay* display, int cursorId) {
    GdkCursor* cursor = gdk_cursor_new_from_name(display, CursorName(cursorId));
    return cursor != nullptr ? cursor : gdk_cursor_new_for_display(display, GDK_LEFT_PTR);
}

}  // namespace platform::gtk
