// What pelorine-cli says about each Job, and the exit status the outcomes make.

#include "cli/Summary.h"

#include <gtest/gtest.h>

#include "base/Paths.h"

namespace pelorine::cli {
namespace {

JobEntry entry(const std::string& source, JobOutcome outcome, const std::string& reason = "",
               const std::string& log = "") {
    JobEntry made{source, "/out/" + fileNameOf(source) + ".MP4", {}};
    made.result.outcome = outcome;
    made.result.reason = reason;
    made.result.logPath = log;
    return made;
}

TEST(Summary, EachOutcomeSaysWhatCameOfTheJob) {
    EXPECT_EQ(outcomeLine(1, 4, entry("/v/a.avi", JobOutcome::Done)),
              "[1/4] a.avi: done -> /out/a.avi.MP4");
    EXPECT_EQ(
        outcomeLine(2, 4, entry("/v/b.avi", JobOutcome::Failed, "The source could not be opened.")),
        "[2/4] b.avi: failed: The source could not be opened.");
    JobEntry stopped = entry("/v/c.avi", JobOutcome::Stopped);
    stopped.result.keptFile = "/out/c_stopped.mp4";
    EXPECT_EQ(outcomeLine(3, 4, stopped), "[3/4] c.avi: stopped: kept /out/c_stopped.mp4");
    EXPECT_EQ(outcomeLine(4, 4, entry("d.avi", JobOutcome::Skipped, "\"x\" exists already.")),
              "[4/4] d.avi: skipped: \"x\" exists already.");
}

TEST(Summary, CountsThenEveryJobWithItsLog) {
    const std::vector<JobEntry> entries = {
        entry("/v/a.avi", JobOutcome::Done, "", "/run/logs/job1.log"),
        entry("/v/b.avi", JobOutcome::Failed, "Why.", "/run/logs/job2.log"),
        entry("/v/c.avi", JobOutcome::Pending),
        entry("/v/gone.avi", JobOutcome::Failed, "The source is gone."),
    };
    EXPECT_EQ(summaryText(entries),
              "Summary: 1 done, 2 failed, 1 not reached\n"
              "  1. done  /v/a.avi -> /out/a.avi.MP4\n"
              "     log: /run/logs/job1.log\n"
              "  2. failed  /v/b.avi: Why.\n"
              "     log: /run/logs/job2.log\n"
              "  3. not reached  /v/c.avi\n"
              "  4. failed  /v/gone.avi: The source is gone.\n");
    EXPECT_EQ(summaryText({}), "Summary: no Jobs\n");
}

TEST(Summary, OnlyDoneAndSkippedJobsMakeStatusZero) {
    EXPECT_EQ(exitStatusOf({}), 0);
    EXPECT_EQ(exitStatusOf({entry("a", JobOutcome::Done), entry("b", JobOutcome::Skipped)}), 0);
    for (const JobOutcome bad : {JobOutcome::Failed, JobOutcome::Stopped, JobOutcome::Pending}) {
        EXPECT_EQ(exitStatusOf({entry("a", JobOutcome::Done), entry("b", bad)}), 1);
    }
}

}  // namespace
}  // namespace pelorine::cli
