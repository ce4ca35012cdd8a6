#include "SkinTestSupport.h"

#include <deque>

#include "platform/base/resources.h"
#include "png_writer.h"

std::string MakePng(int width, int height, bool alpha, const std::function<Rgba(int, int)>& colour) {
    PngPicture picture;
    picture.width = width;
    picture.height = height;
    picture.colourType = alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            const Rgba pixel = colour(x, y);
            row += static_cast<char>(pixel.red);
            row += static_cast<char>(pixel.green);
            row += static_cast<char>(pixel.blue);
            if (alpha) {
                row += static_cast<char>(pixel.alpha);
            }
        }
        picture.rows.push_back(row);
    }
    return EncodePng(picture);
}

void RegisterPng(int id, const std::string& bytes) {
    // The resource table keeps pointers, so both live as long as the process.
    static std::deque<std::string> storage;
    static std::deque<platform::ResourceEntry> entries;
    const std::string& kept = storage.emplace_back(bytes);
    entries.push_back({"PNG", id, reinterpret_cast<const unsigned char*>(kept.data()), kept.size()});
    platform::RegisterResources(&entries.back(), 1);
}
