#include "MinisignSigner.h"

#include <sodium.h>

#include <algorithm>
#include <sstream>

#include "platform/base/signing.h"

namespace minisign {
namespace {

// Algorithm, key derivation, checksum algorithm, salt, two limits, key id, key, checksum.
constexpr std::size_t kKdfAt = 2;
constexpr std::size_t kKeyIdAt = 2 + 2 + 2 + 32 + 8 + 8;
constexpr std::size_t kSecretKeyFileBytes = kKeyIdAt + kKeyIdBytes + 64 + 32;

std::string Text(const unsigned char* bytes, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(bytes), size);
}

}  // namespace

bool ReadSecretKey(const std::string& fileText, SecretKey& key, std::string& why) {
    std::istringstream lines(fileText);
    std::string comment, line;
    std::getline(lines, comment);
    std::getline(lines, line);
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    std::string bytes;
    if (comment.rfind(kUntrustedPrefix, 0) != 0 || !platform::FromBase64(line, bytes) ||
        bytes.size() != kSecretKeyFileBytes || bytes.compare(0, 2, kKeyAlgorithm) != 0) {
        why = "not a minisign secret key file";
        return false;
    }
    if (bytes.compare(kKdfAt, 2, std::string(2, '\0')) != 0) {
        why = "the secret key is encrypted (make it with minisign -G -W)";
        return false;
    }
    std::copy_n(bytes.begin() + kKeyIdAt, kKeyIdBytes, key.id.begin());
    std::copy_n(bytes.begin() + kKeyIdAt + kKeyIdBytes, key.key.size(), key.key.begin());
    // The second half is the public key: it must be the one the first half, the seed, gives.
    unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
    unsigned char secretKey[crypto_sign_SECRETKEYBYTES];
    if (sodium_init() < 0 || crypto_sign_seed_keypair(publicKey, secretKey, key.key.data()) != 0 ||
        !std::equal(publicKey, publicKey + sizeof publicKey, key.key.begin() + 32)) {
        why = "the secret key is damaged";
        return false;
    }
    return true;
}

std::string Sign(const SecretKey& key, const std::string& message, const std::string& trustedComment) {
    unsigned char hash[crypto_generichash_BYTES_MAX];
    crypto_generichash(hash, sizeof hash, reinterpret_cast<const unsigned char*>(message.data()),
                       message.size(), nullptr, 0);
    unsigned char signature[crypto_sign_BYTES];
    crypto_sign_detached(signature, nullptr, hash, sizeof hash, key.key.data());
    const std::string covered = Text(signature, sizeof signature) + trustedComment;
    unsigned char global[crypto_sign_BYTES];
    crypto_sign_detached(global, nullptr, reinterpret_cast<const unsigned char*>(covered.data()),
                         covered.size(), key.key.data());
    const std::string line = std::string(kHashedAlgorithm) + Text(key.id.data(), key.id.size()) +
                             Text(signature, sizeof signature);
    return std::string(kUntrustedPrefix) + "signature from minisign secret key\n" + platform::ToBase64(line) +
           "\n" + kTrustedPrefix + trustedComment + "\n" + platform::ToBase64(Text(global, sizeof global)) +
           "\n";
}

std::string PublicKeyText(const SecretKey& key) {
    return platform::ToBase64(std::string(kKeyAlgorithm) + Text(key.id.data(), key.id.size()) +
                              Text(key.key.data() + 32, 32));
}

}  // namespace minisign
