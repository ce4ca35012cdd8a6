// Maps the backend's start, windows, work area and event waiting onto GTK and the GLib main loop.
#include "platform/gtk/gtk_backend.h"

#include "platform/gtk/gtk_icon.h"
#include "platform/gtk/gtk_window.h"

namespace platform {

Backend& GetBackend() {
    return gtk::Backend();
}

namespace gtk {
namespace {

constexpr int kProgramIcon = 128;

// A drain of pending events ends here even if the toolkit keeps finding more (animations).
constexpr int kMaxIterationsPerWait = 100;

gboolean MarkFired(gpointer fired) {
    *static_cast<bool*>(fired) = true;
    return G_SOURCE_REMOVE;
}

}  // namespace

GtkBackend& Backend() {
    // Never destroyed: GTK objects cannot be torn down after the process starts exiting.
    static GtkBackend& backend = *new GtkBackend;
    return backend;
}

GtkWidget* GtkWindowOf(HWND hwnd) {
    GtkNativeWindow* native = GtkNativeWindow::Of(hwnd);
    return native != nullptr ? native->Widget() : nullptr;
}

bool GtkBackend::Open(std::string& reason) {
    if (m_open) {
        return true;
    }
    // The layer works in device pixels, places windows itself and restacks them: X11 gives all of
    // that (also through XWayland), Wayland gives none.
    g_setenv("GDK_SCALE", "1", TRUE);
    gdk_set_allowed_backends("x11");
    if (!gtk_init_check(nullptr, nullptr)) {
        const char* display = g_getenv("DISPLAY");
        reason = display != nullptr && *display != '\0'
                     ? std::string("cannot open the X display \"") + display + "\""
                     : std::string("no X display to open (DISPLAY is not set)");
        return false;
    }
    // Every window, message boxes included, shows the program's icon unless it sets its own.
    if (const GObjectPtr<GdkPixbuf> icon = LoadIconPixbuf(kProgramIcon)) {
        gtk_window_set_default_icon(icon.get());
    }
    m_open = true;
    return true;
}

std::unique_ptr<NativeWindow> GtkBackend::CreateWindow(const NativeWindowParams& params) {
    return std::make_unique<GtkNativeWindow>(params);
}

RECT GtkBackend::WorkArea() {
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = display != nullptr ? gdk_display_get_primary_monitor(display) : nullptr;
    if (monitor == nullptr && display != nullptr) {
        monitor = gdk_display_get_monitor(display, 0);
    }
    if (monitor == nullptr) {
        return RECT{0, 0, 0, 0};
    }
    GdkRectangle area{};
    gdk_monitor_get_workarea(monitor, &area);
    return RECT{area.x, area.y, area.x + area.width, area.y + area.height};
}

bool GtkBackend::PointerPosition(POINT& screen) {
    GdkDisplay* display = m_open ? gdk_display_get_default() : nullptr;
    GdkSeat* seat = display != nullptr ? gdk_display_get_default_seat(display) : nullptr;
    GdkDevice* pointer = seat != nullptr ? gdk_seat_get_pointer(seat) : nullptr;
    if (pointer == nullptr) {
        return false;
    }
    gint x = 0;
    gint y = 0;
    gdk_device_get_position(pointer, nullptr, &x, &y);
    screen = POINT{x, y};
    return true;
}

void GtkBackend::WaitForEvents(int timeoutMs) {
    bool fired = timeoutMs == 0;
    guint timer = timeoutMs > 0 ? g_timeout_add(static_cast<guint>(timeoutMs), MarkFired, &fired) : 0;
    // Blocks until something was dispatched or Wake was called (also before this call: the wake-up
    // stays pending), then handles whatever else is ready.
    g_main_context_iteration(nullptr, timeoutMs == 0 ? FALSE : TRUE);
    for (int i = 0; i < kMaxIterationsPerWait && g_main_context_iteration(nullptr, FALSE); ++i) {
    }
    if (!fired && timer != 0) {
        g_source_remove(timer);
    }
}

void GtkBackend::Wake() {
    g_main_context_wakeup(nullptr);
}

void GtkBackend::KeepTriggerEvent(const GdkEvent* event) {
    if (event == nullptr) {
        return;
    }
    if (m_trigger != nullptr) {
        gdk_event_free(m_trigger);
    }
    m_trigger = gdk_event_copy(event);
}

}  // namespace gtk
}  // namespace platform
