// The URL cache on real folders: entries kept in the order they were stored, replaced whole, dropped
// when their file has gone, and a cache that cannot be used failing without touching anything.
#include "platform/net/url_cache.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "UserEnvironment.h"
#include "platform/base/files.h"

using platform::UrlCache;
using platform::UrlCacheEntry;

namespace {

using platform::BaseName;

// The entries as (URL, content of the cached file), in the cache's order.
using Listing = std::vector<std::pair<std::string, std::string>>;

Listing Listed(const UrlCache& cache) {
    Listing listed;
    for (const UrlCacheEntry& entry : cache.Entries()) {
        listed.emplace_back(entry.url, ReadWholeFile(entry.path));
    }
    return listed;
}

class UrlCacheTest : public ::testing::Test {
protected:
    // A finished download waiting to be stored, as the download code leaves it.
    std::string Downloaded(const std::string& content) {
        std::string file = cache.CreateTemporaryFile();
        EXPECT_FALSE(file.empty());
        WriteWholeFile(file, content);
        return file;
    }

    std::string StoreNew(const std::string& url, const std::string& content) {
        std::string path;
        EXPECT_TRUE(cache.Store(url, Downloaded(content), path)) << url;
        return path;
    }

    UserEnvironment env;
    UrlCache cache = UrlCache::Default();
};

const char kSetup[] = "http://127.0.0.1/files/setup.exe";
const char kNotice[] = "http://127.0.0.1/notice.txt";

}  // namespace

TEST_F(UrlCacheTest, StoresLooksUpEnumeratesInOrderAndDeletes) {
    EXPECT_EQ(cache.Folder(), env.CacheHome() + "/Velmora/urlcache");
    std::string file = Downloaded("installer v1");
    EXPECT_EQ(file.compare(0, cache.Folder().size() + 5, cache.Folder() + "/tmp/"), 0) << file;
    std::string path;
    ASSERT_TRUE(cache.Store(kSetup, file, path));
    EXPECT_FALSE(platform::PathExists(file)) << "the download was moved in, not copied";
    EXPECT_EQ(ReadWholeFile(path), "installer v1");
    StoreNew(kNotice, "notice");

    std::string found;
    ASSERT_TRUE(cache.Lookup(kSetup, found));
    EXPECT_EQ(found, path);
    EXPECT_FALSE(cache.Lookup("http://127.0.0.1/never-stored", found));
    EXPECT_EQ(Listed(cache), (Listing{{kSetup, "installer v1"}, {kNotice, "notice"}}));

    EXPECT_TRUE(cache.Delete(kSetup));
    EXPECT_FALSE(platform::PathExists(path));
    EXPECT_FALSE(cache.Lookup(kSetup, found));
    EXPECT_FALSE(cache.Delete(kSetup)) << "nothing left to delete";
    EXPECT_EQ(Listed(cache), (Listing{{kNotice, "notice"}}));
}

TEST_F(UrlCacheTest, StoringAgainReplacesTheEntryAndItsFileAndMovesItLast) {
    std::string first = StoreNew(kSetup, "installer v1");
    StoreNew(kNotice, "notice");
    std::string second = StoreNew(kSetup, "installer v2");

    EXPECT_FALSE(platform::PathExists(first)) << "the replaced file is deleted";
    std::string found;
    ASSERT_TRUE(cache.Lookup(kSetup, found));
    EXPECT_EQ(found, second);
    EXPECT_EQ(ReadWholeFile(found), "installer v2");
    EXPECT_EQ(Listed(cache), (Listing{{kNotice, "notice"}, {kSetup, "installer v2"}}));

    // A third store must not collide with what the first one left behind.
    std::string third = StoreNew(kSetup, "installer v3");
    EXPECT_FALSE(platform::PathExists(second));
    EXPECT_EQ(ReadWholeFile(third), "installer v3");
}

