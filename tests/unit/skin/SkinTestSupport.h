#pragma once
// PNG resources made in memory for the skin tests, registered as the program's own.

#include <cstdint>
#include <functional>
#include <string>

// One pixel's straight colour and alpha.
struct Rgba {
    std::uint8_t red, green, blue, alpha;
};

// A picture of `width` x `height` whose pixel (x, y) is `colour(x, y)`; without alpha, the alpha given
// is ignored and the picture is opaque.
std::string MakePng(int width, int height, bool alpha, const std::function<Rgba(int, int)>& colour);

// Makes `bytes` resource "PNG" `id` for the rest of the process; a later one with the same id wins.
void RegisterPng(int id, const std::string& bytes);
