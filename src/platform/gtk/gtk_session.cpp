// Maps the program's identity, requests from outside to end and the end of its time on the desktop onto
// GLib and GDK.
#include <glib-unix.h>
#include <signal.h>

#include "platform/gtk/gtk_backend.h"

namespace platform::gtk {
namespace {

constexpr int kTerminationSignals[] = {SIGTERM, SIGINT, SIGHUP};

gboolean OnTerminationSignal(gpointer backend) {
    static_cast<GtkBackend*>(backend)->HandleTerminationRequest();
    return G_SOURCE_CONTINUE;
}

}  // namespace

void GtkBackend::SetProgramIdentity(const std::string& identity) {
    // GDK writes both into a window's WM_CLASS when it makes the X window; the desktop's task list
    // groups by it and matches shortcuts by StartupWMClass.
    g_set_prgname(identity.c_str());
    gdk_set_program_class(identity.c_str());
}

void GtkBackend::WatchTermination(std::function<void()> handler) {
    m_terminationHandler = std::move(handler);
    if (m_terminationHandler && m_signalSources.empty()) {
        for (int signal : kTerminationSignals) {
            m_signalSources.push_back(g_unix_signal_add(signal, OnTerminationSignal, this));
        }
    } else if (!m_terminationHandler) {
        // Removing the last watch of a signal gives it its default disposition again.
        for (guint source : m_signalSources) {
            g_source_remove(source);
        }
        m_signalSources.clear();
    }
}

void GtkBackend::HandleTerminationRequest() {
    // A copy: the handler may set another one (or none) while it runs.
    const std::function<void()> handler = m_terminationHandler;
    if (!handler) {
        return;
    }
    try {
        handler();
    } catch (...) {
        // Nothing may escape into the main loop; the request is lost, the program runs on.
    }
}

void GtkBackend::Close() {
    RemoveTrayIcons();
    if (GdkDisplay* display = m_open ? gdk_display_get_default() : nullptr) {
        gdk_display_sync(display);
    }
}

}  // namespace platform::gtk
