#include "util/Md5Hex.h"

#include <cstring>
#include <string>

#include "platform/base/checksum.h"

int Md5Hex(const void* data, std::size_t count, char* out) {
    if (data == nullptr || out == nullptr) {
        return 1;
    }
    std::string hex = platform::Md5Hex(data, count);
    if (hex.size() != 32) {
        return 1;
    }
    std::memcpy(out, hex.c_str(), hex.size() + 1);
    return 0;
}
