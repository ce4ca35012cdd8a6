// Maps file downloads onto the shared libcurl transfer and the atomic file writes.
#include "platform/net/http_download.h"

#include "platform/base/files.h"
#include "platform/net/http_transfer.h"

namespace platform {
namespace {

constexpr unsigned kDownloadMode = 0644;

// An error page is not the file that was asked for: only a complete 2xx answer counts.
bool Succeeded(const HttpTransferResult& result) {
    return result.completed && result.status >= 200 && result.status < 300;
}

bool DownloadTo(const std::string& url, const std::string& path, std::uint64_t maxBytes) {
    if (path.empty() || path.size() > kMaxPathBytes) {
        return false;
    }
    const HttpLimits limits = GetHttpLimits();
    return ReplaceFileWith(path, kDownloadMode, [&](const ByteSink& file) {
        std::uint64_t received = 0;
        const HttpBodySink capped = [&](const char* data, std::size_t size) {
            received += size;
            return received <= maxBytes && file(data, size);
        };
        return Succeeded(RunHttpTransfer(url, limits, capped));
    });
}

}  // namespace

bool UrlDownloadToFile(const std::string& url, const std::string& path, std::uint64_t maxBytes) {
    return DownloadTo(url, path, maxBytes);
}

bool UrlDownloadToCacheFile(const std::string& url, UrlCache& cache, std::string& cachedPath,
                            std::uint64_t maxBytes) {
    if (!IsHttpUrl(url)) {
        return false;
    }
    std::string temporary = cache.CreateTemporaryFile();
    if (temporary.empty()) {
        return false;
    }
    if (DownloadTo(url, temporary, maxBytes) && cache.Store(url, temporary, cachedPath)) {
        return true;
    }
    RemoveFile(temporary);
    return false;
}

}  // namespace platform
