// Reads the test display's state over the harness's own X connection.
#include "DesktopState.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "TestDisplay.h"
#include "XErrorTrap.h"

namespace {

Display* Connection() {
    return TestDisplay::Get().Connection();
}

Window Root() {
    return DefaultRootWindow(Connection());
}

// The window-typed values of a property; empty when it is not there, or the window is not.
std::vector<Window> WindowProperty(Window window, const char* name) {
    Display* display = Connection();
    XErrorTrap trap(display);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    int rc = XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 4096, False, XA_WINDOW,
                                &type, &format, &count, &after, &data);
    std::vector<Window> windows;
    if (rc == Success && !trap.Failed() && type == XA_WINDOW && format == 32 && data != nullptr) {
        // Xlib hands 32-bit values out as longs.
        auto* values = reinterpret_cast<unsigned long*>(data);
        windows.assign(values, values + count);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return windows;
}

// Spreads a colour channel over the bits `mask` selects.
unsigned long Scale(uint32_t channel, unsigned long mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (((mask >> shift) & 1) == 0) {
        ++shift;
    }
    unsigned long max = mask >> shift;
    return ((channel * max + 127) / 255) << shift;
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const WindowRect& rect) {
    return out << rect.width << "x" << rect.height << "+" << rect.x << "+" << rect.y;
}

bool PointerPosition(int& x, int& y) {
    Window root = None;
    Window child = None;
    int windowX = 0;
    int windowY = 0;
    unsigned int mask = 0;
    return XQueryPointer(Connection(), Root(), &root, &child, &x, &y, &windowX, &windowY, &mask) == True;
}

std::vector<unsigned long> StackingOrder() {
    if (WindowManagerRunning()) {
        std::vector<Window> clients = WindowProperty(Root(), "_NET_CLIENT_LIST_STACKING");
        return {clients.begin(), clients.end()};
    }
    Display* display = Connection();
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<unsigned long> mapped;
    if (XQueryTree(display, Root(), &root, &parent, &children, &count) == 0) {
        return mapped;
    }
    XErrorTrap trap(display);
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        // A window destroyed since the tree was read fails here and is left out.
        if (XGetWindowAttributes(display, children[i], &attributes) != 0 &&
            attributes.map_state != IsUnmapped) {
            mapped.push_back(children[i]);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return mapped;
}

std::optional<WindowRect> WindowGeometry(unsigned long window) {
    Display* display = Connection();
    XErrorTrap trap(display);
    Window root = None;
    int x = 0;
    int y = 0;
    unsigned int width = 0;
    unsigned int height = 0;
    unsigned int border = 0;
    unsigned int depth = 0;
    if (XGetGeometry(display, window, &root, &x, &y, &width, &height, &border, &depth) == 0) {
        return std::nullopt;
    }
    // XGetGeometry's position is relative to the parent, which is a frame once a window manager runs.
    Window child = None;
    if (XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &child) == 0 || trap.Failed()) {
        return std::nullopt;
    }
    return WindowRect{x, y, static_cast<int>(width), static_cast<int>(height)};
}

bool IsShownByServer(unsigned long window) {
    Display* display = Connection();
    XErrorTrap trap(display);
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) != 0 && !trap.Failed() &&
           attributes.map_state == IsViewable;
}

unsigned long SelectionOwner(const std::string& selection) {
    Display* display = Connection();
    return XGetSelectionOwner(display, XInternAtom(display, selection.c_str(), False));
}

bool WindowManagerRunning() {
    std::vector<Window> check = WindowProperty(Root(), "_NET_SUPPORTING_WM_CHECK");
    if (check.size() != 1) {
        return false;
    }
    std::vector<Window> itself = WindowProperty(check[0], "_NET_SUPPORTING_WM_CHECK");
    return itself.size() == 1 && itself[0] == check[0];
}

bool RootHasProperty(const std::string& name) {
    Display* display = Connection();
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, Root(), XInternAtom(display, name.c_str(), False), 0, 0, False,
                       AnyPropertyType, &type, &format, &count, &after, &data);
    if (data != nullptr) {
        XFree(data);
    }
    return type != None;
}

unsigned long PixelValue(uint32_t rgb) {
    Display* display = Connection();
    Visual* visual = DefaultVisual(display, DefaultScreen(display));
    return Scale((rgb >> 16) & 0xff, visual->red_mask) | Scale((rgb >> 8) & 0xff, visual->green_mask) |
           Scale(rgb & 0xff, visual->blue_mask);
}

void SetRootBackground(uint32_t rgb) {
    // Compositors paint the root from the pixmap _XROOTPMAP_ID names, not from its background, so it gets
    // one. The pixmap lives as long as the connection; the one it replaces is freed.
    static Pixmap current = None;
    Display* display = Connection();
    Window root = Root();
    Pixmap pixmap = XCreatePixmap(display, root, 1, 1, DefaultDepth(display, DefaultScreen(display)));
    GC gc = XCreateGC(display, pixmap, 0, nullptr);
    XSetForeground(display, gc, PixelValue(rgb));
    XFillRectangle(display, pixmap, gc, 0, 0, 1, 1);
    XFreeGC(display, gc);
    XSetWindowBackgroundPixmap(display, root, pixmap);
    XChangeProperty(display, root, XInternAtom(display, "_XROOTPMAP_ID", False), XA_PIXMAP, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&pixmap), 1);
    XClearWindow(display, root);
    if (current != None) {
        XFreePixmap(display, current);
    }
    current = pixmap;
    XSync(display, False);
}
