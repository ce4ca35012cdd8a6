#include "png_writer.h"

#include <csetjmp>
#include <stdexcept>

namespace {

extern "C" void AppendToString(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

extern "C" void FlushNothing(png_structp) {}

// Holds only trivially destructible locals, since a libpng error longjmps back into this frame.
bool WriteInto(png_structp png, png_infop info, const PngPicture& picture) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height),
                 picture.bitDepth, picture.colourType,
                 picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!picture.palette.empty()) {
        png_set_PLTE(png, info, picture.palette.data(), static_cast<int>(picture.palette.size()));
    }
    if (!picture.paletteAlpha.empty()) {
        png_set_tRNS(png, info, picture.paletteAlpha.data(), static_cast<int>(picture.paletteAlpha.size()),
                     nullptr);
    }
    if (picture.transparentColour) {
        png_color_16 colour = *picture.transparentColour;
        png_set_tRNS(png, info, nullptr, 0, &colour);
    }
    png_write_info(png, info);
    int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < picture.height; ++y) {
            png_write_row(png, reinterpret_cast<png_const_bytep>(picture.rows[y].data()));
        }
    }
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

std::string EncodePng(const PngPicture& picture) {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, AppendToString, FlushNothing);
    bool written = WriteInto(png, info, picture);
    png_destroy_write_struct(&png, &info);
    if (!written) {
        throw std::runtime_error("libpng refused the test picture");
    }
    return out;
}

std::uint32_t PngCrc(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return crc ^ 0xFFFFFFFFu;
}

std::string BigEndian32(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
            static_cast<char>(value)};
}

std::string PngChunk(const char* type, const std::string& data) {
    std::string typed = std::string(type, 4) + data;
    return BigEndian32(static_cast<std::uint32_t>(data.size())) + typed + BigEndian32(PngCrc(typed));
}

std::string IhdrData(std::uint32_t width, std::uint32_t height, int bitDepth, int colourType) {
    return BigEndian32(width) + BigEndian32(height) + static_cast<char>(bitDepth) +
           static_cast<char>(colourType) + std::string(3, '\0');
}
