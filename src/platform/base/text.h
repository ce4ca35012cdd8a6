#pragma once
// Conversions between the client's wide text and the narrow encodings it meets: the legacy ANSI code
// page of its embedded documents, UTF-8 at the toolkit and file-system boundary, and UTF-16 as stored
// in the registry.

#include <string>
#include <string_view>

namespace platform {

// The ANSI code page narrow text is read in (an iconv name, "CP936" unless the build sets another).
const char* AnsiCodePage();

// Bytes that are not valid in the source encoding become U+FFFD; the conversion never fails.
std::wstring AnsiToWide(std::string_view ansi);
// Characters the ANSI code page cannot hold become '?'.
std::string WideToAnsi(std::wstring_view wide);

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

// Compares by Unicode case folding, the way file names compare on Windows.
bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b);

// UTF-16 little-endian bytes, as Windows stores registry strings.
std::string WideToUtf16Le(std::wstring_view wide);
std::wstring Utf16LeToWide(std::string_view bytes);

}  // namespace platform
