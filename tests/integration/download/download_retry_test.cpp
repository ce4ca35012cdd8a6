// Requests that retry: a second between attempts, held while paused, cut short by a stop, which ends
// the worker and drops what is left.
#include <gtest/gtest.h>

#include "DownloadFixture.h"
#include "platform/base/text.h"

using platform::WideToUtf8;

namespace {

THREAD_PARAM_DOWN Retrying(THREAD_PARAM_DOWN req) {
    req.bRetry = TRUE;
    return req;
}

}  // namespace

TEST_F(DownloadTest, ARetriedRequestSucceedsOnTheThirdAttempt) {
    ServeFlaky("/version.xml", 2, "<version/>");
    int id = Queue(Retrying(Request("/version.xml")));
    Signal();

    ASSERT_TRUE(WaitForCompletions(1));
    EXPECT_EQ(receiver.received, (std::vector<Completion>{{kVersionMsg, 0, id}}))
        << "one message, at the end";
    EXPECT_EQ(RequestsFor("/version.xml"), 3);
    EXPECT_EQ(ReadWholeFile(WideToUtf8(Result(id).strUrl)), "<version/>");
}

TEST_F(DownloadTest, PauseHoldsTheRetriesUntilResume) {
    ServeFlaky("/version.xml", 1, "<version/>");
    int id = Queue(Retrying(Request("/version.xml")));
    Signal();
    ASSERT_TRUE(seen.Wait(10000));
    worker->Pause();

    EXPECT_FALSE(WaitForCompletions(1, 1800)) << "retried while paused";
    EXPECT_EQ(RequestsFor("/version.xml"), 1);

    worker->Resume();
    ASSERT_TRUE(WaitForCompletions(1));
    EXPECT_EQ(receiver.received[0], (Completion{kVersionMsg, 0, id}));
    EXPECT_EQ(RequestsFor("/version.xml"), 2);
}

TEST_F(DownloadTest, StopDuringARetryWaitEndsTheWorkerAndDropsTheRest) {
    ServeFlaky("/version.xml", -1, "");
    Serve("/files/setup.run", "installer");
    Queue(Retrying(Request("/version.xml")));
    Queue(Request("/files/setup.run", kInstallerMsg));
    Signal();
    ASSERT_TRUE(seen.Wait(10000));

    worker->Stop();
    ASSERT_TRUE(worker->GetThreadHandle()->Wait(5000));
    EXPECT_EQ(worker->GetThreadHandle()->ExitCode(), 0);
    EXPECT_EQ(worker->GetState(), TS_STOPPED);
    EXPECT_FALSE(WaitForCompletions(1, 200)) << "a dropped request was reported";
    EXPECT_EQ(RequestsFor("/files/setup.run"), 0);
}

TEST_F(DownloadTest, StopWhilePausedBetweenRetriesEndsTheWorker) {
    ServeFlaky("/version.xml", -1, "");
    Queue(Retrying(Request("/version.xml")));
    Signal();
    ASSERT_TRUE(seen.Wait(10000));
    worker->Pause();
    EXPECT_FALSE(worker->GetThreadHandle()->Wait(1300)) << "the paused worker should be holding";

    worker->Stop();
    ASSERT_TRUE(worker->GetThreadHandle()->Wait(5000));
    EXPECT_EQ(worker->GetThreadHandle()->ExitCode(), 0);
    EXPECT_EQ(worker->GetState(), TS_STOPPED);
    EXPECT_EQ(RequestsFor("/version.xml"), 1);
}
