#include "conversion/BatchRun.h"

#include "conversion/EncoderCommandLine.h"
#include "conversion/JobConverter.h"
#include "conversion/PartFiles.h"
#include "records/ExitStatus.h"
#include "records/OutputFiles.h"

namespace pelorine {
namespace {

constexpr int kDeleteAttempts = 3;

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string exitReason(int code) {
    switch (exitStatusFromCode(code)) {
        case ExitStatus::BadCommandLine:
            return "The engine did not accept its command line.";
        case ExitStatus::SourceUnreadable:
            return "The source could not be opened.";
        case ExitStatus::Done:
        case ExitStatus::Quit:
            break;
        case ExitStatus::Failed:
            if (code == pelorine::code(ExitStatus::Failed)) {
                return "The conversion failed.";
            }
            break;
    }
    return "The engine ended with status " + std::to_string(code) + ".";
}

bool endedByQuit(const EngineRun& run) {
    return run.result.started && run.result.exitStatus == code(ExitStatus::Quit);
}

// Why the runs of a Job did not give its files, or empty when they did.
std::string runFailure(const JobReport& report, platform::FileSystem& files) {
    for (const EngineRun& run : report.runs) {
        if (!run.result.started) {
            return run.result.started.message();
        }
        if (endedByQuit(run)) {
            continue;  // ended by Stop: the shorter file is valid
        }
        if (run.result.exitStatus != code(ExitStatus::Done)) {
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

// Removes what an earlier run of a split Job left, so that new parts never
// stand beside old ones.
Status clearOldParts(const Job& job, platform::FileSystem& files) {
    const EncoderCommandLine line(job, {});
    if (!line.splitOutput()) {
        return Status::ok();
    }
    const PartFiles old = findPartFiles(line.baseName(), job.outputFormat, files);
    for (const auto* list : {&old.finals, &old.others}) {
        for (const std::string& path : *list) {
            if (Status removed = files.removeFile(path, kDeleteAttempts); !removed) {
                return removed;
            }
        }
    }
    return Status::ok();
}

}  // namespace

BatchRun::BatchRun(std::vector<Job> jobs, BatchView& view, Services services, std::string logFolder,
                   std::chrono::milliseconds patience)
    : jobs_(std::move(jobs)),
      view_(view),
      services_(services),
      logFolder_(std::move(logFolder)),
      control_(patience) {}

void BatchRun::run() {
    if (services_.engine.isRunning()) {
        view_.showMessage(kEngineBusyMessage);
        return;
    }
    converting_ = true;
    view_.startProgressTimer();
    results_.assign(jobs_.size(), JobResult{});
    for (std::size_t row = 0; row < jobs_.size(); ++row) {
        const Job& job = jobs_[row];
        JobResult& result = results_[row];
        if (!passesOverwritePolicy(job, result)) {
            result.outcome = JobOutcome::Skipped;
            view_.jobEnded(row, result);
            continue;
        }
        view_.selectRow(row);
        currentJob_ = static_cast<int>(row) + 1;
        if (control_.stopRequested()) {
            break;
        }
        result = convert(job, row);
        view_.jobEnded(row, result);
    }
    finish();
}

bool BatchRun::passesOverwritePolicy(const Job& job, JobResult& result) {
    const int policy = services_.settings.overwritePolicy();
    if (policy != kAskBeforeOverwrite && policy != kSkipExisting) {
        return true;
    }
    // Only files under their final names count: a file kept after a stop is
    // not a finished output.
    const EncoderCommandLine line(job, {});
    std::string existing = line.firstOutput();
    if (!services_.files.exists(existing)) {
        const auto finals =
            line.splitOutput()
                ? findPartFiles(line.baseName(), job.outputFormat, services_.files).finals
                : std::vector<std::string>{};
        if (finals.empty()) {
            return true;
        }
        existing = finals.front();
    }
    if (policy == kAskBeforeOverwrite &&
        view_.askOverwrite("File \"" + existing + "\" already exists. Overwrite?")) {
        return true;
    }
    result.reason = "\"" + existing + "\" exists already.";
    return false;
}

JobResult BatchRun::convert(const Job& job, std::size_t row) {
    JobResult result;
    result.logPath = logFolder_ + "job" + std::to_string(row + 1) + ".log";
    services_.files.removeFile(result.logPath, kDeleteAttempts);
    EngineConversionHost host(services_.engine, control_);
    host.setLogPath(result.logPath);
    EngineInvocation invocation{services_.engine.path(), {}, thumbnails_};
    for (const Status& step :
         {services_.files.createFolders(logFolder_), checkCommandLineSettings(job),
          services_.files.createFolders(folderOf(job.outputPath)),
          clearOldParts(job, services_.files)}) {
        if (!step) {
            result.outcome = JobOutcome::Failed;
            result.reason = step.message();
            return result;
        }
    }
    const JobReport report = convertJob(job, invocation, host);
    if (!report.runs.empty()) {
        result.lastPosition = report.runs.back().result.lastPosition;
    }
    result.reason = runFailure(report, services_.files);
    if (!result.reason.empty()) {
        result.outcome = JobOutcome::Failed;
        return result;
    }
    const bool quit = !report.runs.empty() && endedByQuit(report.runs.back());
    result.outcome = report.stopped || quit ? JobOutcome::Stopped : JobOutcome::Done;
    if (quit) {
        const EngineRun& last = report.runs.back();
        const std::string kept = stoppedOutputPath(last.output, last.result.lastPosition);
        result.keptFile = services_.files.exists(kept) ? kept : "";
    }
    return result;
}

BarPositions BatchRun::progressTick() {
    return pelorine::progressTick(jobs_, currentJob_, control_.position());
}

void BatchRun::finish() {
    view_.stopProgressTimer();
    view_.setOverallBar(100);
    currentJob_ = 0;
    view_.setJobBar(100);
    const std::string finished = finishing_ ? finishing_(*this) : std::string();
    if (view_.shutDownWhenFinished()) {
        if (Status off = services_.power.powerOff(); !off) {
            view_.showMessage(off.message());
        }
    } else {
        const std::string end = endMessage(jobs_, results_);
        view_.showMessage(finished.empty() ? end : end + "\n\n" + finished);
    }
    converting_ = false;
}

}  // namespace pelorine
