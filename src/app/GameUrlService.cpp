#include "app/GameUrlService.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "config/ClientConfig.h"
#include "platform/base/clock.h"
#include "platform/base/text.h"
#include "util/FetchUrlText.h"
#include "util/Md5Hex.h"

namespace {

constexpr std::size_t kPlaceholders = 4;
// The conversion each placeholder must be, in argument order: tag, reason, stamp, signature.
constexpr wchar_t kConversions[kPlaceholders] = {L's', L'd', L'd', L's'};

}  // namespace

bool FillUserInfoTemplate(const std::wstring& format, const std::wstring& nameTag, GameUrlReason reason,
                          int stamp, const std::wstring& signature, std::wstring& url) {
    if (format.empty()) {
        return false;
    }
    const std::wstring arguments[kPlaceholders] = {nameTag, std::to_wstring(static_cast<int>(reason)),
                                                   std::to_wstring(stamp), signature};
    std::wstring filled;
    std::size_t used = 0;
    for (std::size_t at = 0; at < format.size(); ++at) {
        if (format[at] != L'%') {
            filled += format[at];
            continue;
        }
        // The character after '%' decides; a '%' at the very end has none and is as wrong as "%n".
        if (at + 1 >= format.size()) {
            return false;
        }
        const wchar_t conversion = format[++at];
        if (conversion == L'%') {
            filled += L'%';
            continue;
        }
        if (used == kPlaceholders || conversion != kConversions[used]) {
            return false;
        }
        filled += arguments[used++];
    }
    url = std::move(filled);
    return true;
}

std::wstring GameUrlSignature(const std::wstring& nameTag, int stamp, const std::wstring& key) {
    const std::string text = platform::WideToAnsi(nameTag + std::to_wstring(stamp) + key);
    char hex[33] = {};
    if (Md5Hex(text.data(), text.size(), hex) != 0) {
        return std::wstring();
    }
    return std::wstring(hex, hex + 32);
}

std::wstring UserInfoRequestUrl(const std::wstring& format, const std::wstring& key,
                                const std::wstring& nameTag, GameUrlReason reason, int stamp) {
    std::wstring url;
    if (!FillUserInfoTemplate(format, nameTag, reason, stamp, GameUrlSignature(nameTag, stamp, key), url)) {
        return std::wstring();
    }
    std::replace(url.begin(), url.end(), L'+', L'&');
    return url;
}

int UserInfoStamp() {
    // Wraps like the 32-bit time the service was written against, instead of overflowing.
    return static_cast<int>(static_cast<std::uint32_t>(platform::SecondsSince1970()));
}

std::wstring CurrentUserInfoRequestUrl(const std::wstring& nameTag, GameUrlReason reason) {
    const ClientConfig& config = ClientConfig::Instance();
    return UserInfoRequestUrl(config.UserInfoUrl(), config.PwKey(), nameTag, reason, UserInfoStamp());
}

std::wstring FetchGameUrlFor(const std::wstring& nameTag, const std::wstring& gameUrl, GameUrlReason reason) {
    if (nameTag.empty()) {
        return gameUrl;
    }
    const std::wstring url = CurrentUserInfoRequestUrl(nameTag, reason);
    if (url.empty()) {
        return std::wstring();
    }
    return FetchUrlText(url);
}
