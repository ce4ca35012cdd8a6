// Maps the signature service onto libsodium.
#include "platform/base/signing.h"

#include <sodium.h>

#include <cstring>

namespace platform {
namespace {

bool SodiumReady() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

const unsigned char* Bytes(const std::string& text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

}  // namespace

std::string Blake2b512(const std::string& bytes) {
    std::string digest(crypto_generichash_BYTES_MAX, '\0');
    if (!SodiumReady() || crypto_generichash(reinterpret_cast<unsigned char*>(digest.data()), digest.size(),
                                             Bytes(bytes), bytes.size(), nullptr, 0) != 0) {
        return {};
    }
    return digest;
}

bool VerifyEd25519(const std::string& signature, const std::string& message, const std::string& publicKey) {
    return SodiumReady() && signature.size() == crypto_sign_BYTES &&
           publicKey.size() == crypto_sign_PUBLICKEYBYTES &&
           crypto_sign_verify_detached(Bytes(signature), Bytes(message), message.size(), Bytes(publicKey)) ==
               0;
}

std::string ToBase64(const std::string& bytes) {
    if (!SodiumReady()) {
        return {};
    }
    std::string text(sodium_base64_ENCODED_LEN(bytes.size(), sodium_base64_VARIANT_ORIGINAL), '\0');
    sodium_bin2base64(text.data(), text.size(), Bytes(bytes), bytes.size(), sodium_base64_VARIANT_ORIGINAL);
    text.resize(std::strlen(text.c_str()));
    return text;
}

bool FromBase64(const std::string& text, std::string& bytes) {
    if (!SodiumReady()) {
        return false;
    }
    std::string decoded(text.size() / 4 * 3 + 3, '\0');
    std::size_t length = 0;
    const char* end = nullptr;
    if (sodium_base642bin(reinterpret_cast<unsigned char*>(decoded.data()), decoded.size(), text.data(),
                          text.size(), nullptr, &length, &end, sodium_base64_VARIANT_ORIGINAL) != 0 ||
        end != text.data() + text.size()) {
        return false;
    }
    decoded.resize(length);
    bytes = std::move(decoded);
    return true;
}

}  // namespace platform
