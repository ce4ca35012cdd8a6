#pragma once
// Message digests of bytes, as lower-case hexadecimal text.

#include <cstddef>
#include <string>

namespace platform {

std::string Md5Hex(const void* data, std::size_t size);
std::string Sha256Hex(const void* data, std::size_t size);
// The digest of a file's content, read piece by piece; empty when it cannot be read.
std::string Sha256FileHex(const std::string& path);

}  // namespace platform
