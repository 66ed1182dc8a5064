// The pieces around the kept list: its state file, the thread its writes run
// on, what follows the window's list for it, and the setting that restores
// it after a clean end.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "keeping/KeepSetting.h"
#include "keeping/KeepThread.h"
#include "keeping/KeptList.h"
#include "keeping/ListTracker.h"
#include "support/TestSupport.h"

namespace pelorine {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

KeptList threeJobs() {
    KeptList list;
    list.jobs.resize(3);
    return list;
}

TEST(KeptListState, EveryStateIsReadBackAsWritten) {
    KeptList list = threeJobs();
    list.jobs.resize(6);
    list.outcomes = {JobOutcome::Done,    JobOutcome::Failed,  JobOutcome::Skipped,
                     JobOutcome::Stopped, JobOutcome::Pending, JobOutcome::Pending};
    list.running = {4};
    const std::string text = encodeListState(list);
    EXPECT_EQ(text,
              "Pelorine list state 1\n6\ndone\nfailed\nskipped\nstopped\nconverting\nwaiting\n");
    KeptList read = threeJobs();
    read.jobs.resize(6);
    ASSERT_TRUE(decodeListState(text, read));
    EXPECT_EQ(read.outcomes, (std::vector<JobOutcome>{JobOutcome::Done, JobOutcome::Failed,
                                                      JobOutcome::Skipped, JobOutcome::Stopped,
                                                      JobOutcome::Pending, JobOutcome::Pending}));
    EXPECT_THAT(read.running, ElementsAre(4u));

    // Several Jobs converting at once are each written as converting.
    list.running = {0, 4};
    KeptList both = threeJobs();
    both.jobs.resize(6);
    ASSERT_TRUE(decodeListState(encodeListState(list), both));
    EXPECT_THAT(both.running, ElementsAre(0u, 4u));
    EXPECT_EQ(both.outcomes[0], JobOutcome::Pending) << "a Job converting has no outcome yet";

    // Before any batch every Job waits.
    EXPECT_EQ(encodeListState(threeJobs()),
              "Pelorine list state 1\n3\nwaiting\nwaiting\nwaiting\n");
}

TEST(KeptListState, AnythingElseIsRefusedAndChangesNothing) {
    const struct {
        std::string text;
        const char* problem;
    } cases[] = {
        {"", "not a state file"},
        {"Pelorine list state 2\n3\n", "not a state file"},
        {"Pelorine list state 1\n2\nwaiting\nwaiting\n", "not the state of this list"},
        {"Pelorine list state 1\n3x\n", "not the state of this list"},
        {"Pelorine list state 1\n3\ndone\nfinished\nwaiting\n", "line 4 is no state of a Job"},
        {"Pelorine list state 1\n3\ndone\ndone\n", "line 5 is no state of a Job"},
        {"Pelorine list state 1\n3\ndone\ndone\ndone\ndone\n", "more after the last Job"},
    };
    for (const auto& c : cases) {
        KeptList list = threeJobs();
        list.outcomes = {JobOutcome::Failed};
        const Status status = decodeListState(c.text, list);
        ASSERT_FALSE(status) << c.text;
        EXPECT_THAT(status.message(), HasSubstr(c.problem)) << c.text;
        EXPECT_THAT(list.outcomes, ElementsAre(JobOutcome::Failed));
        EXPECT_TRUE(list.running.empty());
    }
}

// The writes run on a thread of their own, in the order posted; each result
// comes back through the window's queue, and drain() waits for the writes.
TEST(KeepThread, WritesRunInOrderAwayFromTheCaller) {
    std::mutex mutex;
    std::vector<std::function<void()>> windowQueue;
    std::vector<int> order;
    std::atomic<bool> onCaller{false};
    const auto caller = std::this_thread::get_id();
    {
        KeepThread thread([&](std::function<void()> work) {
            std::lock_guard lock(mutex);
            windowQueue.push_back(std::move(work));
        });
        std::vector<Status> results;
        for (int i = 0; i < 5; ++i) {
            thread.post(
                [&, i] {
                    onCaller = onCaller || std::this_thread::get_id() == caller;
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                    order.push_back(i);
                    return i == 3 ? Status::error("full") : Status::ok();
                },
                [&](Status status) { results.push_back(status); });
        }
        thread.drain();
        EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
        std::lock_guard lock(mutex);
        ASSERT_EQ(windowQueue.size(), 5u);
        for (auto& work : windowQueue) {
            work();
        }
        ASSERT_EQ(results.size(), 5u);
        EXPECT_FALSE(results[3]);
        EXPECT_TRUE(results[4]);
    }
    EXPECT_FALSE(onCaller);
}

TEST(KeepThread, WhatWasPostedIsWrittenBeforeItEnds) {
    std::atomic<int> written{0};
    {
        KeepThread thread([](std::function<void()>) {});
        for (int i = 0; i < 3; ++i) {
            thread.post(
                [&] {
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                    ++written;
                    return Status::ok();
                },
                nullptr);
        }
    }
    EXPECT_EQ(written, 3);
}

// The states follow their Jobs as rows go; every change is announced.
TEST(ListTracker, StatesFollowTheirJobsThroughBatchesAndRemovals) {
    JobList jobs;
    int announced = 0;
    ListTracker tracker(jobs, [&] { ++announced; });
    jobs.addObserver(&tracker);
    for (const char* source : {"a.avi", "b.avi", "c.avi"}) {
        auto job = std::make_unique<Job>();
        job->sourcePath = source;
        jobs.append(std::move(job));
    }
    tracker.batchStarted(3);
    tracker.jobEnded(0, JobOutcome::Done);
    tracker.jobConverting(1);
    tracker.jobConverting(1);  // the same row again: no news
    KeptList during = tracker.snapshot();
    EXPECT_EQ(during.jobs, jobs.snapshot());
    EXPECT_THAT(during.outcomes,
                ElementsAre(JobOutcome::Done, JobOutcome::Pending, JobOutcome::Pending));
    EXPECT_THAT(during.running, ElementsAre(1u));
    EXPECT_EQ(announced, 3 + 3);

    jobs.remove(0);
    EXPECT_THAT(tracker.snapshot().running, ElementsAre(0u))
        << "the running Job moved up with its row";
    tracker.jobEnded(0, JobOutcome::Stopped);
    tracker.batchEnded();
    jobs.append(std::make_unique<Job>());
    const KeptList after = tracker.snapshot();
    EXPECT_EQ(after.jobs.size(), 3u);
    EXPECT_THAT(after.outcomes,
                ElementsAre(JobOutcome::Stopped, JobOutcome::Pending, JobOutcome::Pending));
    EXPECT_TRUE(after.running.empty());

    KeptList kept;
    kept.outcomes = {JobOutcome::Failed, JobOutcome::Done};
    tracker.restored(kept);
    EXPECT_THAT(tracker.snapshot().outcomes,
                ElementsAre(JobOutcome::Failed, JobOutcome::Done, JobOutcome::Pending));
    EXPECT_EQ(tracker.convertedBefore(), (std::vector<bool>{false, true, false}));
    jobs.changed(1);  // edited: to be converted again
    EXPECT_EQ(tracker.convertedBefore(), (std::vector<bool>{false, false, false}));
    tracker.restored(kept);
    tracker.batchStarted(3);
    EXPECT_EQ(tracker.convertedBefore(), (std::vector<bool>{false, false, false}));
    EXPECT_THAT(tracker.snapshot().outcomes,
                ElementsAre(JobOutcome::Pending, JobOutcome::Done, JobOutcome::Pending))
        << "a Job the batch has yet to pass over is still converted when the batch is killed";
    jobs.clear();
    EXPECT_TRUE(tracker.snapshot().outcomes.empty());
    EXPECT_EQ(announced, 3 + 3 + 1 + 2 + 1 + 1 + 1 + 1 + 1 + 1);
}

TEST(KeepSetting, OffUntilSetAndKeptInItsOwnSection) {
    testing::TempFolder folder;
    platform::FileSystem& files = platform::systemFileSystem();
    folder.write("zelvic.ini", "[GENERAL]\nOverWriteType=3\n");
    KeepSetting setting(files, folder.file("zelvic.ini"));
    setting.read();
    EXPECT_FALSE(setting.on());
    ASSERT_TRUE(setting.set(true));
    EXPECT_EQ(folder.read("zelvic.ini"), "[GENERAL]\nOverWriteType=3\n[LIST]\nKeepWhenClosing=1\n");
    KeepSetting again(files, folder.file("zelvic.ini"));
    again.read();
    EXPECT_TRUE(again.on());
    ASSERT_TRUE(again.set(false));
    setting.read();
    EXPECT_FALSE(setting.on());
}

// With several Jobs at once each one converting is kept as such until it ends.
TEST(ListTracker, SeveralJobsConvertAtOnce) {
    JobList jobs;
    ListTracker tracker(jobs, nullptr);
    jobs.addObserver(&tracker);
    for (int i = 0; i < 4; ++i) {
        jobs.append(std::make_unique<Job>());
    }
    tracker.batchStarted(4);
    tracker.jobConverting(0);
    tracker.jobConverting(2);
    EXPECT_THAT(tracker.snapshot().running, ElementsAre(0u, 2u));
    tracker.jobEnded(0, JobOutcome::Done);
    tracker.jobConverting(3);
    EXPECT_THAT(tracker.snapshot().running, ElementsAre(2u, 3u)) << "the other one goes on";
    jobs.remove(1);
    EXPECT_THAT(tracker.snapshot().running, ElementsAre(1u, 2u));
    EXPECT_EQ(encodeListState(tracker.snapshot()).substr(24), "done\nconverting\nconverting\n");
    tracker.batchEnded();
    EXPECT_TRUE(tracker.snapshot().running.empty());
}

}  // namespace
}  // namespace pelorine
