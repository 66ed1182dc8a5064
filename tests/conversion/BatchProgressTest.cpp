#include "conversion/BatchProgress.h"

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

}  // namespace
}  // namespace pelorine
