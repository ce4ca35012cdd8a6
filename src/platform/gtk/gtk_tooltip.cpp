// Maps the layer's tooltip onto a small popup window styled as a GTK tooltip.
#include "platform/base/text.h"
#include "platform/gtk/gtk_backend.h"

namespace platform::gtk {

void GtkBackend::ShowTooltip(HWND, const std::wstring& text, POINT screen) {
    if (m_tooltip == nullptr) {
        m_tooltip = gtk_window_new(GTK_WINDOW_POPUP);
        gtk_window_set_type_hint(GTK_WINDOW(m_tooltip), GDK_WINDOW_TYPE_HINT_TOOLTIP);
        gtk_style_context_add_class(gtk_widget_get_style_context(m_tooltip), GTK_STYLE_CLASS_TOOLTIP);
        m_tooltipLabel = gtk_label_new(nullptr);
        gtk_widget_set_margin_start(m_tooltipLabel, 6);
        gtk_widget_set_margin_end(m_tooltipLabel, 6);
        gtk_widget_set_margin_top(m_tooltipLabel, 4);
        gtk_widget_set_margin_bottom(m_tooltipLabel, 4);
        gtk_container_add(GTK_CONTAINER(m_tooltip), m_tooltipLabel);
    }
    gtk_label_set_text(GTK_LABEL(m_tooltipLabel), WideToUtf8(text).c_str());
    gtk_window_resize(GTK_WINDOW(m_tooltip), 1, 1);
    // The layer already puts the point below the pointer.
    gtk_window_move(GTK_WINDOW(m_tooltip), screen.x, screen.y);
    gtk_widget_show_all(m_tooltip);
}

void GtkBackend::HideTooltip() {
    if (m_tooltip != nullptr) {
        gtk_widget_hide(m_tooltip);
    }
}

}  // namespace platform::gtk
