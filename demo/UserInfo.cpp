#include "UserInfo.h"

#include <cctype>
#include <cstdlib>

#include "platform/base/checksum.h"
#include "platform/base/text.h"

std::string SignatureFor(const std::string& tag, const std::string& stamp, const std::string& key) {
    const std::string signed_text = platform::WideToAnsi(platform::Utf8ToWide(tag)) + stamp + key;
    return platform::Md5Hex(signed_text.data(), signed_text.size());
}

bool IsSignedRequest(const std::string& tag, const std::string& stamp, const std::string& signature,
                     const std::string& key, std::int64_t now) {
    if (stamp.empty() || stamp.size() > 12) {
        return false;
    }
    for (std::size_t i = 0; i < stamp.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(stamp[i])) && !(i == 0 && stamp[i] == '-')) {
            return false;
        }
    }
    const std::int64_t sent = std::strtoll(stamp.c_str(), nullptr, 10);
    if (sent < now - kSignatureSlackSeconds || sent > now + kSignatureSlackSeconds) {
        return false;
    }
    std::string lower = signature;
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower == SignatureFor(tag, stamp, key);
}
