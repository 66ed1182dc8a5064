// The arithmetic of a batch's progress: the two bars, the speed over a
// sliding window of wall time, and the time left for the Job and the batch.

#include "conversion/BatchProgress.h"
#include "conversion/BatchTiming.h"

#include <gtest/gtest.h>

namespace pelorine {
namespace {

std::vector<Job> jobsOf(std::initializer_list<Job> jobs) {
    return jobs;
}

Job whole(double duration) {
    Job job;
    job.duration = duration;
    return job;
}

Job clip(double start, double end, double duration) {
    Job job = whole(duration);
    job.clipEnabled = 1;
    job.clipStart = start;
    job.clipEnd = end;
    return job;
}

TEST(ProgressTick, MovesBothBarsByTheJobsShare) {
    const std::vector<Job> two = jobsOf({whole(100), whole(100)});
    const BarPositions half = progressTick(two, 2, 50.0);
    EXPECT_EQ(half.job, 50);
    EXPECT_EQ(half.overall, 75);

    const std::vector<Job> three = jobsOf({whole(100), whole(100), whole(100)});
    const BarPositions tenth = progressTick(three, 1, 10.0);
    EXPECT_EQ(tenth.job, 10);
    EXPECT_EQ(tenth.overall, 3);
}

TEST(ProgressTick, ZeroValuesLeaveTheirBarAlone) {
    const std::vector<Job> three = jobsOf({whole(100), whole(100), whole(100)});
    const BarPositions early = progressTick(three, 1, 2.0);  // 2 %: overall 2 / 3 = 0
    EXPECT_EQ(early.job, 2);
    EXPECT_FALSE(early.overall);
    const BarPositions tiny = progressTick(three, 1, 0.5);  // 0 %
    EXPECT_FALSE(tiny.job);
    EXPECT_FALSE(tiny.overall);
}

TEST(ProgressTick, NoProgressOrNoJobChangesNothing) {
    const std::vector<Job> one = jobsOf({whole(100)});
    for (const auto& [job, position] : {std::pair{1, -1.0}, {1, 0.0}, {0, 50.0}, {2, 50.0}}) {
        const BarPositions bars = progressTick(one, job, position);
        EXPECT_FALSE(bars.job || bars.overall || bars.stopTimer);
    }
    EXPECT_TRUE(progressTick({}, 1, 50.0).stopTimer);
}

TEST(ProgressTick, AClipCountsFromItsStart) {
    const std::vector<Job> clipped = jobsOf({clip(60, 180, 300)});
    EXPECT_EQ(progressTick(clipped, 1, 60.5).job, std::nullopt) << "just begun";
    EXPECT_EQ(progressTick(clipped, 1, 120.0).job, 50);
    // Beyond the clip: measured against the whole source, and beyond that nothing moves.
    EXPECT_EQ(progressTick(clipped, 1, 200.0).job, 46);
    const std::vector<Job> shortSource = jobsOf({clip(60, 180, 130)});
    EXPECT_FALSE(progressTick(shortSource, 1, 200.0).job);
}

TEST(RateWindow, SpeedOverTheLastSecondsOnly) {
    RateWindow window(5.0);
    window.add(0.0, 0.0);
    window.add(0.2, 1.0);
    EXPECT_FALSE(window.speed()) << "too short to tell";
    window.add(1.0, 2.0);
    EXPECT_DOUBLE_EQ(*window.speed(), 2.0);
    // Ten slow seconds later the fast start no longer counts.
    for (int second = 2; second <= 12; ++second) {
        window.add(second, 2.0 + 0.5 * (second - 1));
    }
    EXPECT_NEAR(*window.speed(), 0.5, 1e-9);
}

TEST(RateWindow, APositionGoingBackStartsAfresh) {
    RateWindow window;
    window.add(0.0, 0.0);
    window.add(10.0, 600.0);
    window.add(10.1, 0.5);  // the next part of a split Job
    EXPECT_FALSE(window.speed());
}

TEST(JobShare, AClipCountsFromItsStartOverItsLength) {
    const JobShare inClip = jobShare(clip(60, 180, 300), 90);
    EXPECT_DOUBLE_EQ(inClip.done, 30);
    EXPECT_DOUBLE_EQ(inClip.expected, 120);
    // Beyond the clip's length the whole source is the measure.
    EXPECT_DOUBLE_EQ(jobShare(clip(60, 180, 300), 200).expected, 300);
    EXPECT_DOUBLE_EQ(convertedLength(clip(60, 180, 300)), 120);
    EXPECT_DOUBLE_EQ(convertedLength(whole(300)), 300);
}

TEST(BatchTiming, TimeLeftForTheJobAndTheJobsAfterIt) {
    const std::vector<Job> jobs{whole(100), whole(100), clip(10, 30, 500)};
    BatchTiming timing;
    BatchSnapshot first = timing.update(jobs, 1, 10.0, 0.0);
    EXPECT_EQ(first.jobPercent, 10);
    EXPECT_FALSE(first.speed) << "one report tells no speed";
    // 20 seconds of source in one second of wall time.
    const BatchSnapshot later = timing.update(jobs, 1, 30.0, 1.0);
    EXPECT_EQ(later.jobPercent, 30);
    ASSERT_TRUE(later.speed);
    EXPECT_DOUBLE_EQ(*later.speed, 20.0);
    EXPECT_DOUBLE_EQ(*later.jobSecondsLeft, 70.0 / 20.0);
    // Then Job 2 (100 s) and the 20 s clip of Job 3 at the same speed.
    EXPECT_DOUBLE_EQ(*later.batchSecondsLeft, (70.0 + 100.0 + 20.0) / 20.0);
    EXPECT_EQ(timingText(later), "20.0\u00d7 real time   this job 0:04 left   all 0:10 left");
}

TEST(BatchTiming, ANewJobStartsANewWindow) {
    const std::vector<Job> jobs{whole(100), whole(100)};
    BatchTiming timing;
    timing.update(jobs, 1, 10.0, 0.0);
    EXPECT_TRUE(timing.update(jobs, 1, 90.0, 1.0).speed);
    const BatchSnapshot next = timing.update(jobs, 2, 5.0, 1.1);
    EXPECT_EQ(next.jobPercent, 5);
    EXPECT_FALSE(next.speed) << "the first Job's pace is no measure of the second's";
    EXPECT_EQ(timingText(next), "");
}

TEST(BatchTiming, NothingIsKnownWithoutAUsableReport) {
    const std::vector<Job> jobs{whole(100)};
    BatchTiming timing;
    EXPECT_FALSE(timing.update(jobs, 0, 50.0, 0.0).jobPercent) << "no Job yet";
    EXPECT_FALSE(timing.update(jobs, 2, 50.0, 0.0).jobPercent) << "beyond the list";
    EXPECT_FALSE(timing.update(jobs, 1, -1.0, 0.0).jobPercent) << "no report yet";
    EXPECT_FALSE(timing.update(jobs, 1, 150.0, 0.0).jobPercent) << "past the source";
    EXPECT_FALSE(timing.update({whole(0)}, 1, 5.0, 0.0).jobPercent) << "no length";
    // A stalled engine: no speed, so no time left.
    timing.update(jobs, 1, 20.0, 1.0);
    EXPECT_FALSE(timing.update(jobs, 1, 20.0, 3.0).jobSecondsLeft);
}

// Several Jobs at once: each Job counts by its length, so a long Job half
// done moves the Total bar more than a short one.
TEST(SideBySide, TheTotalWeighsEveryJobByItsLength) {
    const std::vector<Job> jobs{whole(100), whole(300), clip(50, 150, 1000), whole(0)};
    BatchState state;
    EXPECT_EQ(batchPercent(jobs, state), 0) << "nothing over, nothing running";
    state.ended = {true, false, false, false};
    state.running = {{1, 150.0}, {2, 100.0}};
    // 100 over + half of 300 + half of the 100 s clip, of 500.
    EXPECT_EQ(batchPercent(jobs, state), 60);
    state.running = {{1, -1.0}, {2, 40.0}};
    EXPECT_EQ(batchPercent(jobs, state), 20) << "no report yet, or before the clip: nothing done";
    state.ended = {true, true, true, true};
    state.running.clear();
    EXPECT_EQ(batchPercent(jobs, state), 100);
    EXPECT_FALSE(batchPercent({whole(0)}, BatchState{})) << "no Job has a length";
}

TEST(SideBySide, EachRunningJobHasItsOwnSpeedAndTheBatchTheirSum) {
    const std::vector<Job> jobs{whole(100), whole(300), whole(100), whole(50)};
    SideBySideTiming timing;
    BatchState state;
    state.ended = {true, false, false, false};
    state.running = {{1, 150.0}, {2, 50.0}};
    SideBySideSnapshot first = timing.update(jobs, state, 0.0);
    ASSERT_EQ(first.jobs.size(), 2u);
    EXPECT_EQ(first.jobs[0].row, 1u);
    EXPECT_EQ(first.jobs[0].percent, 50);
    EXPECT_FALSE(first.jobs[0].speed) << "one report tells no speed";
    EXPECT_FALSE(first.batchSecondsLeft);

    // Two seconds later: Job 1 made 20 s of source (10x), Job 2 10 s (5x).
    state.running = {{1, 170.0}, {2, 60.0}};
    const SideBySideSnapshot later = timing.update(jobs, state, 2.0);
    ASSERT_EQ(later.jobs.size(), 2u);
    EXPECT_DOUBLE_EQ(*later.jobs[0].speed, 10.0);
    EXPECT_DOUBLE_EQ(*later.jobs[0].secondsLeft, 130.0 / 10.0);
    EXPECT_DOUBLE_EQ(*later.jobs[1].speed, 5.0);
    EXPECT_DOUBLE_EQ(*later.jobs[1].secondsLeft, 40.0 / 5.0);
    // What is left of both, and Job 3 waiting, at 15 s of source a second.
    EXPECT_DOUBLE_EQ(*later.batchSecondsLeft, (130.0 + 40.0 + 50.0) / 15.0);
    EXPECT_EQ(later.totalPercent, (100 + 170 + 60) * 100 / 550);

    // Job 2 ends and Job 3 starts: its pace is measured afresh.
    state.ended[2] = true;
    state.running = {{1, 180.0}, {3, 10.0}};
    const SideBySideSnapshot next = timing.update(jobs, state, 3.0);
    ASSERT_EQ(next.jobs.size(), 2u);
    EXPECT_EQ(next.jobs[1].row, 3u);
    EXPECT_FALSE(next.jobs[1].speed);
    EXPECT_DOUBLE_EQ(*next.batchSecondsLeft, (120.0 + 40.0) / 10.0)
        << "only the Job with a speed counts its pace";
}

TEST(DurationText, MinutesOrHours) {
    EXPECT_EQ(durationText(59.6), "1:00");
    EXPECT_EQ(durationText(83.4), "1:23");
    EXPECT_EQ(durationText(3723.0), "1:02:03");
    EXPECT_EQ(durationText(-5.0), "0:00");
}

}  // namespace
}  // namespace pelorine
