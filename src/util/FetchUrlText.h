#pragma once
// The body of a short HTTP answer as text, for requests whose answer is a line or two (the game URL).

#include <string>

// Blocks for the whole exchange (within the HTTP service's time-outs). Reads http:// and https:// only;
// any other URL, or a failure, gives what arrived so far, usually empty text. The body is read in the
// ANSI code page in chunks of 1023 bytes, each converted on its own: a character split between two
// chunks becomes two replacement characters, exactly as the client has always read these answers.
std::wstring FetchUrlText(const std::wstring& url);
