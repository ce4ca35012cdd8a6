// Maps the checksum service onto GLib's GChecksum.
#include "platform/base/checksum.h"

#include <glib.h>

#include <limits>

namespace platform {
namespace {

std::string DigestHex(GChecksumType type, const void* data, std::size_t size) {
    GChecksum* checksum = g_checksum_new(type);
    const auto* bytes = static_cast<const guchar*>(data);
    // GLib takes a signed length, so very large inputs go in slices.
    constexpr std::size_t kSlice = static_cast<std::size_t>(std::numeric_limits<gssize>::max());
    while (size > 0) {
        std::size_t slice = size < kSlice ? size : kSlice;
        g_checksum_update(checksum, bytes, static_cast<gssize>(slice));
        bytes += slice;
        size -= slice;
    }
    std::string hex = g_checksum_get_string(checksum);
    g_checksum_free(checksum);
    return hex;
}

}  // namespace

std::string Md5Hex(const void* data, std::size_t size) {
    return DigestHex(G_CHECKSUM_MD5, data, size);
}

std::string Sha256Hex(const void* data, std::size_t size) {
    return DigestHex(G_CHECKSUM_SHA256, data, size);
}

}  // namespace platform
