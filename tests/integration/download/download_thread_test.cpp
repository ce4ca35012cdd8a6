// The downloader on a real server: requests one after another in their order, each reported to its
// window with its own message and id, results kept by id, and nothing half-written left anywhere.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DownloadFixture.h"
#include "platform/base/text.h"
#include "platform/net/url_cache.h"

using platform::Utf8ToWide;
using platform::WideToUtf8;

namespace {

bool SameRecord(const THREAD_PARAM_DOWN& a, const THREAD_PARAM_DOWN& b) {
    return a.strName == b.strName && a.strUrl == b.strUrl && a.strSavePath == b.strSavePath &&
           a.strExtra == b.strExtra && a.nFileSize == b.nFileSize && a.nMsg == b.nMsg && a.nId == b.nId &&
           a.bRetry == b.bRetry && a.nReserved == b.nReserved && a.hNotifyWnd == b.hNotifyWnd;
}

// A record that a lookup without a result must leave exactly as it is.
THREAD_PARAM_DOWN Sentinel() {
    THREAD_PARAM_DOWN record;
    record.strName = L"name";
    record.strUrl = L"untouched";
    record.nId = -5;
    return record;
}

}  // namespace

TEST_F(DownloadTest, RequestsQueuedBeforeOneSignalRunInOrderWithTheirOwnMessages) {
    Serve("/version.xml", "<version>1.0.0.2</version>");
    Serve("/files/setup.run", "installer bytes");
    THREAD_PARAM_DOWN first = Request("/version.xml", kVersionMsg, Utf8ToWide(temp + "/version.xml"));
    first.strExtra = L"extra";
    first.nReserved = 9;
    int firstId = Queue(first);
    int secondId = Queue(Request("/files/setup.run", kInstallerMsg));
    EXPECT_EQ(firstId, 0);
    EXPECT_EQ(secondId, 1);
    Signal();

    ASSERT_TRUE(WaitForCompletions(2));
    EXPECT_EQ(receiver.received,
              (std::vector<Completion>{{kVersionMsg, 0, firstId}, {kInstallerMsg, 0, secondId}}));
    std::vector<std::string> order;
    for (const auto& request : server.Requests()) {
        order.push_back(request.path);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"/version.xml", "/files/setup.run"}));

    THREAD_PARAM_DOWN saved = Result(firstId);
    EXPECT_EQ(saved.strUrl, Utf8ToWide(temp + "/version.xml")) << "the result names the local file";
    EXPECT_EQ(saved.strName, first.strName);
    EXPECT_EQ(saved.strExtra, L"extra");
    EXPECT_EQ(saved.nReserved, 9);
    EXPECT_EQ(saved.nId, firstId);
    EXPECT_EQ(ReadWholeFile(temp + "/version.xml"), "<version>1.0.0.2</version>");
    EXPECT_TRUE(SameRecord(saved, Result(firstId))) << "a result can be read again";

    std::string cached = WideToUtf8(Result(secondId).strUrl);
    EXPECT_EQ(cached.rfind(env.CacheHome(), 0), 0u)
        << "without a target the file goes into the cache: " << cached;
    EXPECT_EQ(ReadWholeFile(cached), "installer bytes");
    std::string found;
    EXPECT_TRUE(platform::UrlCache::Default().Lookup(server.Url("/files/setup.run"), found));
    EXPECT_EQ(found, cached);
}

TEST_F(DownloadTest, ARequestAddedWhileBusyNeedsNoFurtherSignal) {
    platform::Event inside;
    platform::Event release;
    server.Get("/slow", [&](const httplib::Request&, httplib::Response& response) {
        inside.Set();
        release.Wait(10000);
        response.set_content("slow", "text/plain");
    });
    Serve("/quick", "quick");
    Queue(Request("/slow"));
    Signal();
    ASSERT_TRUE(inside.Wait(10000));
    int quickId = Queue(Request("/quick", kInstallerMsg));
    release.Set();

    ASSERT_TRUE(WaitForCompletions(2));
    EXPECT_EQ(receiver.received.back(), (Completion{kInstallerMsg, 0, quickId}));
    EXPECT_EQ(ReadWholeFile(WideToUtf8(Result(quickId).strUrl)), "quick");
}

TEST_F(DownloadTest, AFailureWithoutRetryIsReportedWithoutAResult) {
    std::string target = temp + "/setup.run";
    WriteWholeFile(target, "the installer the user has");
    int missingId = Queue(Request("/missing", kInstallerMsg, Utf8ToWide(target)));
    int cachedId = Queue(Request("/also-missing"));
    Signal();

    ASSERT_TRUE(WaitForCompletions(2));
    EXPECT_EQ(receiver.received[0], (Completion{kInstallerMsg, 0, missingId})) << "a 404 is a failure too";
    EXPECT_EQ(RequestsFor("/missing"), 1) << "tried once";
    for (int id : {missingId, cachedId, 42}) {
        THREAD_PARAM_DOWN record = Sentinel();
        worker->GetResult(id, record);
        EXPECT_TRUE(SameRecord(record, Sentinel())) << "id " << id;
    }
    EXPECT_EQ(ReadWholeFile(target), "the installer the user has") << "an error page replaced the file";
    EXPECT_TRUE(platform::UrlCache::Default().Entries().empty());
}

