#pragma once
// Converting the whole list: one Job after another on a worker thread, while
// the window follows the progress. The batch works on its own copy of the
// Jobs, taken when Convert is pressed, so nothing the window does to its list
// reaches a running batch. The worker reaches the window only through
// BatchView; the window reaches the batch only through the members marked
// "any thread".

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "conversion/BatchProgress.h"
#include "conversion/EncoderCommandLine.h"
#include "conversion/EngineConversionHost.h"
#include "engine/Engine.h"
#include "jobs/Job.h"
#include "platform/FileSystem.h"
#include "platform/PowerControl.h"
#include "settings/Settings.h"

namespace pelorine {

inline constexpr const char* kCompleteMessage = "Complete!";
// How long the user has to change their mind before the computer is switched off.
inline constexpr int kPowerOffCountdownSeconds = 30;

enum class JobOutcome { Pending, Done, Failed, Skipped, Stopped };

// The outcome as the job list's status column words it: "done", "failed",
// "skipped", "stopped"; empty for a Job not reached.
std::string outcomeText(JobOutcome outcome);

struct JobResult {
    JobOutcome outcome = JobOutcome::Pending;
    std::string reason;          // why it failed or was skipped, in words for the user
    std::string logPath;         // the engine's output of this Job
    std::string keptFile;        // a stopped Job: the shorter file its last run kept
    double lastPosition = -1.0;  // the last position its last engine run reported
};

// What the batch needs of its front end (the window, or a command line).
// Called on the worker thread: the window's implementation carries each call
// over to its own thread, and waits for it where an answer comes back.
class BatchView {
public:
    virtual ~BatchView() = default;
    virtual void selectRow(std::size_t row) = 0;
    virtual void setOverallBar(int position) = 0;
    virtual void setJobBar(int position) = 0;
    virtual void startProgressTimer() = 0;
    virtual void stopProgressTimer() = 0;
    virtual bool shutDownWhenFinished() = 0;
    // A question with OK and Cancel, caption "Warning"; true for OK.
    virtual bool askOverwrite(const std::string& question) = 0;
    virtual void showMessage(const std::string& text) = 0;
    // Job `row` (its place in the batch's copy) is over: done, failed,
    // skipped or stopped.
    virtual void jobEnded(std::size_t row, const JobResult& result) = 0;
    // Before the computer is switched off: a countdown of `seconds` that the
    // user may cancel, showing `summary` (what did not go as planned; empty
    // when every Job was converted). True when it ran out (or the user chose
    // to go on); without one of its own, a front end goes on at once.
    virtual bool countDownToPowerOff(int /*seconds*/, const std::string& /*summary*/) {
        return true;
    }
    // The message that ends the batch; `logFolder` holds the logs of its Jobs
    // (empty when no Job ran), which a front end may offer to show.
    virtual void showEndMessage(const std::string& text, const std::string& /*logFolder*/) {
        showMessage(text);
    }
    // The batch is over and its end message closed: converting() is false now.
    virtual void batchEnded() {}
};

class BatchRun {
public:
    struct Services {
        Engine& engine;
        platform::FileSystem& files;
        platform::PowerControl& power;
        const Settings& settings;
    };

    // `logFolder` (ending in a separator; this batch's own) receives one
    // engine log per Job, named by jobLogPath().
    // An engine run that does not obey a stop within `patience` is ended by force.
    BatchRun(std::vector<Job> jobs, BatchView& view, Services services, std::string logFolder,
             std::chrono::milliseconds patience = EngineSession::kQuitPatience);

    // Before run(): every MP4 output with a picture gets its .THM beside it.
    void setThumbnails(bool on) { thumbnails_ = on; }
    // The code page of the subtitle files burned in; empty: detected.
    void setSubtitleCodePage(std::string name) { subtitleCodePage_ = std::move(name); }
    // Before run(): how many Jobs may convert at the same time, 1 to 8.
    void setJobsAtOnce(int jobs) { jobsAtOnce_ = jobs < 1 ? 1 : jobs > 8 ? 8 : jobs; }
    // Before run(): the Jobs an earlier run converted (a list restored after a
    // crash), by row; they end at once as done, their outputs as they are.
    void setConvertedBefore(std::vector<bool> rows) { convertedBefore_ = std::move(rows); }
    // Before run(): work done on the worker once every Job has ended and
    // before the end message (copying to the handheld); the text it returns
    // is added to the end message. It may move the bars and should return
    // soon once stopRequested().
    using Finishing = std::function<std::string(BatchRun& batch)>;
    void setFinishing(Finishing finishing) { finishing_ = std::move(finishing); }
    BatchView& view() { return view_; }

    // The worker's body: converts every Job, then ends with the message or
    // the power-off. Returns at once with the busy message when an engine of
    // this user runs already.
    void run();

    // Any thread: the user's stop. The run going on is asked to quit; the
    // batch converts no further Job.
    void requestStop() { control_.requestStop(); }
    bool stopRequested() const { return control_.stopRequested(); }
    // Any thread: from the start of the conversion until its end message has
    // been closed.
    bool converting() const { return converting_.load(); }
    // Any thread: whether one of the batch's engine runs is going on.
    bool engineRunning() const { return control_.engineRunning(); }
    // Any thread: the 1-based place of the Job being converted; 0 when none.
    int currentJob() const { return currentJob_.load(); }
    // Any thread: the position in the source the current run reported last,
    // in seconds; -1 when there is none.
    double position() { return control_.position(); }
    // Any thread: the progress timer's tick, from the batch's copy and its
    // current run's position.
    BarPositions progressTick();

    // The batch's copy; never changed after construction.
    const std::vector<Job>& jobs() const { return jobs_; }
    // Once run() has returned.
    const std::vector<JobResult>& results() const { return results_; }

    // The message that ends a batch: "Complete!" when every Job was done,
    // otherwise which Jobs failed, were stopped, skipped or not reached.
    static std::string endMessage(const std::vector<Job>& jobs,
                                  const std::vector<JobResult>& results);

private:
    // Whether the Job may go ahead under the overwrite policy; clears the
    // parts an earlier run of a split Job left when it may.
    bool passesOverwritePolicy(const EncoderCommandLine& line, JobResult& result);
    // `readable` is what reading the Job's settings gave.
    JobResult convert(const Job& job, const EncoderCommandLine& line, const Status& readable,
                      std::size_t row);
    // Why a Job that failed failed: the engine's own words from its log
    // when it gave any, else `fallback`.
    std::string failureReason(const std::string& logPath, const std::string& fallback);
    void finish();

    const std::vector<Job> jobs_;
    BatchView& view_;
    Services services_;
    std::string logFolder_;
    RunControl control_;
    std::atomic<bool> converting_{false};
    std::atomic<int> currentJob_{0};
    std::vector<JobResult> results_;
    bool thumbnails_ = false;
    std::string subtitleCodePage_;
    int jobsAtOnce_ = 1;
    std::vector<bool> convertedBefore_;
    Finishing finishing_;
};

}  // namespace pelorine
