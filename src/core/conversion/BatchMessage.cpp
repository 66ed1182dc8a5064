// The message that ends a batch.

#include "conversion/BatchRun.h"

namespace pelorine {
namespace {

std::string jobsText(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " job" : " jobs");
}

// "\n<place>. <source><detail>" for every Job with `outcome`; how many in `count`.
std::string linesOf(const std::vector<Job>& jobs, const std::vector<JobResult>& results,
                    JobOutcome outcome, std::size_t& count) {
    std::string lines;
    count = 0;
    for (std::size_t row = 0; row < results.size() && row < jobs.size(); ++row) {
        const JobResult& result = results[row];
        if (result.outcome != outcome) {
            continue;
        }
        ++count;
        lines += "\n" + std::to_string(row + 1) + ". " + jobs[row].sourcePath;
        if (outcome == JobOutcome::Stopped) {
            if (!result.keptFile.empty()) {
                lines += ": what was made is kept as \"" + result.keptFile + "\"";
            }
        } else if (!result.reason.empty()) {
            lines += ": " + result.reason;
        }
        if (outcome == JobOutcome::Failed && !result.logPath.empty()) {
            lines += " (engine log: " + result.logPath + ")";
        }
    }
    return lines;
}

}  // namespace

std::string BatchRun::endMessage(const std::vector<Job>& jobs,
                                 const std::vector<JobResult>& results) {
    std::size_t done = 0;
    for (const JobResult& result : results) {
        done += result.outcome == JobOutcome::Done ? 1 : 0;
    }
    if (done == results.size()) {
        return kCompleteMessage;
    }
    std::string message = jobsText(done) + " of " + std::to_string(results.size()) +
                          (done == 1 ? " was" : " were") + " converted.";
    const struct {
        JobOutcome outcome;
        const char* heading;
    } sections[] = {
        {JobOutcome::Failed, " could not be converted:"},
        {JobOutcome::Stopped, " stopped before the end:"},
        {JobOutcome::Skipped, " skipped:"},
        {JobOutcome::Pending, " not converted, as the batch was stopped:"},
    };
    for (const auto& section : sections) {
        std::size_t count = 0;
        const std::string lines = linesOf(jobs, results, section.outcome, count);
        if (count == 0) {
            continue;
        }
        message += "\n\n" + jobsText(count) + " of " + std::to_string(results.size()) +
                   section.heading + lines;
    }
    return message;
}

}  // namespace pelorine
