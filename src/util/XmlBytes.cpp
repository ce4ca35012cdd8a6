#include "util/XmlBytes.h"

#include <tinyxml.h>

#include <string>

#include "platform/base/text.h"
#include "util/XmlDepth.h"

namespace {

bool DeclaresUtf8(const TiXmlDocument& document) {
    for (const TiXmlNode* node = document.FirstChild(); node != nullptr; node = node->NextSibling()) {
        if (const TiXmlDeclaration* declaration = node->ToDeclaration()) {
            const std::wstring encoding = platform::Utf8ToWide(declaration->Encoding());
            return platform::EqualsIgnoreCase(encoding, L"UTF-8") ||
                   platform::EqualsIgnoreCase(encoding, L"UTF8");
        }
        if (node->ToElement() != nullptr) {
            break;
        }
    }
    return false;
}

// The parser reads up to the first zero byte, but after a UTF-8 lead byte it steps over the next
// three bytes unseen; ending the text at that zero and padding it with three more keeps every step
// inside the buffer and the parser's view and the depth scan's view the same.
std::string NormalisedText(const char* data, std::size_t size) {
    std::string text;
    text.reserve(size + 3);
    for (std::size_t i = 0; i < size && data[i] != '\0'; ++i) {
        if (data[i] == '\r') {
            text += '\n';
            if (i + 1 < size && data[i + 1] == '\n') {
                ++i;
            }
        } else {
            text += data[i];
        }
    }
    text.append(3, '\0');
    return text;
}

// SetError is public although TinyXML marks it for its own use. It is the one way to leave the
// document exactly as a failed parse leaves it, so every caller's existing check for a malformed
// document (Error(), or no root element) refuses this one too, with nothing new to learn.
void RefuseTooDeep(TiXmlDocument& document) {
    document.ClearError();
    document.SetError(TiXmlBase::TIXML_ERROR, nullptr, nullptr, TIXML_ENCODING_UNKNOWN);
}

}  // namespace

bool ParseXmlBytes(TiXmlDocument& document, const char* data, std::size_t size) {
    const std::string text = NormalisedText(data, size);
    if (XmlNestsDeeperThan(text.c_str(), kMaxXmlDepth)) {
        RefuseTooDeep(document);
    } else {
        document.Parse(text.c_str());
    }
    bool bom = text.compare(0, 3, "\xEF\xBB\xBF") == 0;
    return bom || DeclaresUtf8(document);
}
