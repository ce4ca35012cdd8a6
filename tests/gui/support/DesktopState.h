#pragma once
// Reading the test display's state (pointer, stacking, geometry, selection owners) and painting its root.
//
// Windows are X ids, as gdk_x11_window_get_xid gives them.

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// A rectangle in root coordinates.
struct WindowRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const WindowRect& other) const {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
    bool operator!=(const WindowRect& other) const { return !(*this == other); }
};
std::ostream& operator<<(std::ostream& out, const WindowRect& rect);

// Where the pointer is, in root coordinates; false when the server does not say.
bool PointerPosition(int& x, int& y);

// The top-level windows, bottom first. While a window manager runs these are the client windows it manages
// (_NET_CLIENT_LIST_STACKING), not its frames; otherwise the mapped children of the root, in the server's
// order (override-redirect windows such as menus included).
std::vector<unsigned long> StackingOrder();

// The window's area inside its border, in root coordinates; empty when the window does not exist.
std::optional<WindowRect> WindowGeometry(unsigned long window);

// True when the X server shows the window: it and its ancestors are mapped. Under a window manager that is
// once the manager has taken the window in; GDK counts a window as viewable as soon as it asked for that.
bool IsShownByServer(unsigned long window);

// The window owning a selection such as "_NET_WM_CM_S0"; 0 when none does.
unsigned long SelectionOwner(const std::string& selection);

// True while a window manager runs: the root's _NET_SUPPORTING_WM_CHECK names a live window that names
// itself. A window manager that ended may leave the root's property behind.
bool WindowManagerRunning();

// True when the root window has the property, even an empty one.
bool RootHasProperty(const std::string& name);

// The pixel value of colour 0xRRGGBB on the test display's default visual, for Xlib window backgrounds.
unsigned long PixelValue(uint32_t rgb);

// Paints the root window (what shows where no window is) in colour 0xRRGGBB, with or without a compositor.
// Xvfb starts it black, which looks the same as a transparent pixel without a compositor.
void SetRootBackground(uint32_t rgb);
