// Traps X protocol errors around a few harness requests.
#include "XErrorTrap.h"

#include <X11/Xlib.h>

namespace {

// Xlib's error handler is one per process, so the trap's state is too.
XErrorHandler g_previous = nullptr;
bool g_failed = false;

int RecordError(Display*, XErrorEvent*) {
    g_failed = true;
    return 0;
}

}  // namespace

XErrorTrap::XErrorTrap(Display* display) : m_display(display) {
    // Errors of requests sent before the trap belong to whoever sent them.
    XSync(m_display, False);
    g_failed = false;
    g_previous = XSetErrorHandler(RecordError);
}

XErrorTrap::~XErrorTrap() {
    XSync(m_display, False);
    XSetErrorHandler(g_previous);
    g_previous = nullptr;
}

bool XErrorTrap::Failed() {
    XSync(m_display, False);
    return g_failed;
}
