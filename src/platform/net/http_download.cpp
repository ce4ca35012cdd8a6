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

bool DownloadTo(const std::string& url, const std::string& path) {
    if (path.empty() || path.size() > kMaxPathBytes) {
        return false;
    }
    const HttpLimits limits = GetHttpLimits();
    return ReplaceFileWith(path, kDownloadMode, [&](const ByteSink& sink) {
        return Succeeded(RunHttpTransfer(url, limits, sink));
    });
}

}  // namespace

bool UrlDownloadToFile(const std::string& url, const std::string& path) {
    return DownloadTo(url, path);
}

bool UrlDownloadToCacheFile(const std::string& url, UrlCache& cache, std::string& cachedPath) {
    if (!IsPlainHttpUrl(url)) {
        return false;
    }
    std::string temporary = cache.CreateTemporaryFile();
    if (temporary.empty()) {
        return false;
    }
    if (DownloadTo(url, temporary) && cache.Store(url, temporary, cachedPath)) {
        return true;
    }
    RemoveFile(temporary);
    return false;
}

}  // namespace platform
