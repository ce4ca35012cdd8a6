#pragma once
// Downloads of whole files over the client's HTTP service (the same agent, proxy and time-outs as
// HttpGet), to a path or into the URL cache. A download either completes or changes nothing: the bytes
// go to a temporary file that takes its place only when the whole answer has arrived with a success
// status. An answer longer than the download's limit is ended as soon as it passes it, so a broken or
// hostile server cannot fill the disk.

#include <cstdint>
#include <string>

#include "platform/net/url_cache.h"

namespace platform {

// The limit of a download that names none.
constexpr std::uint64_t kDefaultMaxDownloadBytes = std::uint64_t{512} << 20;

// False when the URL is not plain HTTP, the server answered an error status or broke off, a time-out
// ended the transfer, the answer grew past `maxBytes`, or the file could not be written; whatever was at
// `path` is then untouched.
bool UrlDownloadToFile(const std::string& url, const std::string& path,
                       std::uint64_t maxBytes = kDefaultMaxDownloadBytes);

// The same into `cache` as the entry of `url`; `cachedPath` receives the cached file's path.
bool UrlDownloadToCacheFile(const std::string& url, UrlCache& cache, std::string& cachedPath,
                            std::uint64_t maxBytes = kDefaultMaxDownloadBytes);

}  // namespace platform
