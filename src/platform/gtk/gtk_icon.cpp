// Maps ICON resources onto GdkPixbufs through GdkPixbufLoader.
#include "platform/gtk/gtk_icon.h"

#include "platform/resources.h"

namespace platform::gtk {

GdkPixbuf* LoadIconPixbuf(int iconResourceId) {
    ResourceBytes bytes = FindResource("ICON", iconResourceId);
    if (bytes.empty()) {
        return nullptr;
    }
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    GdkPixbuf* picture = nullptr;
    // A damaged icon is no icon: the window keeps the desktop's default.
    if (gdk_pixbuf_loader_write(loader, bytes.data, bytes.size, nullptr) &&
        gdk_pixbuf_loader_close(loader, nullptr)) {
        picture = gdk_pixbuf_loader_get_pixbuf(loader);
        if (picture != nullptr) {
            g_object_ref(picture);
        }
    } else {
        gdk_pixbuf_loader_close(loader, nullptr);
    }
    g_object_unref(loader);
    return picture;
}

}  // namespace platform::gtk
