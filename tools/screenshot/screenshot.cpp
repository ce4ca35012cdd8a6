// Saves what the X display shows as a PNG (not installed): build/tools/screenshot/screenshot FILE.
// The run without a desktop uses it to show what the client looked like.
#include <gtk/gtk.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: screenshot FILE.png\n");
        return 2;
    }
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fprintf(stderr, "screenshot: no X display to read\n");
        return 1;
    }
    GdkWindow* root = gdk_get_default_root_window();
    GdkPixbuf* picture =
        gdk_pixbuf_get_from_window(root, 0, 0, gdk_window_get_width(root), gdk_window_get_height(root));
    GError* error = nullptr;
    if (picture == nullptr || !gdk_pixbuf_save(picture, argv[1], "png", &error, nullptr)) {
        std::fprintf(stderr, "screenshot: %s\n",
                     error != nullptr ? error->message : "the screen could not be read");
        return 1;
    }
    g_object_unref(picture);
    return 0;
}
