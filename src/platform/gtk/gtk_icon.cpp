// Maps ICON resources onto GdkPixbufs through the program's own PNG decoder.
#include "platform/gtk/gtk_icon.h"

#include <cstdint>

#include "platform/base/resources.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/png.h"

namespace platform::gtk {

GObjectPtr<GdkPixbuf> LoadIconPixbuf(int iconResourceId) {
    ResourceBytes bytes = FindResource("ICON", iconResourceId);
    Bitmap picture;
    // The same decoder as every other picture: a damaged or truncated icon is no icon, and the window
    // keeps the desktop's default (GDK's own loader would show whatever half of it arrived).
    if (bytes.empty() || !DecodePng(bytes.data, bytes.size, picture)) {
        return nullptr;
    }
    GObjectPtr<GdkPixbuf> icon(
        gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, picture.Width(), picture.Height()));
    if (icon == nullptr) {
        return nullptr;
    }
    guchar* pixels = gdk_pixbuf_get_pixels(icon.get());
    const int stride = gdk_pixbuf_get_rowstride(icon.get());
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint32_t* row = picture.Row(y);
        guchar* out = pixels + static_cast<std::ptrdiff_t>(y) * stride;
        for (int x = 0; x < picture.Width(); ++x) {
            // Straight 0xAARRGGBB into straight R, G, B, A bytes; opaque pictures carry alpha 255.
            const std::uint32_t pixel = row[x];
            out[4 * x + 0] = static_cast<guchar>(pixel >> 16);
            out[4 * x + 1] = static_cast<guchar>(pixel >> 8);
            out[4 * x + 2] = static_cast<guchar>(pixel);
            out[4 * x + 3] = picture.HasAlpha() ? static_cast<guchar>(pixel >> 24) : 255;
        }
    }
    return icon;
}

}  // namespace platform::gtk
