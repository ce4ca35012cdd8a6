#pragma once
// Parses an XML document held in memory exactly as if it had been loaded from a file.

#include <cstddef>

class TiXmlDocument;

// Line ends are normalised (CR LF and lone CR become LF) and the encoding is detected from a UTF-8
// byte-order mark or the declaration; parse errors are not reported and whatever was built stays.
// Returns true when the document is UTF-8, false when its text is in the legacy ANSI code page.
bool ParseXmlBytes(TiXmlDocument& document, const char* data, std::size_t size);
