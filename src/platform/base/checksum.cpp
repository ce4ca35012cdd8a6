// Maps the checksum service onto GLib's GChecksum.
#include "platform/base/checksum.h"

#include <glib.h>

#include <limits>

#include "platform/base/files.h"

namespace platform {
namespace {

class Digest final {
public:
    explicit Digest(GChecksumType type) : m_checksum(g_checksum_new(type)) {}
    ~Digest() { g_checksum_free(m_checksum); }
    Digest(const Digest&) = delete;
    Digest& operator=(const Digest&) = delete;

    void Add(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const guchar*>(data);
        // GLib takes a signed length, so very large inputs go in slices.
        constexpr std::size_t kSlice = static_cast<std::size_t>(std::numeric_limits<gssize>::max());
        while (size > 0) {
            const std::size_t slice = size < kSlice ? size : kSlice;
            g_checksum_update(m_checksum, bytes, static_cast<gssize>(slice));
            bytes += slice;
            size -= slice;
        }
    }
    std::string Hex() const { return g_checksum_get_string(m_checksum); }

private:
    GChecksum* m_checksum;
};

std::string DigestHex(GChecksumType type, const void* data, std::size_t size) {
    Digest digest(type);
    digest.Add(data, size);
    return digest.Hex();
}

}  // namespace

std::string Md5Hex(const void* data, std::size_t size) {
    return DigestHex(G_CHECKSUM_MD5, data, size);
}

std::string Sha256Hex(const void* data, std::size_t size) {
    return DigestHex(G_CHECKSUM_SHA256, data, size);
}

std::string Sha256FileHex(const std::string& path) {
    Digest digest(G_CHECKSUM_SHA256);
    const bool read = ReadFileInPieces(path, [&](const char* data, std::size_t size) {
        digest.Add(data, size);
        return true;
    });
    return read ? digest.Hex() : std::string();
}

}  // namespace platform
