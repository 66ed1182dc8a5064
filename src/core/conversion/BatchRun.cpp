#include "conversion/BatchRun.h"

#include <functional>
#include <thread>
#include <utility>

#include "base/Paths.h"
#include "conversion/BatchLogs.h"
#include "conversion/EncoderCommandLine.h"
#include "conversion/JobConverter.h"
#include "conversion/OutputNames.h"
#include "conversion/PartFiles.h"
#include "records/ExitStatus.h"
#include "records/OutputFiles.h"

namespace pelorine {
namespace {

constexpr int kDeleteAttempts = 3;
// Engine logs are short; a longer one is read this far.
constexpr std::size_t kMaxLogRead = 1 << 20;

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

// A Job with neither picture nor sound to convert, said in the words of the grid.
Status checkSomethingToConvert(const JobSettings& settings) {
    if (settings.mp3() && !settings.audio) {
        return Status::error(
            "\"Audio disabled\" is \"yes\", and an MP3 file holds only sound: there is nothing "
            "to convert.");
    }
    if (!settings.mp3() && !settings.audio && !settings.video) {
        return Status::error(
            "Both \"Video disabled\" and \"Audio disabled\" are \"yes\": there is neither "
            "picture nor sound to convert.");
    }
    return Status::ok();
}

// The files an earlier run of a split Job left under final names.
std::vector<std::string> earlierFinalParts(const EncoderCommandLine& line,
                                           const platform::FileSystem& files) {
    if (!line.splitOutput()) {
        return {};
    }
    return findPartFiles(line.baseName(), line.settings().output.extension, files).finals;
}

// Removes what an earlier run of a split Job left, so that new parts never
// stand beside old ones.
Status clearOldParts(const EncoderCommandLine& line, platform::FileSystem& files) {
    if (!line.splitOutput()) {
        return Status::ok();
    }
    const PartFiles old = findPartFiles(line.baseName(), line.settings().output.extension, files);
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
    if (services_.engine.foreignEngineRunning()) {
        view_.showMessage(kEngineBusyMessage);
        return;
    }
    converting_ = true;
    view_.startProgressTimer();
    results_.assign(jobs_.size(), JobResult{});
    std::vector<OutputClaim> claims;
    for (const Job& job : jobs_) {
        JobSettings settings;
        readable_.push_back(readJobSettings(job, settings));
        lines_.emplace_back(std::move(settings), EngineInvocation{});
        const EncoderCommandLine& line = lines_.back();
        claims.push_back({line.splitOutput() ? line.baseName() : outputBasePath(line.firstOutput()),
                          line.splitOutput()});
    }
    {
        // The window may already look at state().
        std::lock_guard lock(scheduleMutex_);
        schedule_.emplace(std::move(claims));
        running_.assign(jobs_.size(), false);
        ended_.assign(jobs_.size(), false);
    }
    std::vector<std::thread> helpers;
    for (int k = 1; k < jobsAtOnce_; ++k) {
        helpers.emplace_back([this] { convertWhileJobsWait(); });
    }
    convertWhileJobsWait();
    for (std::thread& helper : helpers) {
        helper.join();
    }
    finish();
}

void BatchRun::convertWhileJobsWait() {
    while (const auto row = nextJob()) {
        const bool reached = handleJob(*row);
        // Over before the view hears of it: no progress tick shows the Job
        // converting after its outcome.
        jobOver(*row);
        if (reached) {
            tell([&] { view_.jobEnded(*row, results_[*row]); });
        }
    }
}

std::optional<std::size_t> BatchRun::nextJob() {
    std::unique_lock lock(scheduleMutex_);
    while (true) {
        // One Job at a time still looks at the next Job after a stop (its
        // question is asked); several at once start nothing more.
        if (stopping_ || (jobsAtOnce_ > 1 && control_.stopRequested())) {
            return std::nullopt;
        }
        if (const auto row = schedule_->startNext()) {
            return row;
        }
        if (!schedule_->anyWaiting()) {
            return std::nullopt;
        }
        scheduleChanged_.wait(lock);
    }
}

bool BatchRun::handleJob(std::size_t row) {
    const EncoderCommandLine& line = lines_[row];
    JobResult& result = results_[row];
    if (row < convertedBefore_.size() && convertedBefore_[row]) {
        result.outcome = JobOutcome::Done;
        return true;
    }
    if (!passesOverwritePolicy(line, result)) {
        result.outcome = JobOutcome::Skipped;
        return true;
    }
    tell([&] {
        if (jobsAtOnce_ == 1) {
            view_.selectRow(row);
        }
        view_.jobStarted(row);
    });
    currentJob_ = static_cast<int>(row) + 1;
    {
        std::lock_guard lock(scheduleMutex_);
        if (control_.stopRequested()) {
            stopping_ = true;
            return false;
        }
        running_[row] = true;
    }
    result = convert(jobs_[row], line, readable_[row], row);
    return true;
}

void BatchRun::jobOver(std::size_t row) {
    {
        std::lock_guard lock(scheduleMutex_);
        schedule_->end(row);
        running_[row] = false;
        ended_[row] = results_[row].outcome != JobOutcome::Pending;
    }
    scheduleChanged_.notify_all();
}

void BatchRun::tell(const std::function<void()>& call) {
    std::lock_guard lock(viewMutex_);
    call();
}

BatchState BatchRun::state() {
    std::lock_guard lock(scheduleMutex_);
    BatchState state;
    state.ended = ended_;
    for (std::size_t row = 0; row < running_.size(); ++row) {
        if (running_[row]) {
            state.running.push_back({row, control_.position(row)});
        }
    }
    return state;
}

bool BatchRun::passesOverwritePolicy(const EncoderCommandLine& line, JobResult& result) {
    const int policy = services_.settings.overwritePolicy();
    if (policy != kAskBeforeOverwrite && policy != kSkipExisting) {
        return true;
    }
    // Only files under their final names count: a file kept after a stop is
    // not a finished output.
    std::string existing = line.firstOutput();
    if (!services_.files.exists(existing)) {
        const auto finals = earlierFinalParts(line, services_.files);
        if (finals.empty()) {
            return true;
        }
        existing = finals.front();
    }
    // One question at a time; the Jobs converting meanwhile go on.
    std::unique_lock question(questionMutex_, std::defer_lock);
    if (policy == kAskBeforeOverwrite) {
        question.lock();
    }
    if (policy == kAskBeforeOverwrite &&
        view_.askOverwrite("File \"" + existing + "\" already exists. Overwrite?")) {
        return true;
    }
    result.reason = "\"" + existing + "\" exists already.";
    return false;
}

JobResult BatchRun::convert(const Job& job, const EncoderCommandLine& line, const Status& readable,
                            std::size_t row) {
    JobResult result;
    const std::string logPath = jobLogPath(logFolder_, row, job);
    EngineConversionHost host(services_.engine, control_, row);
    host.setLogPath(logPath);
    EngineInvocation invocation{services_.engine.path(), {}, thumbnails_, subtitleCodePage_};
    // In order, each only once the one before went well: a Job refused for
    // its settings must not lose the files of an earlier run.
    const std::function<Status()> steps[] = {
        [&] { return checkSomethingToConvert(line.settings()); },
        [&] { return readable; },
        [&] { return services_.files.createFolders(logFolder_); },
        [&] { return services_.files.createFolders(folderOf(line.settings().output.path)); },
        [&] { return clearOldParts(line, services_.files); },
    };
    for (const auto& step : steps) {
        if (Status done = step(); !done) {
            result.outcome = JobOutcome::Failed;
            result.reason = done.message();
            return result;
        }
    }
    // Only a Job the engine ran for has a log.
    result.logPath = logPath;
    const JobReport report = convertJob(line.settings(), invocation, host);
    if (!report.runs.empty()) {
        result.lastPosition = report.runs.back().result.lastPosition;
    }
    if (const std::string failure = runFailure(report, services_.files); !failure.empty()) {
        result.outcome = JobOutcome::Failed;
        result.reason = failureReason(result.logPath, failure);
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

std::string BatchRun::failureReason(const std::string& logPath, const std::string& fallback) {
    const auto bytes = services_.files.readPrefix(logPath, kMaxLogRead);
    if (!bytes) {
        return fallback;
    }
    const auto reason = engineFailureReason(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    return reason ? *reason : fallback;
}

BarPositions BatchRun::progressTick() {
    return pelorine::progressTick(jobs_, currentJob_, control_.position());
}

void BatchRun::finish() {
    view_.stopProgressTimer();
    view_.setOverallBar(100);
    currentJob_ = 0;
    view_.setJobBar(100);
    std::string message = endMessage(jobs_, results_);
    // What follows the batch (copying to the handheld) is told with its results.
    if (const std::string finished = finishing_ ? finishing_(*this) : std::string();
        !finished.empty()) {
        message += "\n\n" + finished;
    }
    // The summary stays in view during the countdown: a user still at the
    // computer learns what went wrong before it goes off.
    const std::string summary = message == kCompleteMessage ? std::string() : message;
    if (view_.shutDownWhenFinished() &&
        view_.countDownToPowerOff(kPowerOffCountdownSeconds, summary)) {
        const Status off = services_.power.powerOff();
        if (off) {
            converting_ = false;
            view_.batchEnded();
            return;
        }
        // The results stay in view: the user is still at the computer.
        message = "The computer could not be switched off: " + off.message() + "\n\n" + message;
    }
    bool anyRan = false;
    for (const JobResult& result : results_) {
        anyRan = anyRan || !result.logPath.empty();
    }
    view_.showEndMessage(message, anyRan ? logFolder_ : std::string());
    converting_ = false;
    view_.batchEnded();
}

std::string outcomeText(JobOutcome outcome) {
    switch (outcome) {
        case JobOutcome::Done:
            return "done";
        case JobOutcome::Failed:
            return "failed";
        case JobOutcome::Skipped:
            return "skipped";
        case JobOutcome::Stopped:
            return "stopped";
        case JobOutcome::Pending:
            break;
    }
    return {};
}

}  // namespace pelorine
