// Maps a top-level window of the layer onto a GtkWindow with a GtkFixed for hosted widgets.
#include "platform/gtk/gtk_window.h"

#include <algorithm>

#include "platform/base/text.h"
#include "platform/gfx/bitmap.h"
#include "platform/gtk/gtk_backend.h"
#include "platform/gtk/gtk_cursor.h"
#include "platform/gtk/gtk_handles.h"
#include "platform/gtk/gtk_icon.h"
#include "platform/gtk/gtk_input.h"
#include "platform/gtk/gtk_x11.h"

namespace platform::gtk {
namespace {

// Windows puts a top-level window in the taskbar when it asks to be there, or when it has no owner and
// is no tool window.
bool InTaskbar(const NativeWindowParams& params) {
    return (params.exStyle & WS_EX_APPWINDOW) != 0 ||
           (params.owner == nullptr && (params.exStyle & WS_EX_TOOLWINDOW) == 0);
}

GtkWidget* AsGtkWidget(NativeWidget* widget) {
    return GTK_WIDGET(widget);
}

// The live native windows by their top-level window's handle, in the order they were made: the backend
// finds its own windows without reaching into the layer's state.
std::vector<GtkNativeWindow*>& LiveWindows() {
    static std::vector<GtkNativeWindow*> windows;
    return windows;
}

}  // namespace

GtkNativeWindow::GtkNativeWindow(const NativeWindowParams& params)
    : m_hwnd(params.hwnd),
      m_layered((params.exStyle & WS_EX_LAYERED) != 0),
      m_window(gtk_window_new(GTK_WINDOW_TOPLEVEL)),
      m_fixed(gtk_fixed_new()) {
    GtkWindow* window = GTK_WINDOW(m_window);
    gtk_window_set_decorated(window, FALSE);
    gtk_window_set_type_hint(window, (params.exStyle & WS_EX_TOOLWINDOW) != 0 ? GDK_WINDOW_TYPE_HINT_UTILITY
                                                                              : GDK_WINDOW_TYPE_HINT_NORMAL);
    gtk_window_set_skip_taskbar_hint(window, InTaskbar(params) ? FALSE : TRUE);
    gtk_window_set_skip_pager_hint(window, InTaskbar(params) ? FALSE : TRUE);
    if ((params.exStyle & WS_EX_TOPMOST) != 0) {
        gtk_window_set_keep_above(window, TRUE);
    }
    if (auto* owner = static_cast<GtkNativeWindow*>(params.owner)) {
        gtk_window_set_transient_for(window, GTK_WINDOW(owner->m_window));
    }
    ChooseVisual();
    gtk_widget_set_app_paintable(m_window, TRUE);
    gtk_container_add(GTK_CONTAINER(m_window), m_fixed);
    gtk_widget_show(m_fixed);
    g_signal_connect(m_window, "draw", G_CALLBACK(OnDraw), this);
    g_signal_connect(m_window, "map-event", G_CALLBACK(OnMapped), this);
    ConnectInput(m_window, m_hwnd);
    gtk_widget_realize(m_window);
    LiveWindows().push_back(this);
}

GtkNativeWindow::~GtkNativeWindow() {
    auto& live = LiveWindows();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    // Hosted widgets belong to whoever made them: take them out before the window goes.
    const GListPtr children(gtk_container_get_children(GTK_CONTAINER(m_fixed)));
    for (GList* child = children.get(); child != nullptr; child = child->next) {
        gtk_container_remove(GTK_CONTAINER(m_fixed), GTK_WIDGET(child->data));
    }
    gtk_widget_destroy(m_window);
}

GtkNativeWindow* GtkNativeWindow::Of(HWND hwnd) {
    for (GtkNativeWindow* window : LiveWindows()) {
        if (window->m_hwnd == hwnd) {
            return window;
        }
    }
    return nullptr;
}

void GtkNativeWindow::SetGeometry(const RECT& screen) {
    m_geometry = screen;
    const int width = std::max<int>(1, screen.right - screen.left);
    const int height = std::max<int>(1, screen.bottom - screen.top);
    gtk_window_move(GTK_WINDOW(m_window), screen.left, screen.top);
    gtk_window_resize(GTK_WINDOW(m_window), width, height);
}

void GtkNativeWindow::SetVisible(bool visible) {
    if (visible) {
        gtk_widget_show(m_window);
        // A window manager may place a window where it likes when it maps it; the layer decides.
        gtk_window_move(GTK_WINDOW(m_window), m_geometry.left, m_geometry.top);
    } else {
        gtk_widget_hide(m_window);
    }
}

void GtkNativeWindow::SetMinimized(bool minimized) {
    if (minimized) {
        gtk_window_iconify(GTK_WINDOW(m_window));
    } else {
        gtk_window_deiconify(GTK_WINDOW(m_window));
    }
}

void GtkNativeWindow::ChooseVisual() {
    // Per-pixel alpha needs a visual with an alpha channel; a desktop without a compositor shows the
    // transparent parts black.
    GdkScreen* screen = gtk_widget_get_screen(m_window);
    GdkVisual* rgba = m_layered ? gdk_screen_get_rgba_visual(screen) : nullptr;
    gtk_widget_set_visual(m_window, rgba != nullptr ? rgba : gdk_screen_get_system_visual(screen));
}

void GtkNativeWindow::SetLayered(bool layered) {
    if (layered == m_layered) {
        return;
    }
    m_layered = layered;
    // X fixes a window's visual when it is made, so the native window is made again with the other
    // one; the GtkWindow and its settings stay. Hidden meanwhile, so nothing shows half-made.
    const bool mapped = gtk_widget_get_mapped(m_window) != FALSE;
    if (mapped) {
        gtk_widget_hide(m_window);
    }
    gtk_widget_unrealize(m_window);
    ChooseVisual();
    gtk_widget_realize(m_window);
    if (mapped) {
        SetVisible(true);  // mapping puts it back into the layer's stacking
    }
}

void GtkNativeWindow::SetTitle(const std::wstring& title) {
    gtk_window_set_title(GTK_WINDOW(m_window), WideToUtf8(title).c_str());
}

void GtkNativeWindow::SetIcon(int iconResourceId) {
    if (const GObjectPtr<GdkPixbuf> icon = LoadIconPixbuf(iconResourceId)) {
        gtk_window_set_icon(GTK_WINDOW(m_window), icon.get());
    }
}

void GtkNativeWindow::Present(const Bitmap& picture) {
    // The layer paints between the toolkit's turns, so the picture is complete whenever GTK draws it;
    // a reference keeps it alive if the layer replaces it.
    cairo_surface_t* surface = picture.Surface();
    if (surface != m_picture.get()) {
        m_picture.reset(surface != nullptr ? cairo_surface_reference(surface) : nullptr);
    }
    gtk_widget_queue_draw(m_window);
}

gboolean GtkNativeWindow::OnDraw(GtkWidget*, cairo_t* cr, gpointer data) {
    auto* self = static_cast<GtkNativeWindow*>(data);
    cairo_save(cr);
    // Replace, not blend: the picture's alpha is the window's alpha.
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    if (self->m_picture != nullptr) {
        cairo_set_source_surface(cr, self->m_picture.get(), 0, 0);
    } else {
        cairo_set_source_rgba(cr, 0, 0, 0, 0);
    }
    cairo_paint(cr);
    cairo_restore(cr);
    return FALSE;  // the hosted widgets are drawn over it
}

void GtkNativeWindow::PlaceAbove(NativeWindow* below) {
    auto* native = static_cast<GtkNativeWindow*>(below);
    m_below = native != nullptr ? native->m_hwnd : nullptr;
    m_stacked = true;
    ApplyStacking();
}

void GtkNativeWindow::ApplyStacking() {
    GdkWindow* own = gtk_widget_get_window(m_window);
    if (!m_stacked || own == nullptr || !gtk_widget_get_mapped(m_window)) {
        return;
    }
    GtkWidget* below = m_below != nullptr ? GtkWindowOf(m_below) : nullptr;
    GdkWindow* sibling = below != nullptr ? gtk_widget_get_window(below) : nullptr;
    if (m_below == nullptr) {
        gdk_window_lower(own);
    } else if (sibling != nullptr && gtk_widget_get_mapped(below)) {
        // Without a window manager X stacks only what it is told: transient_for alone does not keep
        // an owned window above its owner.
        gdk_window_restack(own, sibling, TRUE);
    }
}

gboolean GtkNativeWindow::OnMapped(GtkWidget*, GdkEvent*, gpointer data) {
    // X maps a window on top of everything; put it, and the windows the layer keeps above it, back
    // where the layer has them.
    auto* self = static_cast<GtkNativeWindow*>(data);
    self->ApplyStacking();
    for (GtkNativeWindow* other : LiveWindows()) {
        if (other != self && other->m_below == self->m_hwnd) {
            other->ApplyStacking();
        }
    }
    return FALSE;
}

void GtkNativeWindow::Activate() {
    FocusWithoutRaising(m_window);
}

void GtkNativeWindow::SetCursor(int cursorId) {
    if (GdkWindow* own = gtk_widget_get_window(m_window)) {
        const GObjectPtr<GdkCursor> cursor(CursorFor(gtk_widget_get_display(m_window), cursorId));
        gdk_window_set_cursor(own, cursor.get());
    }
}

void GtkNativeWindow::PlaceWidget(NativeWidget* widget, const RECT& rect, bool visible) {
    GtkWidget* child = AsGtkWidget(widget);
    if (gtk_widget_get_parent(child) != m_fixed) {
        gtk_fixed_put(GTK_FIXED(m_fixed), child, rect.left, rect.top);
    } else {
        gtk_fixed_move(GTK_FIXED(m_fixed), child, rect.left, rect.top);
    }
    gtk_widget_set_size_request(child, std::max<int>(0, rect.right - rect.left),
                                std::max<int>(0, rect.bottom - rect.top));
    gtk_widget_set_visible(child, visible ? TRUE : FALSE);
}

void GtkNativeWindow::RemoveWidget(NativeWidget* widget) {
    GtkWidget* child = AsGtkWidget(widget);
    if (gtk_widget_get_parent(child) == m_fixed) {
        gtk_container_remove(GTK_CONTAINER(m_fixed), child);
    }
}

}  // namespace platform::gtk
