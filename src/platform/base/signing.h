#pragma once
// Checking Ed25519 signatures, the BLAKE2b digest they are often made over, and the base64 that carries
// keys and signatures in text files.

#include <cstddef>
#include <string>

namespace platform {

constexpr std::size_t kEd25519PublicKeyBytes = 32;
constexpr std::size_t kEd25519SignatureBytes = 64;

// The unkeyed BLAKE2b digest of 64 bytes.
std::string Blake2b512(const std::string& bytes);
// True when `signature` is the Ed25519 signature of `message` by `publicKey`; false for wrong sizes.
bool VerifyEd25519(const std::string& signature, const std::string& message, const std::string& publicKey);

// Standard base64 with padding.
std::string ToBase64(const std::string& bytes);
// False unless all of `text` is such base64.
bool FromBase64(const std::string& text, std::string& bytes);

}  // namespace platform
