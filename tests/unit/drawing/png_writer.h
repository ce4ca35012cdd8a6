#pragma once
// Builds PNG fixtures in memory, so that the tests need no picture files: whole pictures through
// libpng's writer, and single chunks for hand-made damaged files.

#include <png.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct PngPicture {
    int width = 0;
    int height = 0;
    int colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<png_color> palette;
    std::vector<png_byte> paletteAlpha;             // a tRNS chunk for a palette picture
    std::optional<png_color_16> transparentColour;  // a tRNS chunk for a grey or RGB picture
    std::vector<std::string> rows;                  // packed samples as stored, 16-bit ones big-endian
};

// The encoded file; throws when libpng refuses the picture, which is a fault in the test.
std::string EncodePng(const PngPicture& picture);

// One chunk: length, type, data and a CRC that matches them.
std::string PngChunk(const char* type, const std::string& data);
std::uint32_t PngCrc(const std::string& bytes);
// The data of an IHDR chunk.
std::string IhdrData(std::uint32_t width, std::uint32_t height, int bitDepth, int colourType);
std::string BigEndian32(std::uint32_t value);
