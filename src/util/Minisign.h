#pragma once
// Signatures in the format of the minisign tool, so an operator signs a file with that tool and the
// client checks it. A public key is one line of base64 for "Ed", an 8-byte key id and a 32-byte Ed25519
// key. A signature file has four lines: an untrusted comment; base64 for the algorithm ("ED": the
// Ed25519 signature of the file's BLAKE2b-512 hash), the key id and the signature; the trusted comment;
// and base64 for the Ed25519 signature of the signature and the trusted comment together.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace minisign {

constexpr char kUntrustedPrefix[] = "untrusted comment: ";
constexpr char kTrustedPrefix[] = "trusted comment: ";
constexpr char kHashedAlgorithm[] = "ED";
constexpr char kKeyAlgorithm[] = "Ed";
constexpr std::size_t kKeyIdBytes = 8;
constexpr std::size_t kSignatureBytes = 64;

using KeyId = std::array<unsigned char, kKeyIdBytes>;

struct PublicKey {
    KeyId id{};
    std::string key;  // the Ed25519 key's 32 bytes
};

// The keys in `text`, separated by blanks or commas. False when there is none, or when any one is not
// 56 characters of base64 for 42 bytes that begin with "Ed": a list with a bad key is no list at all.
bool ParsePublicKeys(const std::string& text, std::vector<PublicKey>& keys);

struct Verdict {
    bool valid = false;
    std::uint64_t timestamp = 0;  // the trusted comment's "timestamp:", when valid
    std::string why;              // when not valid, one line saying why
};

// Checks the signature file `signature` for `message` against `keys`. Valid only when its key id names
// one of them, both signatures verify, and the trusted comment has a field "timestamp:<seconds>".
Verdict Verify(const std::string& message, const std::string& signature, const std::vector<PublicKey>& keys);

// The key id as the minisign tool prints it: 16 upper-case hex digits, the last byte first.
std::string KeyIdText(const KeyId& id);

}  // namespace minisign
