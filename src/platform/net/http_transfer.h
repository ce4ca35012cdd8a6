#pragma once
// The one place that sets up a libcurl transfer, so that every kind of HTTP request of the client (a short
// text answer, a download to a file) shares the same agent, cache bypass, protocol restriction,
// certificate checks, proxy and time-outs. Internal to the platform layer.

#include <cstddef>
#include <functional>
#include <string>

#include "platform/net/http.h"

namespace platform {

// Receives the body as it arrives; returning false ends the transfer, which then does not complete.
using HttpBodySink = std::function<bool(const char* data, std::size_t size)>;

struct HttpTransferResult {
    bool completed = false;  // the transfer ran to its end without error
    long status = 0;         // the last HTTP status received, 0 when none arrived
};

// One GET of `url` under `limits` (their body cap is the sink's business), trusting the system's CAs and
// the HTTP service's trusted CA file. A URL that IsHttpUrl refuses is refused before any network access.
HttpTransferResult RunHttpTransfer(const std::string& url, const HttpLimits& limits,
                                   const HttpBodySink& sink);

}  // namespace platform
