// Maps the URL cache onto files under its folder and an SQLite index beside them.
#include "platform/net/url_cache.h"

#include <dirent.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "platform/base/files.h"
#include "platform/base/paths.h"
#include "platform/base/sqlite_statement.h"

namespace platform {
namespace {

// Another client may hold the write lock for a moment; wait for it rather than fail.
constexpr int kBusyTimeoutMs = 10000;
// Marks the index as this cache's in the file header, so that no other database is mistaken for it.
constexpr long long kApplicationId = 0x564C5543;
constexpr std::size_t kMaxNameBytes = 120;
constexpr int kMaxEntryFolders = 100;

const char* const kSchema =
    "CREATE TABLE entries("
    "  url TEXT PRIMARY KEY,"
    "  path TEXT NOT NULL UNIQUE,"
    "  stored INTEGER NOT NULL);";

struct DatabaseClose {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Database = std::unique_ptr<sqlite3, DatabaseClose>;

bool Exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// A file nobody else made: a fresh or empty file, or one that carries our mark and table. `fresh` tells
// the two apart. Anything else (garbage, another program's database) is refused untouched.
int CheckIndex(sqlite3* db, bool& fresh) {
    SqliteStatement objects(db, "SELECT count(*) FROM sqlite_master");
    int rc = objects.Step();
    if (rc != SQLITE_ROW) {
        return rc;
    }
    SqliteStatement mark(db, "PRAGMA application_id");
    rc = mark.Step();
    if (rc != SQLITE_ROW) {
        return rc;
    }
    long long id = mark.Int(0);
    fresh = objects.Int(0) == 0;
    if (fresh) {
        return id == 0 || id == kApplicationId ? SQLITE_OK : SQLITE_NOTADB;
    }
    SqliteStatement columns(db, "SELECT url, path, stored FROM entries LIMIT 1");
    return id == kApplicationId && columns.PrepareResult() == SQLITE_OK ? SQLITE_OK : SQLITE_NOTADB;
}

std::string JournalMode(sqlite3* db) {
    SqliteStatement mode(db, "PRAGMA journal_mode");
    return mode.Step() == SQLITE_ROW ? mode.Text(0) : std::string();
}

// Several clients may share the index: WAL lets them read while one writes. Only a new index gets its
// table; `create` false leaves a new file as it is, since a missing table means no entries anyway.
int PrepareIndex(sqlite3* db, bool create) {
    bool fresh = false;
    int rc = CheckIndex(db, fresh);
    if (rc != SQLITE_OK || (fresh && !create)) {
        return rc != SQLITE_OK ? rc : SQLITE_EMPTY;
    }
    if (JournalMode(db) != "wal") {
        SqliteStatement wal(db, "PRAGMA journal_mode=WAL");
        rc = wal.Step();
        if (rc != SQLITE_ROW) {
            return rc;
        }
    }
    if (!fresh) {
        return SQLITE_OK;
    }
    rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        return rc;
    }
    // Another client may have created the table while this one waited for the lock.
    rc = CheckIndex(db, fresh);
    if (rc == SQLITE_OK && fresh) {
        std::string schema = kSchema + ("PRAGMA application_id = " + std::to_string(kApplicationId) + ";");
        rc = sqlite3_exec(db, schema.c_str(), nullptr, nullptr, nullptr);
    }
    if (rc == SQLITE_OK) {
        rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        Exec(db, "ROLLBACK");
    }
    return rc;
}

// Null when the index is missing (and `create` is false), cannot be made, or is not ours.
Database OpenIndex(const std::string& folder, bool create) {
    if (create && !MakeDirectories(folder)) {
        return nullptr;
    }
    std::string path = folder + "/index.db";
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    Database db(raw);
    if (rc != SQLITE_OK) {
        return nullptr;
    }
    sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
    // Two clients switching a new file to WAL at once can get "database is locked" at once instead of
    // waiting in the busy handler; that collision is retried for the busy timeout.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
    for (;;) {
        rc = PrepareIndex(db.get(), create);
        int primary = rc & 0xFF;
        if ((primary != SQLITE_BUSY && primary != SQLITE_LOCKED) ||
            std::chrono::steady_clock::now() > deadline) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return rc == SQLITE_OK ? std::move(db) : nullptr;
}

// Rolls back unless committed, so every early return leaves the index as it was.
class Transaction final {
public:
    explicit Transaction(sqlite3* db) : m_db(db), m_open(Exec(db, "BEGIN IMMEDIATE")) {}
    ~Transaction() {
        if (m_open) {
            Exec(m_db, "ROLLBACK");
        }
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool Began() const { return m_open; }
    bool Commit() {
        m_open = !Exec(m_db, "COMMIT");
        return !m_open;
    }

private:
    sqlite3* m_db;
    bool m_open;
};

// The index keeps paths relative to the cache folder; one that climbs out of the files folder was not
// written by this code and is never opened or deleted.
bool IsOwnPath(const std::string& relative) {
    if (relative.compare(0, 6, "files/") != 0) {
        return false;
    }
    for (std::size_t start = 6; start <= relative.size();) {
        std::size_t end = std::min(relative.find('/', start), relative.size());
        std::string segment = relative.substr(start, end - start);
        if (segment.empty() || segment == "." || segment == "..") {
            return false;
        }
        start = end + 1;
    }
    return true;
}

// SQLITE_ROW with the entry's path, SQLITE_DONE when there is none, or an error.
int FindPath(sqlite3* db, const std::string& url, std::string& relative) {
    SqliteStatement find(db, "SELECT path FROM entries WHERE url = ?1");
    find.Bind(1, url);
    int rc = find.Step();
    if (rc == SQLITE_ROW) {
        relative = find.Text(0);
    }
    return rc;
}

// Makes `relative` the entry of `url`, last in the order; `replaced` receives the path it had before.
bool RecordEntry(sqlite3* db, const std::string& url, const std::string& relative, std::string& replaced) {
    Transaction transaction(db);
    int found = transaction.Began() ? FindPath(db, url, replaced) : SQLITE_ERROR;
    if (found != SQLITE_ROW && found != SQLITE_DONE) {
        return false;
    }
    SqliteStatement remove(db, "DELETE FROM entries WHERE url = ?1");
    remove.Bind(1, url);
    SqliteStatement insert(db,
                           "INSERT INTO entries(url, path, stored) "
                           "SELECT ?1, ?2, coalesce(max(stored), 0) + 1 FROM entries");
    insert.Bind(1, url);
    insert.Bind(2, relative);
    return remove.Step() == SQLITE_DONE && insert.Step() == SQLITE_DONE && transaction.Commit();
}

// Removes a cached file and the folder that held only it.
void RemoveCachedFile(const std::string& folder, const std::string& relative) {
    if (IsOwnPath(relative)) {
        std::string path = folder + "/" + relative;
        RemoveFile(path);
        rmdir(DirName(path).c_str());
    }
}

bool HasCachedFile(const std::string& folder, const std::string& relative) {
    return IsOwnPath(relative) && IsRegularFile(folder + "/" + relative);
}

// Drops an entry whose file has gone, unless another client has stored a new file for it meanwhile.
void DropStale(sqlite3* db, const std::string& folder, const std::string& url, const std::string& relative) {
    SqliteStatement drop(db, "DELETE FROM entries WHERE url = ?1 AND path = ?2");
    drop.Bind(1, url);
    drop.Bind(2, relative);
    drop.Step();
    if (IsOwnPath(relative)) {
        rmdir(DirName(folder + "/" + relative).c_str());
    }
}

std::string HashHex(const std::string& text) {
    // FNV-1a: stable across runs and builds, which std::hash is not required to be.
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char byte : text) {
        hash = (hash ^ byte) * 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string PercentDecode(const std::string& text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        int high = text[i] == '%' && i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
        int low = high >= 0 ? HexValue(text[i + 2]) : -1;
        if (low >= 0) {
            decoded += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

// The last segment of the URL's path, as a browser would name the download, made safe as one file name.
std::string CachedFileName(const std::string& url) {
    std::string path = url.substr(0, url.find_first_of("?#"));
    std::size_t scheme = path.find("://");
    if (scheme != std::string::npos) {
        std::size_t slash = path.find('/', scheme + 3);
        path = slash == std::string::npos ? std::string() : path.substr(slash);
    }
    std::string name = PercentDecode(path.substr(path.find_last_of('/') + 1));
    for (char& c : name) {
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = '_';
        }
    }
    if (name.size() > kMaxNameBytes) {
        // Keep the suffix, which decides how the desktop opens the file.
        std::size_t dot = name.find_last_of('.');
        std::string suffix = dot != std::string::npos && name.size() - dot <= 16 ? name.substr(dot) : "";
        std::size_t cut = kMaxNameBytes - suffix.size();
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
            --cut;  // never split a UTF-8 sequence
        }
        name = name.substr(0, cut) + suffix;
    }
    return name.empty() || name == "." || name == ".." ? "index" : name;
}

// Each stored file gets a folder of its own, so that it keeps its name exactly and a new file never
// overwrites the one it replaces before the index says so. Creating the folder claims it, also against
// other clients. The folder relative to the cache, or empty.
std::string ClaimEntryFolder(const std::string& folder, const std::string& url) {
    if (!MakeDirectories(folder + "/files")) {
        return {};
    }
    const std::string hash = HashHex(url);
    for (int n = 0; n < kMaxEntryFolders; ++n) {
        std::string candidate = "files/" + hash + (n == 0 ? "" : "-" + std::to_string(n));
        if (mkdir((folder + "/" + candidate).c_str(), 0700) == 0) {
            return candidate;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return {};
}

}  // namespace

UrlCache UrlCache::Default() {
    return UrlCache(CacheHome() + "/Velmora/urlcache");
}

UrlCache::UrlCache(std::string folder) : m_folder(std::move(folder)) {}

int UrlCache::SweepTemporaryFiles(std::chrono::seconds age) const {
    const std::string folder = m_folder + "/tmp";
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir) {
        return 0;
    }
    const auto now = std::chrono::system_clock::now();
    int removed = 0;
    while (dirent* entry = readdir(dir.get())) {
        const std::string path = folder + "/" + entry->d_name;
        struct stat info {};
        if (std::string(entry->d_name).rfind("download-", 0) != 0 || lstat(path.c_str(), &info) != 0 ||
            !S_ISREG(info.st_mode)) {
            continue;
        }
        const auto written = std::chrono::system_clock::from_time_t(info.st_mtime);
        if (now - written > age && unlink(path.c_str()) == 0) {
            ++removed;
        }
    }
    return removed;
}

std::string UrlCache::CreateTemporaryFile() const {
    std::string folder = m_folder + "/tmp";
    if (!MakeDirectories(folder)) {
        return {};
    }
    std::string pattern = folder + "/download-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    int fd = mkostemp(buffer.data(), O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    close(fd);
    return buffer.data();
}

bool UrlCache::Store(const std::string& url, const std::string& file, std::string& path) {
    Database db = IsRegularFile(file) ? OpenIndex(m_folder, true) : nullptr;
    if (!db) {
        return false;
    }
    std::string relative = ClaimEntryFolder(m_folder, url);
    if (relative.empty()) {
        return false;
    }
    relative += "/" + CachedFileName(url);
    const std::string target = m_folder + "/" + relative;
    // The file moves in before the index is locked: a copy from another file system may take a while,
    // and other clients must not wait for it.
    bool renamed = std::rename(file.c_str(), target.c_str()) == 0;
    bool copied = !renamed && errno == EXDEV && CopyFile(file, target, false);

    std::string replaced;
    bool recorded = (renamed || copied) && RecordEntry(db.get(), url, relative, replaced);
    if (!recorded) {
        if (renamed && std::rename(target.c_str(), file.c_str()) != 0) {
            // The file cannot go back; kept unlisted in the cache folder, it is at least not lost.
            return false;
        }
        if (copied) {
            RemoveFile(target);
        }
        rmdir(DirName(target).c_str());
        return false;
    }
    if (copied) {
        RemoveFile(file);
    }
    if (!replaced.empty()) {
        RemoveCachedFile(m_folder, replaced);
    }
    path = target;
    return true;
}

bool UrlCache::Lookup(const std::string& url, std::string& path) const {
    Database db = OpenIndex(m_folder, false);
    std::string relative;
    if (!db || FindPath(db.get(), url, relative) != SQLITE_ROW) {
        return false;
    }
    if (!HasCachedFile(m_folder, relative)) {
        DropStale(db.get(), m_folder, url, relative);
        return false;
    }
    path = m_folder + "/" + relative;
    return true;
}

bool UrlCache::Delete(const std::string& url) {
    Database db = OpenIndex(m_folder, false);
    if (!db) {
        return false;
    }
    Transaction transaction(db.get());
    std::string relative;
    if (!transaction.Began() || FindPath(db.get(), url, relative) != SQLITE_ROW) {
        return false;
    }
    SqliteStatement remove(db.get(), "DELETE FROM entries WHERE url = ?1");
    remove.Bind(1, url);
    if (remove.Step() != SQLITE_DONE || !transaction.Commit()) {
        return false;
    }
    RemoveCachedFile(m_folder, relative);
    return true;
}

std::vector<UrlCacheEntry> UrlCache::Entries() const {
    std::vector<UrlCacheEntry> entries;
    Database db = OpenIndex(m_folder, false);
    if (!db) {
        return entries;
    }
    std::vector<UrlCacheEntry> stale;
    {
        SqliteStatement list(db.get(), "SELECT url, path FROM entries ORDER BY stored");
        while (list.Step() == SQLITE_ROW) {
            UrlCacheEntry entry{list.Text(0), list.Text(1)};
            (HasCachedFile(m_folder, entry.path) ? entries : stale).push_back(entry);
        }
    }
    for (const UrlCacheEntry& entry : stale) {
        DropStale(db.get(), m_folder, entry.url, entry.path);
    }
    for (UrlCacheEntry& entry : entries) {
        entry.path = m_folder + "/" + entry.path;
    }
    return entries;
}

}  // namespace platform
