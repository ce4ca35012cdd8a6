// Maps the text service onto glibc's iconv, and case folding onto GLib.
#include "platform/base/text.h"

#include <glib.h>
#include <iconv.h>

#include <cerrno>
#include <cstring>

#ifndef VELMORA_ANSI_CODEPAGE
#define VELMORA_ANSI_CODEPAGE "CP936"
#endif

namespace platform {
namespace {

constexpr wchar_t kReplacementChar = 0xFFFD;

class Iconv final {
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Iconv() {
        if (Ok()) {
            iconv_close(m_cd);
        }
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as possible; returns false at an invalid or incomplete sequence, leaving
    // in/inLeft at the offending byte.
    bool Step(char*& in, size_t& inLeft, std::string& out) {
        char buffer[1024];
        while (inLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            size_t rc = iconv(m_cd, &in, &inLeft, &dst, &dstLeft);
            out.append(buffer, dst - buffer);
            if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
                iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
                return false;
            }
        }
        return true;
    }

private:
    iconv_t m_cd;
};

// Decodes bytes in `from` into wchar_t, replacing each undecodable unit (`unitSize` bytes) with U+FFFD.
std::wstring Decode(const char* from, std::string_view bytes, size_t unitSize = 1) {
    std::wstring result;
    Iconv cd("WCHAR_T", from);
    if (!cd.Ok()) {
        for (unsigned char c : bytes) {
            result.push_back(c < 0x80 ? static_cast<wchar_t>(c) : kReplacementChar);
        }
        return result;
    }
    std::string input(bytes);
    char* in = input.data();
    size_t inLeft = input.size();
    std::string raw;
    while (!cd.Step(in, inLeft, raw)) {
        size_t whole = raw.size() - raw.size() % sizeof(wchar_t);
        raw.resize(whole);
        wchar_t replacement = kReplacementChar;
        raw.append(reinterpret_cast<const char*>(&replacement), sizeof replacement);
        size_t skip = inLeft < unitSize ? inLeft : unitSize;
        in += skip;
        inLeft -= skip;
    }
    result.resize(raw.size() / sizeof(wchar_t));
    std::memcpy(result.data(), raw.data(), result.size() * sizeof(wchar_t));
    return result;
}

// Encodes wchar_t text into `to`, replacing each character it cannot hold with `substitute`.
std::string Encode(const char* to, std::wstring_view wide, std::string_view substitute) {
    std::string result;
    Iconv cd(to, "WCHAR_T");
    if (!cd.Ok()) {
        for (wchar_t c : wide) {
            result.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        }
        return result;
    }
    std::wstring input(wide);
    char* in = reinterpret_cast<char*>(input.data());
    size_t inLeft = input.size() * sizeof(wchar_t);
    while (!cd.Step(in, inLeft, result)) {
        result.append(substitute);
        in += sizeof(wchar_t);
        inLeft -= sizeof(wchar_t);
    }
    return result;
}

}  // namespace

const char* AnsiCodePage() {
    return VELMORA_ANSI_CODEPAGE;
}

std::wstring AnsiToWide(std::string_view ansi) {
    return Decode(AnsiCodePage(), ansi);
}

std::string WideToAnsi(std::wstring_view wide) {
    return Encode(AnsiCodePage(), wide, "?");
}

std::wstring Utf8ToWide(std::string_view utf8) {
    return Decode("UTF-8", utf8);
}

std::string WideToUtf8(std::wstring_view wide) {
    return Encode("UTF-8", wide, "\xEF\xBF\xBD");
}

bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b) {
    std::string left = WideToUtf8(a);
    std::string right = WideToUtf8(b);
    gchar* foldedLeft = g_utf8_casefold(left.data(), static_cast<gssize>(left.size()));
    gchar* foldedRight = g_utf8_casefold(right.data(), static_cast<gssize>(right.size()));
    bool equal = std::strcmp(foldedLeft, foldedRight) == 0;
    g_free(foldedLeft);
    g_free(foldedRight);
    return equal;
}

std::string WideToUtf16Le(std::wstring_view wide) {
    return Encode("UTF-16LE", wide, "\xFD\xFF");
}

std::wstring Utf16LeToWide(std::string_view bytes) {
    // An odd trailing byte cannot be a code unit; drop it rather than reading past the data.
    return Decode("UTF-16LE", bytes.substr(0, bytes.size() & ~static_cast<size_t>(1)), 2);
}

}  // namespace platform
