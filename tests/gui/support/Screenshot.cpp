// Takes, reads and saves screenshots of the test display.
#include "Screenshot.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "TestDisplay.h"

namespace {

// Where a visual's channel mask starts.
int LowestBit(unsigned long mask) {
    int shift = 0;
    while (mask != 0 && ((mask >> shift) & 1) == 0) {
        ++shift;
    }
    return shift;
}

// The channel `mask` selects in an X pixel, scaled to 0..255.
uint32_t Channel(unsigned long pixel, unsigned long mask, int shift) {
    unsigned long max = mask >> shift;
    return max == 0 ? 0 : static_cast<uint32_t>((((pixel & mask) >> shift) * 255 + max / 2) / max);
}

}  // namespace

Screenshot::Screenshot(int width, int height, std::vector<uint32_t> pixels)
    : m_width(width), m_height(height), m_pixels(std::move(pixels)) {
    if (width < 0 || height < 0 || m_pixels.size() != static_cast<std::size_t>(width) * height) {
        throw std::invalid_argument("screenshot pixels do not match its size");
    }
}

uint32_t Screenshot::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        throw std::out_of_range("pixel " + std::to_string(x) + "," + std::to_string(y) + " is off the " +
                                std::to_string(m_width) + "x" + std::to_string(m_height) + " screenshot");
    }
    return m_pixels[static_cast<std::size_t>(y) * m_width + x];
}

bool Screenshot::SavePng(const std::string& path) const {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, m_width, m_height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return false;
    }
    cairo_surface_flush(surface);
    // RGB24 keeps each pixel in a native-endian 32-bit word as 0x??RRGGBB, but rows may be padded.
    unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < m_height; ++y) {
        std::memcpy(data + static_cast<std::size_t>(y) * stride,
                    &m_pixels[static_cast<std::size_t>(y) * m_width],
                    static_cast<std::size_t>(m_width) * sizeof(uint32_t));
    }
    cairo_surface_mark_dirty(surface);
    bool saved = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return saved;
}

Screenshot TakeScreenshot() {
    TestDisplay& testDisplay = TestDisplay::Get();
    Display* display = testDisplay.Connection();
    int width = testDisplay.Width();
    int height = testDisplay.Height();
    XSync(display, False);
    // The root with its children as the screen shows them; with a compositor that is what it painted.
    XImage* image = XGetImage(display, DefaultRootWindow(display), 0, 0, static_cast<unsigned int>(width),
                              static_cast<unsigned int>(height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        throw std::runtime_error("XGetImage of the root window failed");
    }
    Visual* visual = DefaultVisual(display, DefaultScreen(display));
    unsigned long red = visual->red_mask;
    unsigned long green = visual->green_mask;
    unsigned long blue = visual->blue_mask;
    int redShift = LowestBit(red);
    int greenShift = LowestBit(green);
    int blueShift = LowestBit(blue);
    std::vector<uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned long pixel = XGetPixel(image, x, y);
            pixels[static_cast<std::size_t>(y) * width + x] = Channel(pixel, red, redShift) << 16 |
                                                              Channel(pixel, green, greenShift) << 8 |
                                                              Channel(pixel, blue, blueShift);
        }
    }
    XDestroyImage(image);
    return Screenshot(width, height, std::move(pixels));
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift : {16, 8, 0}) {
        int difference = static_cast<int>((a >> shift) & 0xff) - static_cast<int>((b >> shift) & 0xff);
        if (std::abs(difference) > tolerance) {
            return false;
        }
    }
    return true;
}