TEST_F(DownloadTest, ADroppedConnectionLeavesNoPartialFile) {
    std::string target = temp + "/setup.run";
    WriteWholeFile(target, "previous");
    ServePartialPage("/cut", "#!/bin/sh\n", Cutoff::Drop);
    Queue(Request("/cut", kInstallerMsg, Utf8ToWide(target)));
    Queue(Request("/cut"));
    Signal();

    ASSERT_TRUE(WaitForCompletions(2));
    EXPECT_EQ(ReadWholeFile(target), "previous");
    EXPECT_EQ(FilesIn(temp), std::vector<std::string>{"setup.run"}) << "a temporary file was left behind";
    platform::UrlCache cache = platform::UrlCache::Default();
    EXPECT_TRUE(cache.Entries().empty());
    EXPECT_TRUE(FilesIn(cache.Folder() + "/tmp").empty());
}

TEST_F(DownloadTest, AFileOfTheExpectedSizeCountsAsDoneButItsCacheEntryStillGoes) {
    std::string url = server.Url("/files/setup.run");
    std::string target = temp + "/setup.run";
    Serve("/files/setup.run", "fresh download");
    WriteWholeFile(target, "12345");
    platform::UrlCache cache = platform::UrlCache::Default();
    std::string staged = cache.CreateTemporaryFile();
    WriteWholeFile(staged, "stale copy");
    std::string cachedPath;
    ASSERT_TRUE(cache.Store(url, staged, cachedPath));

    THREAD_PARAM_DOWN req = Request("/files/setup.run", kInstallerMsg, Utf8ToWide(target));
    req.nFileSize = 5;
    int sameSizeId = Queue(req);
    Signal();
    ASSERT_TRUE(WaitForCompletions(1));
    EXPECT_EQ(Result(sameSizeId).strUrl, Utf8ToWide(target));
    EXPECT_EQ(RequestsFor("/files/setup.run"), 0) << "fetched again";
    EXPECT_EQ(ReadWholeFile(target), "12345");
    std::string found;
    EXPECT_FALSE(cache.Lookup(url, found)) << "the cache entry was kept";

    // Another size, or none given: the file is fetched and replaced.
    req.nFileSize = 4;
    Queue(req);
    req.nFileSize = 0;
    WriteWholeFile(temp + "/other.run", "12345");
    req.strSavePath = Utf8ToWide(temp + "/other.run");
    Queue(req);
    Signal();
    ASSERT_TRUE(WaitForCompletions(3));
    EXPECT_EQ(RequestsFor("/files/setup.run"), 2);
    EXPECT_EQ(ReadWholeFile(target), "fresh download");
    EXPECT_EQ(ReadWholeFile(temp + "/other.run"), "fresh download");
}

TEST_F(DownloadTest, TheTargetMayNameTheTemporaryFolder) {
    Serve("/files/setup.run", "installer");
    int id = Queue(Request("/files/setup.run", kInstallerMsg, L"%TEMP%/setup.run"));
    Signal();
    ASSERT_TRUE(WaitForCompletions(1));
    EXPECT_EQ(Result(id).strUrl, Utf8ToWide(temp + "/setup.run")) << "the result holds the expanded path";
    EXPECT_EQ(ReadWholeFile(temp + "/setup.run"), "installer");
}

TEST_F(DownloadTest, ATargetPathLongerThanTheSystemAllowsFails) {
    Serve("/files/setup.run", "installer");
    std::wstring tooLong = L"%TEMP%/" + std::wstring(5000, L'x');
    int id = Queue(Request("/files/setup.run", kInstallerMsg, tooLong));
    Signal();
    ASSERT_TRUE(WaitForCompletions(1));
    THREAD_PARAM_DOWN record = Sentinel();
    worker->GetResult(id, record);
    EXPECT_TRUE(SameRecord(record, Sentinel()));
    EXPECT_TRUE(FilesIn(temp).empty());
}

TEST_F(DownloadTest, PauseLeavesTheMainWaitAloneAndStopThereReturnsOne) {
    Serve("/version.xml", "v");
    worker->Pause();
    int id = Queue(Request("/version.xml"));
    Signal();
    ASSERT_TRUE(WaitForCompletions(1)) << "a paused worker still takes new work";
    EXPECT_EQ(receiver.received[0], (Completion{kVersionMsg, 0, id}));

    worker->Stop();
    ASSERT_TRUE(worker->GetThreadHandle()->Wait(10000));
    EXPECT_EQ(worker->GetThreadHandle()->ExitCode(), 1);
    EXPECT_EQ(worker->GetState(), TS_PAUSED) << "ending in the main wait keeps the state";
}
