#pragma once
// The engine command lines a batch would run for a Job, without running any:
// the same composer and the same plan of parts as a real batch, with the
// engine's part played by a host that converts nothing.
//
// A split Job's later parts start where part 1 ends, which only converting
// part 1 tells. They are planned for the part length asked for: exact for a
// split by time (as exact as the engine cuts), an estimate from the bitrates
// for a split by size.

#include <optional>
#include <string>
#include <vector>

#include "base/Status.h"
#include "conversion/EncoderCommandLine.h"
#include "jobs/Job.h"

namespace pelorine {

struct PlannedRuns {
    Status settings = Status::ok();         // an error: the batch would refuse the Job
    std::vector<std::string> commandLines;  // in the order the batch would run them
    // Split Jobs: the length part 1 is taken to have, and whether it is an
    // estimate (a split by size).
    std::optional<double> partLength;
    bool estimated = false;
};

PlannedRuns planRuns(const Job& job, const EngineInvocation& invocation);

// The length in seconds of part 1 of a split Job: the time asked for, or for
// a size the bytes at the Job's video and audio bitrates (less a little for
// the container). Nothing for a Job that is not split or a text that is neither.
std::optional<double> plannedPartLength(const JobSettings& settings, bool& estimated);

}  // namespace pelorine
