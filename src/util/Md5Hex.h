#pragma once
// The MD5 digest of bytes as text, for signing requests to the operator's services.

#include <cstddef>

// Writes 32 lower-case hexadecimal digits and a terminating zero into `out` (33 bytes) and returns 0;
// returns 1 without touching `out` when `data` is absent.
int Md5Hex(const void* data, std::size_t count, char* out);
