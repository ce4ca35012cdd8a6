#pragma once
// The client's own version and its comparison with an offered one.

#include <string>

// The version compiled into the client; the version resource is not consulted.
extern const wchar_t kClientVersion[];

// The version with its dots removed, read as a decimal number ("1.0.0.1" gives 1001).
int LocalVersionNumber();
// True when `version`, read the same way, is greater. The parts are not compared one by one ("1.1"
// reads as 11): published version documents are written for this reading, so it stays.
bool IsNewerVersion(const std::wstring& version);
