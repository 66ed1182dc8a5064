#include "conversion/BatchRun.h"

#include <thread>

#include "conversion/EncoderCommandLine.h"
#include "conversion/EngineConversionHost.h"
#include "conversion/JobConverter.h"

namespace pelorine {
namespace {

constexpr int kLogDeleteAttempts = 3;

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string exitReason(int status) {
    switch (status) {
        case 1:
            return "The engine did not accept its command line.";
        case 2:
            return "The source could not be opened.";
        case 3:
            return "The conversion failed.";
        default:
            return "The engine ended with status " + std::to_string(status) + ".";
    }
}

// Why the runs of a Job did not give its files, or empty when they did.
std::string runFailure(const JobReport& report, platform::FileSystem& files) {
    for (const EngineRun& run : report.runs) {
        if (!run.result.started) {
            return run.result.started.message();
        }
        if (run.result.exitStatus == 4) {
            continue;  // ended by Stop: the shorter file is valid
        }
        if (run.result.exitStatus != 0) {
            return exitReason(run.result.exitStatus);
        }
        if (!files.exists(run.output)) {
            return "The engine wrote no file \"" + run.output + "\".";
        }
    }
    if (report.measureFailed) {
        return "The first part could not be measured, so the other parts were not made.";
    }
    return {};
}

}  // namespace

BatchRun::BatchRun(const JobList& jobs, BatchState& state, BatchView& view, Services services,
                   std::string logFolder)
    : jobs_(jobs),
      state_(state),
      view_(view),
      services_(services),
      logFolder_(std::move(logFolder)) {}

void BatchRun::run() {
    if (services_.engine.isRunning()) {
        view_.showMessage(kEngineBusyMessage);
        return;
    }
    state_.activityFlag = 0;
    services_.link.writeRun();
    view_.startProgressTimer();
    results_.assign(jobs_.count(), JobResult{});
    for (std::size_t row = 0; row < jobs_.count(); ++row) {
        const Job& job = jobs_.job(row);
        if (!passesOverwritePolicy(EncoderCommandLine(job, {}).firstOutput())) {
            results_[row].outcome = JobOutcome::Skipped;
            continue;
        }
        view_.selectRow(row);
        state_.currentJob = static_cast<int>(row) + 1;
        if (state_.activityFlag == 1) {
            break;
        }
        results_[row] = convert(job, row);
    }
    finish();
}

bool BatchRun::passesOverwritePolicy(const std::string& output) {
    const int policy = services_.settings.overwritePolicy();
    if ((policy != kAskBeforeOverwrite && policy != kSkipExisting) ||
        !services_.files.exists(output)) {
        return true;
    }
    return policy == kAskBeforeOverwrite &&
           view_.askOverwrite("File \"" + output + "\" already exists. Overwrite?");
}

JobResult BatchRun::convert(const Job& job, std::size_t row) {
    JobResult result;
    result.logPath = logFolder_ + "job" + std::to_string(row + 1) + ".log";
    services_.files.removeFile(result.logPath, kLogDeleteAttempts);
    EngineConversionHost host(services_.engine, services_.link, state_.activityFlag);
    host.setLogPath(result.logPath);
    EngineInvocation invocation;
    Status ready = services_.files.createFolders(logFolder_);
    for (const Status& step : {ready, host.prepare(invocation), checkCommandLineSettings(job),
                               services_.files.createFolders(folderOf(job.outputPath))}) {
        if (!step) {
            result.outcome = JobOutcome::Failed;
            result.reason = step.message();
            return result;
        }
    }
    const JobReport report = convertJob(job, invocation, host);
    result.reason = runFailure(report, services_.files);
    if (!result.reason.empty()) {
        result.outcome = JobOutcome::Failed;
    } else {
        const bool quit = !report.runs.empty() && report.runs.back().result.exitStatus == 4;
        result.outcome = report.stopped || quit ? JobOutcome::Stopped : JobOutcome::Done;
    }
    return result;
}

void BatchRun::finish() {
    view_.stopProgressTimer();
    view_.setOverallBar(100);
    state_.currentJob = 0;
    view_.setJobBar(100);
    if (view_.shutDownWhenFinished()) {
        if (Status off = services_.power.powerOff(); !off) {
            view_.showMessage(off.message());
        }
    } else {
        view_.showMessage(endMessage(jobs_, results_));
    }
    state_.activityFlag = 1;
}

std::string BatchRun::endMessage(const JobList& jobs, const std::vector<JobResult>& results) {
    std::string failures;
    int failed = 0;
    for (std::size_t row = 0; row < results.size() && row < jobs.count(); ++row) {
        if (results[row].outcome != JobOutcome::Failed) {
            continue;
        }
        ++failed;
        failures += "\n" + std::to_string(row + 1) + ". " + jobs.job(row).sourcePath + ": " +
                    results[row].reason;
        if (!results[row].logPath.empty()) {
            failures += " (engine log: " + results[row].logPath + ")";
        }
    }
    if (failed == 0) {
        return kCompleteMessage;
    }
    return std::to_string(failed) + (failed == 1 ? " job" : " jobs") + " of " +
           std::to_string(results.size()) + " could not be converted:" + failures;
}

void quitEngine(Engine& engine, EngineLink& link, const std::function<void()>& keepAlive,
                std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (true) {
        link.writeQuit();
        if (!engine.isRunning()) {
            return;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            engine.terminateAll();
        }
        if (keepAlive) {
            keepAlive();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void stopBatch(BatchState& state, Engine& engine, EngineLink& link,
               const std::function<void()>& keepAlive, std::chrono::milliseconds patience) {
    if (activityState(state.activityFlag, engine.isRunning()) != ActivityState::Converting) {
        return;
    }
    state.activityFlag = 1;
    quitEngine(engine, link, keepAlive, patience);
}

}  // namespace pelorine
