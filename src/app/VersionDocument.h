#pragma once
// The version document the operator publishes: its root element (any name) holds a CLIENT element that
// names the newest client's version and where its installer is.

#include <cstdint>
#include <string>

struct ClientOffer {
    std::wstring version;    // dotted, "1.0.0.2"
    std::wstring url;        // the installer
    std::wstring sha256;     // the installer's digest in hexadecimal; empty when the document gives none
    std::uint64_t size = 0;  // the installer's exact size in bytes; 0 when the document gives none
};

// The first CLIENT child of the root of the document in `bytes`; false when they are not a well-formed
// document, its root has no CLIENT, or that gives a size that is not a positive decimal number of bytes.
// Absent attributes give empty texts.
bool ParseClientOffer(const std::string& bytes, ClientOffer& offer);

// The address the version document is asked for at `seconds` since 1970: the configured one, a question
// mark and the time, which keeps every cache on the way from answering. The question mark goes on even
// after a query of the address's own, which is how the operators' servers read it.
std::wstring VersionDocumentUrl(const std::wstring& configParam, std::int64_t seconds);
// The address of the document's signature at the same moment: ".minisig" added to the path, before any
// query of the address's own ("http://h/v.php?g=1" gives "http://h/v.php.minisig?g=1?<seconds>").
std::wstring VersionSignatureUrl(const std::wstring& configParam, std::int64_t seconds);
