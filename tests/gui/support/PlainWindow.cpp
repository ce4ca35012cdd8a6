// Bare Xlib windows for the harness's own tests.
#include "PlainWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <stdexcept>

#include "TestDisplay.h"

PlainWindow::PlainWindow(WindowRect area, uint32_t colour, Kind kind, unsigned long parent) {
    Display* display = TestDisplay::Get().Connection();
    int screen = DefaultScreen(display);
    Window parentWindow = parent != 0 ? parent : RootWindow(display, screen);
    auto width = static_cast<unsigned int>(area.width);
    auto height = static_cast<unsigned int>(area.height);
    if (kind == Kind::kOpaque) {
        m_window = XCreateSimpleWindow(display, parentWindow, area.x, area.y, width, height, 0, 0,
                                       PixelValue(colour));
    } else {
        XVisualInfo info;
        if (XMatchVisualInfo(display, screen, 32, TrueColor, &info) == 0) {
            throw std::runtime_error("the test display has no 32-bit visual");
        }
        m_colormap = XCreateColormap(display, parentWindow, info.visual, AllocNone);
        // A visual other than the parent's needs its own colormap and border pixel, or the server refuses.
        XSetWindowAttributes attributes{};
        attributes.colormap = m_colormap;
        attributes.border_pixel = 0;
        attributes.background_pixel = colour;
        m_window =
            XCreateWindow(display, parentWindow, area.x, area.y, width, height, 0, info.depth, InputOutput,
                          info.visual, CWColormap | CWBorderPixel | CWBackPixel, &attributes);
    }
    XSync(display, False);
}

PlainWindow::~PlainWindow() {
    Destroy();
    if (m_colormap != 0) {
        Display* display = TestDisplay::Get().Connection();
        XFreeColormap(display, m_colormap);
        XSync(display, False);
    }
}

void PlainWindow::Map() {
    Display* display = TestDisplay::Get().Connection();
    XMapWindow(display, m_window);
    XSync(display, False);
}

void PlainWindow::Destroy() {
    if (m_window != 0) {
        Display* display = TestDisplay::Get().Connection();
        XDestroyWindow(display, m_window);
        XSync(display, False);
        m_window = 0;
    }
}
