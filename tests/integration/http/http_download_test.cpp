// Whole-file downloads: a file appears only when the whole answer arrived with a success status; every
// other outcome leaves what was there before and no stray temporary file.
#include "platform/net/http_download.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HttpFixture.h"
#include "platform/base/files.h"
#include "platform/base/paths.h"

using platform::UrlCache;
using platform::UrlDownloadToCacheFile;
using platform::UrlDownloadToFile;

namespace {

class HttpDownloadTest : public HttpFixture {
protected:
    HttpDownloadTest() {
        platform::MakeDirectories(folder);
        server.Get("/files/setup.run", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("#!/bin/sh\necho new\n", "application/octet-stream");
        });
        server.Get("/broken", [](const httplib::Request&, httplib::Response& response) {
            response.status = 500;
            response.set_content("<html>server error</html>", "text/html");
        });
    }

    std::string folder = env.Path("downloads");
    std::string target = folder + "/setup.run";
    UrlCache cache = UrlCache::Default();
};

}  // namespace

TEST_F(HttpDownloadTest, ReplacesTheTargetWithTheWholeAnswer) {
    WriteWholeFile(target, "old installer");
    ASSERT_TRUE(UrlDownloadToFile(server.Url("/files/setup.run"), target));
    EXPECT_EQ(ReadWholeFile(target), "#!/bin/sh\necho new\n");
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"setup.run"}) << "a temporary file was left behind";
}

TEST_F(HttpDownloadTest, AnErrorPageOrABrokenTransferLeavesTheTargetAlone) {
    WriteWholeFile(target, "old installer");
    EXPECT_FALSE(UrlDownloadToFile(server.Url("/broken"), target)) << "an error page is not the file";
    EXPECT_FALSE(UrlDownloadToFile(server.Url("/nowhere"), target));
    ServePartialPage("/cut", "#!/bin/sh\n", Cutoff::Drop);
    EXPECT_FALSE(UrlDownloadToFile(server.Url("/cut"), target));
    EXPECT_FALSE(
        UrlDownloadToFile("https://127.0.0.1:" + std::to_string(server.Port()) + "/files/setup.run", target))
        << "the handshake fails: this server speaks no TLS";
    EXPECT_EQ(ReadWholeFile(target), "old installer");
    EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"setup.run"});
}

TEST_F(HttpDownloadTest, AnAnswerLongerThanTheLimitFailsAsItArrivesAndChangesNothing) {
    ServeEndlessly("/endless");
    const std::string installer = "#!/bin/sh\necho new\n";
    const struct {
        const char* path;
        std::uint64_t limit;
        bool arrives;
    } cases[] = {
        {"/files/setup.run", installer.size(), true},
        {"/files/setup.run", installer.size() - 1, false},
        {"/endless", 1024 * 1024, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " within " + std::to_string(c.limit));
        WriteWholeFile(target, "old installer");
        EXPECT_EQ(UrlDownloadToFile(server.Url(c.path), target, c.limit), c.arrives);
        EXPECT_EQ(ReadWholeFile(target), c.arrives ? installer : "old installer");
        EXPECT_EQ(FilesIn(folder), std::vector<std::string>{"setup.run"});
        std::string cached;
        EXPECT_EQ(UrlDownloadToCacheFile(server.Url(c.path), cache, cached, c.limit), c.arrives);
    }
    EXPECT_EQ(cache.Entries().size(), 1u) << "only the download within its limit was kept";
}

TEST_F(HttpDownloadTest, AnUnusableTargetFailsWithoutTouchingTheServer) {
    EXPECT_FALSE(UrlDownloadToFile(server.Url("/files/setup.run"), folder + "/missing/setup.run"));
    EXPECT_FALSE(UrlDownloadToFile(server.Url("/files/setup.run"), folder + "/" + std::string(5000, 'x')));
    EXPECT_FALSE(UrlDownloadToFile(server.Url("/files/setup.run"), ""));
    EXPECT_EQ(server.Connections(), 0);
}

TEST_F(HttpDownloadTest, IntoTheCacheUnderTheUrlsFileName) {
    std::string url = server.Url("/files/setup.run");
    std::string cached;
    ASSERT_TRUE(UrlDownloadToCacheFile(url, cache, cached));
    EXPECT_EQ(platform::BaseName(cached), "setup.run");
    EXPECT_EQ(cached.rfind(env.CacheHome(), 0), 0u) << cached;
    EXPECT_EQ(ReadWholeFile(cached), "#!/bin/sh\necho new\n");
    std::string found;
    ASSERT_TRUE(cache.Lookup(url, found));
    EXPECT_EQ(found, cached);
    EXPECT_TRUE(FilesIn(cache.Folder() + "/tmp").empty());
}

TEST_F(HttpDownloadTest, AFailedCacheDownloadStoresNothingAndLeavesNoScraps) {
    std::string cached;
    EXPECT_FALSE(UrlDownloadToCacheFile(server.Url("/broken"), cache, cached));
    ServePartialPage("/cut", "partial", Cutoff::Drop);
    EXPECT_FALSE(UrlDownloadToCacheFile(server.Url("/cut"), cache, cached));
    EXPECT_FALSE(UrlDownloadToCacheFile("ftp://127.0.0.1/files/setup.run", cache, cached));
    EXPECT_TRUE(cached.empty());
    EXPECT_TRUE(cache.Entries().empty());
    EXPECT_TRUE(FilesIn(cache.Folder() + "/tmp").empty()) << "a partial download was left in the cache";
}
