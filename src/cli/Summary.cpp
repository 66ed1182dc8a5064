#include "cli/Summary.h"

#include <array>

#include "base/Paths.h"

namespace pelorine::cli {
namespace {

// What follows the outcome word: the output, the file kept, or the reason.
std::string detail(const JobEntry& entry) {
    const JobResult& result = entry.result;
    switch (result.outcome) {
        case JobOutcome::Done:
            return " -> " + entry.output;
        case JobOutcome::Stopped:
            return result.keptFile.empty() ? std::string(": nothing kept")
                                           : ": kept " + result.keptFile;
        case JobOutcome::Failed:
        case JobOutcome::Skipped:
            return result.reason.empty() ? std::string() : ": " + result.reason;
        case JobOutcome::Pending:
            break;
    }
    return {};
}

}  // namespace

std::string outcomeWord(JobOutcome outcome) {
    // The list's status column leaves a Job not reached empty; a summary names it.
    return outcome == JobOutcome::Pending ? "not reached" : outcomeText(outcome);
}

std::string outcomeLine(std::size_t number, std::size_t count, const JobEntry& entry) {
    return "[" + std::to_string(number) + "/" + std::to_string(count) + "] " +
           fileNameOf(entry.source) + ": " + outcomeWord(entry.result.outcome) + detail(entry);
}

std::string summaryText(const std::vector<JobEntry>& entries) {
    constexpr std::array kOrder = {JobOutcome::Done, JobOutcome::Failed, JobOutcome::Stopped,
                                   JobOutcome::Skipped, JobOutcome::Pending};
    std::string counts;
    for (const JobOutcome outcome : kOrder) {
        std::size_t count = 0;
        for (const JobEntry& entry : entries) {
            count += entry.result.outcome == outcome ? 1 : 0;
        }
        if (count > 0) {
            counts +=
                (counts.empty() ? "" : ", ") + std::to_string(count) + " " + outcomeWord(outcome);
        }
    }
    std::string text = "Summary: " + (counts.empty() ? std::string("no Jobs") : counts) + "\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const JobEntry& entry = entries[i];
        text += "  " + std::to_string(i + 1) + ". " + outcomeWord(entry.result.outcome) + "  " +
                entry.source + detail(entry) + "\n";
        if (!entry.result.logPath.empty()) {
            text += "     log: " + entry.result.logPath + "\n";
        }
    }
    return text;
}

int exitStatusOf(const std::vector<JobEntry>& entries) {
    for (const JobEntry& entry : entries) {
        const JobOutcome outcome = entry.result.outcome;
        if (outcome != JobOutcome::Done && outcome != JobOutcome::Skipped) {
            return 1;
        }
    }
    return 0;
}

}  // namespace pelorine::cli
