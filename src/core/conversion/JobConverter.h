#pragma once
// Converts one Job: builds its command lines and runs them one after another,
// measuring the first part of a split Job to plan the others.

#include <optional>
#include <string>
#include <vector>

#include "conversion/EncoderCommandLine.h"
#include "conversion/Job.h"
#include "platform/Processes.h"

namespace pelorine {

// What converting a Job needs from its surroundings. The batch run provides
// the real one (engine processes and the channel files); tests play the
// engine's part.
class ConversionHost {
public:
    virtual ~ConversionHost() = default;
    // Writes "run" into the control file, starts the engine with
    // `commandLine` and waits for it to end. `output` is the file it writes.
    virtual platform::LaunchResult runEngine(const std::string& commandLine,
                                             const std::string& output) = 0;
    // The length in seconds of a finished output file, as the engine
    // identifies it; nullopt when it cannot.
    virtual std::optional<double> measureLength(const std::string& path) = 0;
    // Whether the user asked the batch to stop.
    virtual bool stopRequested() const = 0;
};

struct EngineRun {
    std::string commandLine;
    std::string output;
    platform::LaunchResult result;
};

struct JobReport {
    std::vector<EngineRun> runs;
    bool stopped = false;        // a stop request ended the Job before its last part
    bool measureFailed = false;  // the first part of a split Job could not be measured
};

// Runs every engine run of `job`; returns when the last has ended or a stop
// request ended the Job between parts.
JobReport convertJob(const Job& job, const EngineInvocation& invocation, ConversionHost& host);

}  // namespace pelorine
