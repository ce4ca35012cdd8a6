// Maps GDK button, motion, crossing, key and delete events onto the layer's input calls.
#include "platform/gtk/gtk_input.h"

#include <cmath>

#include "platform/gtk/gtk_backend.h"
#include "platform/ui/input.h"

namespace platform::gtk {
namespace {

constexpr guint kLeftButton = 1;
constexpr guint kRightButton = 3;
constexpr GdkModifierType kButtonsHeld = static_cast<GdkModifierType>(GDK_BUTTON1_MASK | GDK_BUTTON3_MASK);

HWND HwndOf(gpointer data) {
    return static_cast<HWND>(data);
}

POINT ScreenPoint(double xRoot, double yRoot) {
    return POINT{static_cast<LONG>(std::floor(xRoot)), static_cast<LONG>(std::floor(yRoot))};
}

gboolean OnButton(GtkWidget*, GdkEventButton* event, gpointer data) {
    // The layer tells double-clicks from two clicks itself, as Windows does for CS_DBLCLKS classes.
    if (event->type != GDK_BUTTON_PRESS && event->type != GDK_BUTTON_RELEASE) {
        return TRUE;
    }
    const bool down = event->type == GDK_BUTTON_PRESS;
    if (down) {
        // A popup menu opened in answer to this press needs it to take the pointer.
        Backend().KeepTriggerEvent(reinterpret_cast<GdkEvent*>(event));
    }
    MouseAction action;
    if (event->button == kLeftButton) {
        action = down ? MouseAction::LeftDown : MouseAction::LeftUp;
    } else if (event->button == kRightButton) {
        action = down ? MouseAction::RightDown : MouseAction::RightUp;
    } else {
        return FALSE;
    }
    DeliverMouse(HwndOf(data), action, ScreenPoint(event->x_root, event->y_root));
    return TRUE;
}

gboolean OnMotion(GtkWidget*, GdkEventMotion* event, gpointer data) {
    DeliverMouse(HwndOf(data), MouseAction::Move, ScreenPoint(event->x_root, event->y_root));
    return TRUE;
}

gboolean OnEnter(GtkWidget*, GdkEventCrossing* event, gpointer data) {
    DeliverMouse(HwndOf(data), MouseAction::Move, ScreenPoint(event->x_root, event->y_root));
    return FALSE;
}

gboolean OnLeave(GtkWidget*, GdkEventCrossing* event, gpointer data) {
    // While a button is held the window keeps the pointer (X's implicit grab); the leave that matters
    // comes when the button is let go outside the window.
    if ((event->state & kButtonsHeld) == 0) {
        DeliverMouse(HwndOf(data), MouseAction::Leave, ScreenPoint(event->x_root, event->y_root));
    }
    return FALSE;
}

gboolean OnKey(GtkWidget*, GdkEventKey* event, gpointer data) {
    // A key the layer took stops here; any other also reaches a hosted widget with the focus.
    UINT key = VirtualKeyFor(event->keyval);
    return key != 0 && DeliverKey(HwndOf(data), key) ? TRUE : FALSE;
}

gboolean OnWindowState(GtkWidget*, GdkEventWindowState* event, gpointer data) {
    if ((event->changed_mask & GDK_WINDOW_STATE_ICONIFIED) != 0) {
        DeliverMinimizedByDesktop(HwndOf(data), (event->new_window_state & GDK_WINDOW_STATE_ICONIFIED) != 0);
    }
    return FALSE;
}

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
    DeliverCloseRequest(HwndOf(data));
    return TRUE;  // the layer decides whether the window goes
}

}  // namespace

void ConnectInput(GtkWidget* window, HWND hwnd) {
    gtk_widget_add_events(window, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK |
                                      GDK_ENTER_NOTIFY_MASK | GDK_LEAVE_NOTIFY_MASK | GDK_KEY_PRESS_MASK);
    g_signal_connect(window, "button-press-event", G_CALLBACK(OnButton), hwnd);
    g_signal_connect(window, "button-release-event", G_CALLBACK(OnButton), hwnd);
    g_signal_connect(window, "motion-notify-event", G_CALLBACK(OnMotion), hwnd);
    g_signal_connect(window, "enter-notify-event", G_CALLBACK(OnEnter), hwnd);
    g_signal_connect(window, "leave-notify-event", G_CALLBACK(OnLeave), hwnd);
    g_signal_connect(window, "key-press-event", G_CALLBACK(OnKey), hwnd);
    g_signal_connect(window, "delete-event", G_CALLBACK(OnDelete), hwnd);
    g_signal_connect(window, "window-state-event", G_CALLBACK(OnWindowState), hwnd);
}

UINT VirtualKeyFor(guint keyval) {
    if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) {
        return 'A' + (keyval - GDK_KEY_a);
    }
    if ((keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) || (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9)) {
        return keyval;  // the same codes in both
    }
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F12) {
        return VK_F1 + (keyval - GDK_KEY_F1);
    }
    switch (keyval) {
        case GDK_KEY_Return:
        case GDK_KEY_KP_Enter:
            return VK_RETURN;
        case GDK_KEY_Escape:
            return VK_ESCAPE;
        case GDK_KEY_Tab:
            return VK_TAB;
        case GDK_KEY_BackSpace:
            return VK_BACK;
        case GDK_KEY_space:
            return VK_SPACE;
        case GDK_KEY_Left:
            return VK_LEFT;
        case GDK_KEY_Up:
            return VK_UP;
        case GDK_KEY_Right:
            return VK_RIGHT;
        case GDK_KEY_Down:
            return VK_DOWN;
        default:
            return 0;
    }
}

}  // namespace platform::gtk
