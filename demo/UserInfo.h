#pragma once
// The user-info service's check of a signed request: the signature is the MD5 of the name tag (its bytes
// in the client's code page, CP936), the time stamp as sent and the shared key, and the time stamp may
// be at most five minutes off.

#include <cstdint>
#include <string>

constexpr std::int64_t kSignatureSlackSeconds = 5 * 60;

// `tag` as it arrived (UTF-8), `stamp` and `signature` as sent, `now` in seconds since 1970.
bool IsSignedRequest(const std::string& tag, const std::string& stamp, const std::string& signature,
                     const std::string& key, std::int64_t now);

// What a client signs, for tests and for a client stand-in: lower-case hexadecimal MD5.
std::string SignatureFor(const std::string& tag, const std::string& stamp, const std::string& key);
