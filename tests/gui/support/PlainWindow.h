#pragma once
// A bare Xlib window in one colour, for the harness's own tests.
//
// No toolkit is involved, so what shows on the screen is what the harness must report.

#include <cstdint>

#include "DesktopState.h"

class PlainWindow {
public:
    enum class Kind {
        // Depth 24, colour 0xRRGGBB.
        kOpaque,
        // Depth 32 (an ARGB visual), colour 0xAARRGGBB with premultiplied alpha.
        kTranslucent,
    };

    // Created unmapped, as a child of `parent` (0: the root) at `area` relative to it.
    PlainWindow(WindowRect area, uint32_t colour, Kind kind = Kind::kOpaque, unsigned long parent = 0);
    ~PlainWindow();
    PlainWindow(const PlainWindow&) = delete;
    PlainWindow& operator=(const PlainWindow&) = delete;

    unsigned long Id() const { return m_window; }
    // Maps it and waits until the server has.
    void Map();
    // Destroys it now (the destructor then does nothing).
    void Destroy();

private:
    unsigned long m_window = 0;
    unsigned long m_colormap = 0;
};
