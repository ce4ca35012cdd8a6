#pragma once
// A top-level window of the layer as a GtkWindow: undecorated, placed and sized by the layer, painted
// from the picture the layer composed, hosting native widgets in a GtkFixed above that picture. A hosted
// widget is borrowed: whoever made it holds a reference of its own (g_object_ref_sink).

#include <gtk/gtk.h>

#include "platform/gfx/cairo_handles.h"
#include "platform/ui/native.h"

namespace platform::gtk {

class GtkNativeWindow final : public NativeWindow {
public:
    explicit GtkNativeWindow(const NativeWindowParams& params);
    ~GtkNativeWindow() override;
    GtkNativeWindow(const GtkNativeWindow&) = delete;
    GtkNativeWindow& operator=(const GtkNativeWindow&) = delete;

    void SetGeometry(const RECT& screen) override;
    void SetVisible(bool visible) override;
    void SetMinimized(bool minimized) override;
    void SetLayered(bool layered) override;
    void SetTitle(const std::wstring& title) override;
    void SetIcon(int iconResourceId) override;
    void Present(const Bitmap& picture) override;
    void PlaceAbove(NativeWindow* below) override;
    void Activate() override;
    void SetCursor(int cursorId) override;
    void PlaceWidget(NativeWidget* widget, const RECT& rect, bool visible) override;
    void RemoveWidget(NativeWidget* widget) override;

    GtkWidget* Widget() const { return m_window; }
    HWND Hwnd() const { return m_hwnd; }
    // The live native window of the top-level window `hwnd`; null when it has none.
    static GtkNativeWindow* Of(HWND hwnd);

private:
    static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
    static gboolean OnMapped(GtkWidget* widget, GdkEvent* event, gpointer self);
    // Puts the native window where the layer last placed it: above `m_below`, or at the bottom.
    void ApplyStacking();
    // An RGBA visual for a layered window where the screen has one, the screen's own for any other.
    void ChooseVisual();

    HWND m_hwnd;
    bool m_layered;
    GtkWidget* m_window;
    GtkWidget* m_fixed;
    SurfacePtr m_picture;  // a reference of its own to the picture last presented
    RECT m_geometry{};
    HWND m_below = nullptr;  // the window this one was last placed above (checked when used)
    bool m_stacked = false;  // PlaceAbove has been called
};

}  // namespace platform::gtk
