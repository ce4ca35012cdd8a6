// Maps window activation onto the window manager's protocol or the X input focus.
#include "platform/gtk/gtk_x11.h"

#include <X11/Xlib.h>
#include <gdk/gdkx.h>

namespace platform::gtk {

void FocusWithoutRaising(GtkWidget* window) {
    GdkWindow* own = gtk_widget_get_window(window);
    if (own == nullptr || !gtk_widget_get_mapped(window)) {
        return;
    }
    GdkScreen* screen = gtk_widget_get_screen(window);
    if (!GDK_IS_X11_SCREEN(screen)) {
        gtk_window_present(GTK_WINDOW(window));
        return;
    }
    if (gdk_x11_screen_supports_net_wm_hint(screen, gdk_atom_intern_static_string("_NET_ACTIVE_WINDOW"))) {
        gdk_window_focus(own, gtk_get_current_event_time());
        return;
    }
    GdkDisplay* display = gtk_widget_get_display(window);
    gdk_x11_display_error_trap_push(display);
    XSetInputFocus(GDK_DISPLAY_XDISPLAY(display), GDK_WINDOW_XID(own), RevertToParent, CurrentTime);
    gdk_x11_display_error_trap_pop_ignored(display);
}

}  // namespace platform::gtk
