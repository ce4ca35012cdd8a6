#include "app/VersionDocument.h"

#include <tinyxml.h>

#include <algorithm>
#include <charconv>
#include <cstring>

#include "platform/base/text.h"
#include "util/XmlBytes.h"

namespace {

// Digits only: a sign, blanks or a unit would mean the operator wrote something else than a byte count.
bool ParseSize(const char* text, std::uint64_t& size) {
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, size);
    return error == std::errc() && stop == end && size > 0;
}

}  // namespace

bool ParseClientOffer(const std::string& bytes, ClientOffer& offer) {
    TiXmlDocument document;
    const bool utf8 = ParseXmlBytes(document, bytes.data(), bytes.size());
    if (document.Error()) {
        return false;
    }
    const TiXmlElement* root = document.FirstChildElement();
    const TiXmlElement* client = root != nullptr ? root->FirstChildElement("CLIENT") : nullptr;
    if (client == nullptr) {
        return false;
    }
    const auto text = [&](const char* name) {
        const char* value = client->Attribute(name);
        if (value == nullptr) {
            return std::wstring();
        }
        return utf8 ? platform::Utf8ToWide(value) : platform::AnsiToWide(value);
    };
    offer.version = text("version");
    offer.url = text("url");
    offer.sha256 = text("sha256");
    const char* size = client->Attribute("size");
    offer.size = 0;
    return size == nullptr || ParseSize(size, offer.size);
}

std::wstring VersionDocumentUrl(const std::wstring& configParam, std::int64_t seconds) {
    return configParam + L"?" + std::to_wstring(seconds);
}

std::wstring VersionSignatureUrl(const std::wstring& configParam, std::int64_t seconds) {
    std::wstring url = configParam;
    url.insert(std::min(url.find(L'?'), url.size()), L".minisig");
    return VersionDocumentUrl(url, seconds);
}
