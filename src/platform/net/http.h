#pragma once
// Blocking HTTP GET of a short text answer over libcurl: agent "session", no cached answers, the proxy
// from the environment, http:// and https:// only, certificates checked against the system's CAs.
// Connect and stall time-outs keep a hung server from holding the caller for ever, and a cap keeps a
// runaway answer from filling memory.

#include <cstddef>
#include <string>

namespace platform {

struct HttpLimits {
    long connectSeconds = 60;
    long stallSeconds = 30;               // a transfer that receives nothing for this long is ended
    std::size_t maxBodyBytes = 1u << 20;  // the body is cut here
};

// The limits every request of the process uses; tests shorten them.
HttpLimits GetHttpLimits();
void SetHttpLimits(const HttpLimits& limits);

// One more CA certificate file (PEM) that every request trusts beside the system's CAs; empty for none,
// the default. Only tests set it, for a server whose certificate they made. It is kept apart from the
// limits because it is trust, not a limit: tests replace the limits wholesale to shorten time-outs, and
// that must not silently drop the CA their server depends on. Never taken from the environment, so
// nobody can widen what the client trusts from outside.
std::string GetHttpTrustedCaFile();
void SetHttpTrustedCaFile(const std::string& path);

struct HttpResponse {
    bool completed = false;  // the whole answer arrived (false: refused, failed, timed out or cut)
    long status = 0;         // the HTTP status, 0 when no answer arrived
    std::string body;  // the bytes received, also when the transfer failed midway or the status is an error
    bool truncated = false;  // the body reached maxBodyBytes and the rest was dropped
};

// True when `url` parses as an absolute http:// or https:// URL with a host; the scheme's case does not
// matter.
bool IsHttpUrl(const std::string& url);

// Any other URL is refused before any network access. A redirect from https:// may lead only to
// https://; one from http:// to either.
HttpResponse HttpGet(const std::string& url);

}  // namespace platform
