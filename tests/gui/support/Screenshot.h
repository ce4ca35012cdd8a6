#pragma once
// A picture of the whole test display as a person sees it, a compositor's blending included.

#include <cstdint>
#include <string>
#include <vector>

class Screenshot {
public:
    // `pixels` holds width * height colours 0xRRGGBB, row by row from the top left.
    Screenshot(int width, int height, std::vector<uint32_t> pixels);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The colour 0xRRGGBB at a root position; throws std::out_of_range outside the screen.
    uint32_t Pixel(int x, int y) const;
    // Writes the picture as a PNG, so a person can look at what a failing test saw. False when it cannot.
    bool SavePng(const std::string& path) const;

private:
    int m_width;
    int m_height;
    std::vector<uint32_t> m_pixels;
};

// What the root window shows now. Call it after XSync, or inside a bounded wait: windows and compositors
// draw asynchronously.
Screenshot TakeScreenshot();

// True when each of the red, green and blue channels of two 0xRRGGBB colours differs by at most `tolerance`
// (blending and rounding make exact matches fragile).
bool Near(uint32_t a, uint32_t b, int tolerance);
