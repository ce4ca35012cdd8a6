#include "skin/SkinValues.h"

#include "platform/base/text.h"
#include "util/LeadingInt.h"

std::vector<std::wstring> SplitSkinList(const std::wstring& text) {
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(L',', start);
        if (comma == std::wstring::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, comma - start));
        start = comma + 1;
        if (start >= text.size()) {
            return parts;
        }
    }
}

COLORREF ParseSkinColor(const std::wstring& text, COLORREF fallback) {
    if (text.empty()) {
        return fallback;
    }
    const std::vector<std::wstring> parts = SplitSkinList(text);
    if (parts.size() < 3) {
        return fallback;
    }
    auto channel = [&](int index) { return static_cast<BYTE>(LeadingInt(parts[index]) & 0xFF); };
    return RGB(channel(0), channel(1), channel(2));
}

bool ParseSkinRect(const std::wstring& text, RECT& rect) {
    const std::vector<std::wstring> parts = SplitSkinList(text);
    if (parts.size() < 4) {
        return false;
    }
    rect = RECT{LeadingInt(parts[0]), LeadingInt(parts[1]), LeadingInt(parts[2]), LeadingInt(parts[3])};
    return true;
}

void ApplySkinAnchor(POINT& position, const std::wstring& align, const RECT& container, const RECT& element) {
    const LONG width = element.right - element.left;
    const LONG height = element.bottom - element.top;
    const bool right =
        platform::EqualsIgnoreCase(align, L"TopRight") || platform::EqualsIgnoreCase(align, L"BottomRight");
    const bool bottom =
        platform::EqualsIgnoreCase(align, L"BottomLeft") || platform::EqualsIgnoreCase(align, L"BottomRight");
    if (right) {
        position.x = container.right - width - position.x;
    }
    if (bottom) {
        position.y = container.bottom - height - position.y;
    }
}

platform::FontSpec CanvasFont(const SkinFontDef& font) {
    platform::FontSpec face;
    face.family = font.family;
    face.pixelSize = static_cast<float>(font.size);
    face.style = font.style;
    return face;
}
