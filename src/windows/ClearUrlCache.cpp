#include "windows/ClearUrlCache.h"

#include <chrono>
#include <utility>

#include "platform/base/text.h"
#include "platform/net/url_cache.h"
#include "platform/web/browser.h"

namespace {

constexpr std::chrono::hours kStaleDownload{24};

}  // namespace

void ClearUrlCache(const std::wstring& filter, std::function<void()> done) {
    platform::UrlCache cache = platform::UrlCache::Default();
    ClearUrlCache(cache, filter, std::move(done));
}

void ClearUrlCache(platform::UrlCache& cache, const std::wstring& filter, std::function<void()> done) {
    if (!filter.empty()) {
        // Every matching entry: removing one of hundreds would not make the game load anew.
        const std::string part = platform::WideToUtf8(filter);
        for (const platform::UrlCacheEntry& entry : cache.Entries()) {
            if (entry.url.find(part) != std::string::npos) {
                cache.Delete(entry.url);
            }
        }
        cache.SweepTemporaryFiles(kStaleDownload);
    }
    platform::RemoveCachedSiteData(filter, std::move(done));
}