TEST_F(UrlCacheTest, CachedFileKeepsTheNameFromTheUrl) {
    const std::pair<std::string, std::string> cases[] = {
        {"http://a.example/dl/Game%20Setup.exe?v=2#top", "Game Setup.exe"},
        {"http://b.example/dl/Game%20Setup.exe", "Game Setup.exe"},  // the same name from elsewhere
        {"http://a.example/", "index"},
        {"http://a.example", "index"},
        {"http://a.example/x/..", "index"},
        {"http://a.example/a%2F..%2Fb", "a_.._b"},
        {"http://a.example/%00%0Aname", "__name"},
        {"http://a.example/\xE6\x98\x9F.txt", "\xE6\x98\x9F.txt"},
    };
    std::vector<std::string> paths;
    for (const auto& [url, name] : cases) {
        std::string path = StoreNew(url, url);
        EXPECT_EQ(BaseName(path), name) << url;
        EXPECT_EQ(path.compare(0, cache.Folder().size() + 1, cache.Folder() + "/"), 0) << path;
        EXPECT_EQ(ReadWholeFile(path), url) << "each URL has a file of its own";
        paths.push_back(path);
    }
    EXPECT_NE(paths[0], paths[1]);

    // A name too long for a file system is shortened but keeps its suffix, and no UTF-8 character is cut.
    std::string longName;
    for (int i = 0; i < 100; ++i) {
        longName += "\xE6\x98\x9F";
    }
    std::string path = StoreNew("http://a.example/" + longName + ".exe", "long");
    std::string name = BaseName(path);
    EXPECT_LE(name.size(), 120u);
    EXPECT_EQ(name.substr(name.size() - 4), ".exe");
    EXPECT_EQ((name.size() - 4) % 3, 0u) << name;
}

TEST_F(UrlCacheTest, EntryWhoseFileHasGoneIsDropped) {
    std::string setup = StoreNew(kSetup, "installer");
    std::string notice = StoreNew(kNotice, "notice");
    ASSERT_EQ(unlink(setup.c_str()), 0);

    std::string found;
    EXPECT_FALSE(cache.Lookup(kSetup, found));
    WriteWholeFile(setup, "put back by hand");
    EXPECT_FALSE(cache.Lookup(kSetup, found)) << "the entry went with its file";
    EXPECT_FALSE(cache.Delete(kSetup));

    ASSERT_EQ(unlink(notice.c_str()), 0);
    EXPECT_TRUE(cache.Entries().empty());
    WriteWholeFile(notice, "put back by hand");
    EXPECT_TRUE(cache.Entries().empty()) << "enumerating dropped the entry as well";
}

TEST_F(UrlCacheTest, FailedStoreLeavesTheFileAndTheCacheAsTheyWere) {
    StoreNew(kNotice, "notice");
    std::string path = "unchanged";
    EXPECT_FALSE(cache.Store(kSetup, env.Path("no-such-file"), path));
    EXPECT_FALSE(cache.Store(kSetup, env.Home(), path)) << "a folder is no download";

    // Nothing can be created where the cached files go.
    std::string file = Downloaded("installer");
    std::string files = cache.Folder() + "/files";
    std::string keep = env.Path("files-aside");
    ASSERT_EQ(rename(files.c_str(), keep.c_str()), 0);
    WriteWholeFile(files, "in the way");
    EXPECT_FALSE(cache.Store(kSetup, file, path));
    EXPECT_EQ(path, "unchanged");
    EXPECT_EQ(ReadWholeFile(file), "installer") << "the download stays where it was";
    EXPECT_EQ(ReadWholeFile(files), "in the way");

    ASSERT_EQ(unlink(files.c_str()), 0);
    ASSERT_EQ(rename(keep.c_str(), files.c_str()), 0);
    EXPECT_EQ(Listed(cache), (Listing{{kNotice, "notice"}}));
}

TEST_F(UrlCacheTest, FolderBlockedByAFileFailsCleanly) {
    // A file where a folder should be defeats even root, unlike permission bits.
    WriteWholeFile(env.Path("blocked"), "not a folder");
    UrlCache blocked(env.Path("blocked/cache"));
    std::string file = Downloaded("installer");

    EXPECT_EQ(blocked.CreateTemporaryFile(), "");
    std::string path;
    EXPECT_FALSE(blocked.Store(kSetup, file, path));
    EXPECT_EQ(ReadWholeFile(file), "installer");
    EXPECT_FALSE(blocked.Lookup(kSetup, path));
    EXPECT_FALSE(blocked.Delete(kSetup));
    EXPECT_TRUE(blocked.Entries().empty());
    EXPECT_EQ(ReadWholeFile(env.Path("blocked")), "not a folder");
}

