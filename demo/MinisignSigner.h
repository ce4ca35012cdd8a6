#pragma once
// Signing as the minisign tool signs, with a secret key file it made unencrypted (minisign -G -W), so the
// demo site can sign its version document the way an operator signs theirs.

#include <array>
#include <string>

#include "util/Minisign.h"

namespace minisign {

struct SecretKey {
    KeyId id{};
    std::array<unsigned char, 64> key{};  // libsodium's Ed25519 secret key: seed and public key
};

// The key in the text of a secret key file. False, with `why`, for an encrypted key or a file that is not
// such a key or whose halves do not belong together.
bool ReadSecretKey(const std::string& fileText, SecretKey& key, std::string& why);

// The signature file for `message` with `trustedComment`, byte for byte as the tool writes it.
std::string Sign(const SecretKey& key, const std::string& message, const std::string& trustedComment);

// The public key line that goes with `key`.
std::string PublicKeyText(const SecretKey& key);

}  // namespace minisign
