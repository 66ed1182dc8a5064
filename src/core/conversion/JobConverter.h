#pragma once
// Converts one Job: builds its command lines and runs them one after another,
// measuring the first part of a split Job to plan the others.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Status.h"
#include "conversion/EncoderCommandLine.h"
#include "jobs/Job.h"

namespace pelorine {

// How one engine run ended.
struct EngineRunResult {
    Status started = Status::ok();  // an error when it could not be started
    int exitStatus = -1;            // the engine's exit status, -1 when it did not run
    double lastPosition = -1.0;     // the last position it reported, -1 for none
};

// The command line of a run, given the channel folder the run talks through.
using CommandLineFor = std::function<std::string(const std::string& channelFolder)>;

// What converting a Job needs from its surroundings. The batch run provides
// the real one (engine processes and the channel files); tests play the
// engine's part.
class ConversionHost {
public:
    virtual ~ConversionHost() = default;
    // Starts the engine with the command line made for the run's channel
    // folder and waits for it to end. `output` is the file it writes.
    virtual EngineRunResult runEngine(const CommandLineFor& commandLine,
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
    EngineRunResult result;
};

struct JobReport {
    std::vector<EngineRun> runs;
    bool stopped = false;        // a stop request ended the Job before its last part
    bool measureFailed = false;  // the first part of a split Job could not be measured
};

// Runs every engine run of a Job; returns when the last has ended or a stop
// request ended the Job between parts. The settings are not checked here:
// the batch refuses a Job whose readJobSettings fails before it gets here.
JobReport convertJob(JobSettings settings, const EngineInvocation& invocation,
                     ConversionHost& host);

}  // namespace pelorine