TEST_F(UrlCacheTest, IndexThatIsNotOursIsLeftByteForByte) {
    const std::string index = cache.Folder() + "/index.db";
    auto database = [&](const char* sql) {
        unlink(index.c_str());
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(index.c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    };
    const std::pair<const char*, std::function<void()>> foreign[] = {
        {"garbage", [&] { WriteWholeFile(index, std::string(4096, '\x5A')); }},
        {"another program's database",
         [&] { database("CREATE TABLE notes(text); INSERT INTO notes VALUES ('x');"); }},
        // The right table without this cache's mark in the header is still someone else's.
        {"a look-alike",
         [&] { database("CREATE TABLE entries(url TEXT PRIMARY KEY, path TEXT, stored INTEGER);"); }},
        {"a marked empty database of another program", [&] { database("PRAGMA application_id = 7;"); }},
    };
    std::string file = Downloaded("installer");
    for (const auto& [what, make] : foreign) {
        make();
        const std::string before = ReadWholeFile(index);
        std::string path;
        EXPECT_FALSE(cache.Store(kSetup, file, path)) << what;
        EXPECT_EQ(ReadWholeFile(file), "installer") << what;
        EXPECT_FALSE(cache.Lookup(kSetup, path)) << what;
        EXPECT_FALSE(cache.Delete(kSetup)) << what;
        EXPECT_TRUE(cache.Entries().empty()) << what;
        EXPECT_TRUE(ReadWholeFile(index) == before) << what << " is left as it was";
    }
}

TEST_F(UrlCacheTest, FileFromAnotherFileSystemIsCopiedIn) {
    struct stat shm {};
    struct stat here {};
    if (stat("/dev/shm", &shm) != 0 || stat(env.CacheHome().c_str(), &here) != 0 ||
        shm.st_dev == here.st_dev) {
        GTEST_SKIP() << "no second file system to download from";
    }
    char name[] = "/dev/shm/velmora-download-XXXXXX";
    int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    close(fd);
    WriteWholeFile(name, "from elsewhere");
    std::string path;
    bool stored = cache.Store(kSetup, name, path);
    bool left = platform::PathExists(name);
    unlink(name);
    ASSERT_TRUE(stored);
    EXPECT_FALSE(left) << "the source goes once the copy is in";
    EXPECT_EQ(ReadWholeFile(path), "from elsewhere");
}

TEST_F(UrlCacheTest, SeveralClientsShareOneNewCache) {
    constexpr int kClients = 4;
    constexpr int kEach = 8;
    std::vector<std::thread> clients;
    std::vector<int> failures(kClients, 0);
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back([&, c] {
            UrlCache own(cache.Folder());  // each opens the index on its own, as another process would
            for (int i = 0; i < kEach; ++i) {
                std::string url = "http://127.0.0.1/" + std::to_string(c) + "/" + std::to_string(i);
                std::string file = own.CreateTemporaryFile();
                WriteWholeFile(file, url);
                std::string path;
                failures[c] += own.Store(url, file, path) ? 0 : 1;
            }
        });
    }
    for (std::thread& client : clients) {
        client.join();
    }
    EXPECT_EQ(failures, std::vector<int>(kClients, 0));
    auto listed = Listed(cache);
    ASSERT_EQ(listed.size(), static_cast<std::size_t>(kClients * kEach));
    std::vector<int> next(kClients, 0);
    for (const auto& [url, content] : listed) {
        EXPECT_EQ(content, url);
        int c = url[17] - '0';
        EXPECT_EQ(url, "http://127.0.0.1/" + std::to_string(c) + "/" + std::to_string(next[c]++))
            << "each client's entries keep the order it stored them in";
    }
}
