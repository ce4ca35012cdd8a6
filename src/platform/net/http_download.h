#pragma once
// Downloads of whole files over the client's HTTP service (the same agent, proxy and time-outs as
// HttpGet, with no cap on the size), to a path or into the URL cache. A download either completes or
// changes nothing: the bytes go to a temporary file that takes its place only when the whole answer has
// arrived with a success status.

#include <string>

#include "platform/net/url_cache.h"

namespace platform {

// False when the URL is not plain HTTP, the server answered an error status or broke off, a time-out
// ended the transfer, or the file could not be written; whatever was at `path` is then untouched.
bool UrlDownloadToFile(const std::string& url, const std::string& path);

// The same into `cache` as the entry of `url`; `cachedPath` receives the cached file's path.
bool UrlDownloadToCacheFile(const std::string& url, UrlCache& cache, std::string& cachedPath);

}  // namespace platform
