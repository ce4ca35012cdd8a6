#include "app/VersionDocument.h"

#include <tinyxml.h>

#include "platform/base/text.h"
#include "util/XmlBytes.h"

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
    return true;
}

std::wstring VersionDocumentUrl(const std::wstring& configParam, std::int64_t seconds) {
    return configParam + L"?" + std::to_wstring(seconds);
}
