#pragma once
// Blocking HTTP GET of a short text answer over libcurl: agent "session", no cached answers, the proxy
// from the environment, plain http:// only. Connect and stall time-outs keep a hung server from holding
// the caller for ever, and a cap keeps a runaway answer from filling memory.

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

struct HttpResponse {
    bool completed = false;  // the whole answer arrived (false: refused, failed, timed out or cut)
    long status = 0;         // the HTTP status, 0 when no answer arrived
    std::string body;  // the bytes received, also when the transfer failed midway or the status is an error
    bool truncated = false;  // the body reached maxBodyBytes and the rest was dropped
};

// True when `url` parses as an absolute http:// URL with a host.
bool IsPlainHttpUrl(const std::string& url);

// Any URL that is not plain HTTP is refused before any network access.
HttpResponse HttpGet(const std::string& url);

}  // namespace platform
