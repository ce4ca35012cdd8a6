#include "util/XmlBytes.h"

#include <tinyxml.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

namespace {

bool EqualsAsciiIgnoreCase(const char* a, const char* b) {
    const std::size_t length = std::strlen(a);
    return length == std::strlen(b) && std::equal(a, a + length, b, [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool DeclaresUtf8(const TiXmlDocument& document) {
    for (const TiXmlNode* node = document.FirstChild(); node != nullptr; node = node->NextSibling()) {
        if (const TiXmlDeclaration* declaration = node->ToDeclaration()) {
            return EqualsAsciiIgnoreCase(declaration->Encoding(), "UTF-8") ||
                   EqualsAsciiIgnoreCase(declaration->Encoding(), "UTF8");
        }
        if (node->ToElement() != nullptr) {
            break;
        }
    }
    return false;
}

}  // namespace

bool ParseXmlBytes(TiXmlDocument& document, const char* data, std::size_t size) {
    std::string text;
    text.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\r') {
            text += '\n';
            if (i + 1 < size && data[i + 1] == '\n') {
                ++i;
            }
        } else {
            text += data[i];
        }
    }
    // TinyXML reads up to the first zero byte, as it would from a file loaded into a C string.
    document.Parse(text.c_str());
    bool bom = text.compare(0, 3, "\xEF\xBB\xBF") == 0;
    return bom || DeclaresUtf8(document);
}
