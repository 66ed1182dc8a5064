#pragma once
// What pelorine-cli says about each Job: a line when it ends, a summary of
// all at the end, and the exit status they make.

#include <string>
#include <vector>

#include "conversion/BatchRun.h"

namespace pelorine::cli {

// One Job as the user gave it: its source, its output and how it ended. Jobs
// that never reached the batch (a source that is gone or could not be
// identified) are "failed" with their reason and no log.
struct JobEntry {
    std::string source;
    std::string output;
    JobResult result;
};

// The batch's outcome word ("done", "failed", "stopped", "skipped"), and
// "not reached" for a Job the batch never came to.
std::string outcomeWord(JobOutcome outcome);

// "[2/5] clip.avi: done -> /out/M4V12345.MP4", "[3/5] b.avi: failed: why".
std::string outcomeLine(std::size_t number, std::size_t count, const JobEntry& entry);

// "3 done, 1 failed" and one block per Job with its outcome, its output or
// why not, and its engine log.
std::string summaryText(const std::vector<JobEntry>& entries);

// 0 when every Job was done or skipped because its output was there; 1 otherwise.
int exitStatusOf(const std::vector<JobEntry>& entries);

}  // namespace pelorine::cli
