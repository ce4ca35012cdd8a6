#include "util/Minisign.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "platform/base/signing.h"

namespace minisign {
namespace {

constexpr std::size_t kPublicKeyBytes = 2 + kKeyIdBytes + 32;
constexpr std::size_t kPublicKeyChars = 56;
constexpr std::size_t kSignatureLineBytes = 2 + kKeyIdBytes + kSignatureBytes;

Verdict Refused(std::string why) {
    Verdict verdict;
    verdict.why = std::move(why);
    return verdict;
}

// The lines of `text`; a line may end in "\r\n" as written on Windows.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

// The seconds of a tab-separated field "timestamp:<decimal digits>" of the trusted comment.
bool FindTimestamp(const std::string& comment, std::uint64_t& seconds) {
    static const std::string name = "timestamp:";
    std::istringstream fields(comment);
    for (std::string field; std::getline(fields, field, '\t');) {
        if (field.size() <= name.size() || field.compare(0, name.size(), name) != 0) {
            continue;
        }
        const char* begin = field.data() + name.size();
        const char* end = field.data() + field.size();
        const auto [stop, error] = std::from_chars(begin, end, seconds);
        if (error == std::errc() && stop == end) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool ParsePublicKeys(const std::string& text, std::vector<PublicKey>& keys) {
    keys.clear();
    std::string list = text;
    std::replace(list.begin(), list.end(), ',', ' ');
    std::istringstream words(list);
    for (std::string word; words >> word;) {
        std::string bytes;
        if (word.size() != kPublicKeyChars || !platform::FromBase64(word, bytes) ||
            bytes.size() != kPublicKeyBytes || !StartsWith(bytes, kKeyAlgorithm)) {
            keys.clear();
            return false;
        }
        PublicKey key;
        std::copy_n(bytes.begin() + 2, kKeyIdBytes, key.id.begin());
        key.key = bytes.substr(2 + kKeyIdBytes);
        keys.push_back(key);
    }
    return !keys.empty();
}

Verdict Verify(const std::string& message, const std::string& signature, const std::vector<PublicKey>& keys) {
    const std::vector<std::string> lines = Lines(signature);
    std::string signatureLine, global;
    const bool wellFormed = lines.size() >= 4 && StartsWith(lines[0], kUntrustedPrefix) &&
                            platform::FromBase64(lines[1], signatureLine) &&
                            StartsWith(lines[2], kTrustedPrefix) && platform::FromBase64(lines[3], global) &&
                            std::all_of(lines.begin() + 4, lines.end(), [](auto& l) { return l.empty(); });
    if (!wellFormed || signatureLine.size() != kSignatureLineBytes || global.size() != kSignatureBytes) {
        return Refused("the signature file is malformed");
    }
    if (!StartsWith(signatureLine, kHashedAlgorithm)) {
        return Refused("the signature is not of the hashed kind (legacy signatures are refused)");
    }
    KeyId id;
    std::copy_n(signatureLine.begin() + 2, kKeyIdBytes, id.begin());
    const auto key = std::find_if(keys.begin(), keys.end(), [&](const PublicKey& k) { return k.id == id; });
    if (key == keys.end()) {
        return Refused("the signature is by key " + KeyIdText(id) + ", which is not an update key");
    }
    const std::string fileSignature = signatureLine.substr(2 + kKeyIdBytes);
    if (!platform::VerifyEd25519(fileSignature, platform::Blake2b512(message), key->key)) {
        return Refused("the signature does not match the document");
    }
    const std::string comment = lines[2].substr(std::strlen(kTrustedPrefix));
    if (!platform::VerifyEd25519(global, fileSignature + comment, key->key)) {
        return Refused("the trusted comment does not match its signature");
    }
    Verdict verdict;
    if (!FindTimestamp(comment, verdict.timestamp)) {
        return Refused("the trusted comment has no \"timestamp:\"");
    }
    verdict.valid = true;
    return verdict;
}

std::string KeyIdText(const KeyId& id) {
    std::string text;
    char digits[3];
    for (auto byte = id.rbegin(); byte != id.rend(); ++byte) {
        std::snprintf(digits, sizeof digits, "%02X", *byte);
        text += digits;
    }
    return text;
}

}  // namespace minisign
