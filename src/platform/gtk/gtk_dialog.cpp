// Maps the message box onto a GtkMessageDialog run inside the layer's modal loop.
#include "platform/base/text.h"
#include "platform/gtk/gtk_backend.h"
#include "platform/ui/message_loop.h"

namespace platform::gtk {
namespace {

struct DialogRun {
    int response = GTK_RESPONSE_NONE;
    bool closed = false;
};

void OnResponse(GtkDialog*, int response, gpointer run) {
    auto* state = static_cast<DialogRun*>(run);
    state->response = response;
    state->closed = true;
}

// The box takes the keyboard once it is on screen: before that X refuses to focus it, and a window
// manager may not give it the focus by itself.
gboolean FocusWhenMapped(GtkWidget* dialog, GdkEvent*, gpointer) {
    gtk_window_present(GTK_WINDOW(dialog));
    return FALSE;
}

GtkMessageType KindOf(UINT type) {
    if ((type & MB_ICONQUESTION) != 0) {
        return GTK_MESSAGE_QUESTION;
    }
    return (type & MB_ICONINFORMATION) != 0 ? GTK_MESSAGE_INFO : GTK_MESSAGE_OTHER;
}

}  // namespace

int GtkBackend::MessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
    const bool okCancel = (type & 0xF) == MB_OKCANCEL;
    GtkWidget* parent = owner != nullptr ? GtkWindowOf(owner) : nullptr;
    GtkWidget* dialog =
        gtk_message_dialog_new(parent != nullptr ? GTK_WINDOW(parent) : nullptr, GTK_DIALOG_MODAL,
                               KindOf(type), GTK_BUTTONS_NONE, "%s", WideToUtf8(text).c_str());
    g_object_ref_sink(dialog);
    gtk_window_set_title(GTK_WINDOW(dialog), WideToUtf8(caption).c_str());
    gtk_window_set_position(GTK_WINDOW(dialog),
                            parent != nullptr ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);
    gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    // GTK's own translations of the two labels, in the user's language.
    gtk_dialog_add_button(GTK_DIALOG(dialog), g_dgettext("gtk30", "_OK"), GTK_RESPONSE_OK);
    if (okCancel) {
        gtk_dialog_add_button(GTK_DIALOG(dialog), g_dgettext("gtk30", "_Cancel"), GTK_RESPONSE_CANCEL);
    }
    const bool cancelFirst = okCancel && (type & MB_DEFBUTTON2) != 0;
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), cancelFirst ? GTK_RESPONSE_CANCEL : GTK_RESPONSE_OK);
    DialogRun run;
    g_signal_connect(dialog, "response", G_CALLBACK(OnResponse), &run);
    g_signal_connect(dialog, "map-event", G_CALLBACK(FocusWhenMapped), nullptr);
    gtk_widget_show_all(dialog);

    GtkWidget* previous = m_activeDialog;
    m_activeDialog = dialog;
    RunModalLoop([&run] { return run.closed; });
    m_activeDialog = previous;

    g_signal_handlers_disconnect_by_data(dialog, &run);
    gtk_widget_destroy(dialog);
    g_object_unref(dialog);
    // A box with OK alone answers OK however it is closed, as on Windows.
    if (!okCancel) {
        return IDOK;
    }
    return run.response == GTK_RESPONSE_OK ? IDOK : IDCANCEL;
}

}  // namespace platform::gtk
