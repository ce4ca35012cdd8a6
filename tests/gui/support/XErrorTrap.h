#pragma once
// Keeps X protocol errors (a window already gone, say) from ending the test process, as Xlib's default would.

struct _XDisplay;

// While one lives, errors of any connection go to it instead of the previous handler (GTK's, or Xlib's
// default). Do not nest them, and do not run a toolkit's main loop while one lives.
class XErrorTrap {
public:
    explicit XErrorTrap(_XDisplay* display);
    ~XErrorTrap();
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // Waits until the server has handled every request sent so far; true when one of them failed.
    bool Failed();

private:
    _XDisplay* m_display;
};
