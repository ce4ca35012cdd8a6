#pragma once
// Parses an XML document held in memory exactly as if it had been loaded from a file.

#include <cstddef>

class TiXmlDocument;

// TinyXML recurses once per level of nesting; this many levels stay far from the end of any thread's
// stack, and no document of the client comes near it.
constexpr std::size_t kMaxXmlDepth = 256;

// Line ends are normalised (CR LF and lone CR become LF), the text ends at its first zero byte, and the
// encoding is detected from a UTF-8 byte-order mark or the declaration; parse errors are not reported
// and whatever was built stays. A document nesting deeper than kMaxXmlDepth is not parsed at all: it
// stays empty and reports an error, as a malformed one does.
// Returns true when the document is UTF-8, false when its text is in the legacy ANSI code page.
bool ParseXmlBytes(TiXmlDocument& document, const char* data, std::size_t size);
