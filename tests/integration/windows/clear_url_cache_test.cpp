// The cache cleaner over a real URL cache in a temporary folder, and the engine's part through the
// headless backend.
#include "windows/ClearUrlCache.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <ctime>

#include "platform/base/text.h"
#include "platform/headless/headless_browser.h"
#include "platform/net/url_cache.h"
#include "platform/ui/message_loop.h"
#include "platform/ui/message_queue.h"
#include "support/TempDir.h"

namespace {

class ClearUrlCacheTest : public ::testing::Test {
protected:
    ClearUrlCacheTest() : cache(dir / "cache") {
        platform::MessageQueue::Instance().Reset();
        platform::headless::RemovedSiteData().clear();
    }
    void Add(const std::string& url) {
        const std::string file = cache.CreateTemporaryFile();
        WriteWholeFile(file, url);
        std::string path;
        ASSERT_TRUE(cache.Store(url, file, path)) << url;
    }
    std::vector<std::string> Urls() const {
        std::vector<std::string> urls;
        for (const auto& entry : cache.Entries()) {
            urls.push_back(entry.url);
        }
        return urls;
    }
    // Clears, and says whether the callback came on a later turn of the loop.
    bool Clear(const std::wstring& filter) {
        bool done = false;
        ClearUrlCache(cache, filter, [&] { done = true; });
        const bool early = done;
        platform::PumpUntilIdle();
        return !early && done;
    }

    TempDir dir;
    platform::UrlCache cache;
};

}  // namespace

TEST_F(ClearUrlCacheTest, EveryEntryContainingTheFilterGoesAndNoOther) {
    const struct {
        const wchar_t* filter;
        std::vector<std::string> left;
    } cases[] = {
        {L"game.velmora.test", {"http://portal.velmora.test/a.png", "http://cdn.test/game.VELMORA.test.js"}},
        {L"GAME.velmora.test",
         {"http://game.velmora.test/main.swf", "http://game.velmora.test/img/ship.png",
          "http://portal.velmora.test/a.png", "http://cdn.test/game.VELMORA.test.js",
          "http://game.velmora.test:8080/x"}},
        {L"",
         {"http://game.velmora.test/main.swf", "http://game.velmora.test/img/ship.png",
          "http://portal.velmora.test/a.png", "http://cdn.test/game.VELMORA.test.js",
          "http://game.velmora.test:8080/x"}},
    };
    for (const auto& c : cases) {
        for (const auto& entry : cache.Entries()) {
            cache.Delete(entry.url);
        }
        for (const char* url : {"http://game.velmora.test/main.swf", "http://game.velmora.test/img/ship.png",
                                "http://portal.velmora.test/a.png", "http://cdn.test/game.VELMORA.test.js",
                                "http://game.velmora.test:8080/x"}) {
            Add(url);
        }
        platform::headless::RemovedSiteData().clear();
        EXPECT_TRUE(Clear(c.filter));
        EXPECT_EQ(Urls(), c.left) << platform::WideToUtf8(c.filter);
        EXPECT_EQ(platform::headless::RemovedSiteData(), std::vector<std::wstring>{c.filter})
            << "the engine is asked for the same text";
    }
}

TEST_F(ClearUrlCacheTest, OnlyDownloadsLeftBehindLongAgoAreSwept) {
    const std::string stale = cache.CreateTemporaryFile();
    const std::string fresh = cache.CreateTemporaryFile();
    const std::string other = dir / "cache/tmp/notes.txt";
    WriteWholeFile(other, "x");
    const std::time_t twoDaysAgo = std::time(nullptr) - 2 * 24 * 3600;
    for (const std::string& path : {stale, other}) {
        utimbuf times{twoDaysAgo, twoDaysAgo};
        ASSERT_EQ(utime(path.c_str(), &times), 0);
    }
    EXPECT_TRUE(Clear(L"game"));
    struct stat info {};
    EXPECT_NE(stat(stale.c_str(), &info), 0) << "a killed download of two days ago";
    EXPECT_EQ(stat(fresh.c_str(), &info), 0) << "another client's download in progress";
    EXPECT_EQ(stat(other.c_str(), &info), 0) << "not a download";
}
