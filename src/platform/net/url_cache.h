#pragma once
// The client's URL cache: downloaded files kept under the URL they came from, in
// $XDG_CACHE_HOME/Velmora/urlcache (default ~/.cache) with an SQLite index, so several clients can use
// it at once. The browser engine keeps its own cache beside it. Entries enumerate in the order they were
// stored.

#include <chrono>
#include <string>
#include <vector>

namespace platform {

struct UrlCacheEntry {
    std::string url;
    std::string path;  // the cached file
};

class UrlCache final {
public:
    // The cache under the current environment's $XDG_CACHE_HOME.
    static UrlCache Default();
    explicit UrlCache(std::string folder);

    const std::string& Folder() const { return m_folder; }

    // A new empty file in the cache's folder for a download in progress, so that Store can move it in
    // place without copying. Empty on failure.
    std::string CreateTemporaryFile() const;
    // Moves `file` into the cache as the entry of `url`, replacing an earlier entry and its file.
    // `path` receives the cached file's path, which keeps the URL's file name (an installer keeps its
    // name and suffix). On failure the cache is as before and `file` is left where it was.
    bool Store(const std::string& url, const std::string& file, std::string& path);
    // False when there is no entry or its file has gone (the stale entry is then dropped).
    bool Lookup(const std::string& url, std::string& path) const;
    // Removes the entry and its file; false when there was none.
    bool Delete(const std::string& url);
    std::vector<UrlCacheEntry> Entries() const;
    // Removes the temporary files of downloads last written more than `age` ago: a killed process left
    // them behind. A younger one may be another client's download in progress. Returns how many went.
    int SweepTemporaryFiles(std::chrono::seconds age) const;

private:
    std::string m_folder;
};

}  // namespace platform
