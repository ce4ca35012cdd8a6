// Maps the modal popup menu onto a GtkMenu run inside the layer's modal loop.
#include "platform/base/text.h"
#include "platform/gtk/gtk_backend.h"
#include "platform/ui/message_loop.h"

namespace platform::gtk {
namespace {

struct MenuRun {
    UINT chosen = 0;
    bool closed = false;
    guint pendingClose = 0;  // the idle that will mark the run closed
};

void OnItemActivated(GtkMenuItem* item, gpointer run) {
    static_cast<MenuRun*>(run)->chosen = GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(item), "menu-id"));
}

gboolean MarkClosed(gpointer data) {
    auto* run = static_cast<MenuRun*>(data);
    run->closed = true;
    run->pendingClose = 0;
    return G_SOURCE_REMOVE;
}

void OnDeactivated(GtkMenuShell*, gpointer data) {
    // GTK closes the menu before it activates the chosen item: look once the item has had its turn.
    auto* run = static_cast<MenuRun*>(data);
    if (run->pendingClose == 0) {
        run->pendingClose = g_idle_add(MarkClosed, run);
    }
}

GtkWidget* BuildMenu(const std::vector<MenuItem>& items, MenuRun& run) {
    GtkWidget* menu = gtk_menu_new();
    g_object_ref_sink(menu);
    for (const MenuItem& item : items) {
        GtkWidget* entry = item.id == 0 ? gtk_separator_menu_item_new()
                                        : gtk_menu_item_new_with_label(WideToUtf8(item.text).c_str());
        if (item.id != 0) {
            g_object_set_data(G_OBJECT(entry), "menu-id", GUINT_TO_POINTER(item.id));
            g_signal_connect(entry, "activate", G_CALLBACK(OnItemActivated), &run);
        }
        gtk_menu_shell_append(GTK_MENU_SHELL(menu), entry);
    }
    gtk_widget_show_all(menu);
    g_signal_connect(menu, "deactivate", G_CALLBACK(OnDeactivated), &run);
    return menu;
}

}  // namespace

UINT GtkBackend::TrackPopupMenu(const std::vector<MenuItem>& items, POINT screen, HWND) {
    if (items.empty() || m_activeMenu != nullptr) {
        return 0;
    }
    MenuRun run;
    GtkWidget* menu = BuildMenu(items, run);
    GdkRectangle anchor{screen.x, screen.y, 1, 1};
    gtk_menu_popup_at_rect(GTK_MENU(menu), gdk_get_default_root_window(), &anchor, GDK_GRAVITY_NORTH_WEST,
                           GDK_GRAVITY_NORTH_WEST, m_trigger);
    // A menu that could not take the pointer never opens, and would never close either.
    if (gtk_widget_get_visible(menu)) {
        m_activeMenu = menu;
        RunModalLoop([&run] { return run.closed; });
        m_activeMenu = nullptr;
    } else {
        run.closed = true;
    }
    g_signal_handlers_disconnect_by_data(menu, &run);
    gtk_widget_destroy(menu);
    g_object_unref(menu);
    // A quit request can end the loop before the menu closed; nothing may call back into `run` later.
    if (run.pendingClose != 0) {
        g_source_remove(run.pendingClose);
    }
    return run.chosen;
}

}  // namespace platform::gtk
