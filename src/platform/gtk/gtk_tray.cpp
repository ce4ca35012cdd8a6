// Maps the notification-area icon onto GtkStatusIcon (left click: activate, right click: popup-menu).
#include "platform/base/text.h"
#include "platform/gtk/gtk_backend.h"
#include "platform/gtk/gtk_icon.h"
#include "platform/ui/shell_ui.h"

// GtkStatusIcon is deprecated in GTK 3 but is the one tray protocol that reports a left click and
// works with the desktops' system trays (XEmbed); its replacement needs a DBus host and has no click.
G_GNUC_BEGIN_IGNORE_DEPRECATIONS

namespace platform::gtk {
namespace {

constexpr int kTrayIconResource = 128;

struct TrayTarget {
    HWND hwnd;
    UINT id;
};

void OnActivate(GtkStatusIcon*, gpointer data) {
    auto* target = static_cast<TrayTarget*>(data);
    DeliverTrayClick(target->hwnd, target->id, WM_LBUTTONDOWN);
}

void OnPopupMenu(GtkStatusIcon*, guint, guint, gpointer data) {
    auto* target = static_cast<TrayTarget*>(data);
    // The menu the window opens in answer needs this click to take the pointer.
    GdkEvent* current = gtk_get_current_event();
    Backend().KeepTriggerEvent(current);
    if (current != nullptr) {
        gdk_event_free(current);
    }
    DeliverTrayClick(target->hwnd, target->id, WM_RBUTTONDOWN);
}

GtkStatusIcon* NewStatusIcon(HWND hwnd, UINT id) {
    const GObjectPtr<GdkPixbuf> picture = LoadIconPixbuf(kTrayIconResource);
    GtkStatusIcon* icon = picture != nullptr ? gtk_status_icon_new_from_pixbuf(picture.get())
                                             : gtk_status_icon_new_from_icon_name("application-x-executable");
    auto* target = new TrayTarget{hwnd, id};
    g_object_set_data_full(G_OBJECT(icon), "tray-target", target,
                           [](gpointer data) { delete static_cast<TrayTarget*>(data); });
    g_signal_connect(icon, "activate", G_CALLBACK(OnActivate), target);
    g_signal_connect(icon, "popup-menu", G_CALLBACK(OnPopupMenu), target);
    return icon;
}

}  // namespace

bool GtkBackend::SetTrayIcon(HWND hwnd, UINT id, const std::wstring& tip, bool present) {
    const auto key = std::make_pair(hwnd, id);
    auto found = m_trayIcons.find(key);
    if (!present) {
        if (found != m_trayIcons.end()) {
            gtk_status_icon_set_visible(found->second, FALSE);
            g_object_unref(found->second);
            m_trayIcons.erase(found);
        }
        return true;
    }
    GtkStatusIcon* icon = found != m_trayIcons.end() ? found->second : NewStatusIcon(hwnd, id);
    m_trayIcons[key] = icon;
    gtk_status_icon_set_tooltip_text(icon, WideToUtf8(tip).c_str());
    gtk_status_icon_set_title(icon, WideToUtf8(tip).c_str());
    gtk_status_icon_set_visible(icon, TRUE);
    return true;
}

void GtkBackend::RemoveTrayIcons() {
    for (auto& [key, icon] : m_trayIcons) {
        gtk_status_icon_set_visible(icon, FALSE);
        g_object_unref(icon);
    }
    m_trayIcons.clear();
}

GtkStatusIcon* GtkBackend::TrayIcon(HWND hwnd, UINT id) const {
    auto found = m_trayIcons.find(std::make_pair(hwnd, id));
    return found != m_trayIcons.end() ? found->second : nullptr;
}

}  // namespace platform::gtk

G_GNUC_END_IGNORE_DEPRECATIONS
