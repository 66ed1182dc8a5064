#pragma once
// Converting the whole list: one Job after another on a worker thread, while
// the window follows the progress. The worker reaches the window only through
// BatchView; the window reaches the worker only through BatchState.

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "conversion/JobList.h"
#include "engine/Engine.h"
#include "engine/EngineLink.h"
#include "platform/FileSystem.h"
#include "platform/PowerControl.h"
#include "settings/Settings.h"

namespace pelorine {

inline constexpr const char* kCompleteMessage = "Complete!";

// Shared by the window's thread and the worker, without locks.
struct BatchState {
    // 1 while no batch runs; a batch sets it to 0 and back to 1 when it ends;
    // Stop sets it to 1 as the request to stop.
    std::atomic<int> activityFlag{1};
    // The 1-based position of the Job being converted; 0 outside a batch.
    std::atomic<int> currentJob{0};
};

// What the batch needs of the window. Called on the worker thread: the
// window's implementation carries each call over to its own thread, and waits
// for it where an answer comes back.
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
};

enum class JobOutcome { Pending, Done, Failed, Skipped, Stopped };

struct JobResult {
    JobOutcome outcome = JobOutcome::Pending;
    std::string reason;   // why it failed, in words for the user
    std::string logPath;  // the engine's output of this Job
};

class BatchRun {
public:
    struct Services {
        Engine& engine;
        EngineLink& link;
        platform::FileSystem& files;
        platform::PowerControl& power;
        const Settings& settings;
    };

    // `logFolder` (ending in a separator) receives one engine log per Job.
    BatchRun(const JobList& jobs, BatchState& state, BatchView& view, Services services,
             std::string logFolder);

    // The worker's body: converts every Job, then ends with the message or
    // the power-off. Returns at once with the busy message when an engine runs.
    void run();

    const std::vector<JobResult>& results() const { return results_; }

    // The message that ends a batch: "Complete!" when no Job failed,
    // otherwise which Jobs failed and why.
    static std::string endMessage(const JobList& jobs, const std::vector<JobResult>& results);

private:
    // Whether the Job may go ahead under the overwrite policy.
    bool passesOverwritePolicy(const std::string& output);
    JobResult convert(const Job& job, std::size_t row);
    void finish();

    const JobList& jobs_;
    BatchState& state_;
    BatchView& view_;
    Services services_;
    std::string logFolder_;
    std::vector<JobResult> results_;
};

// Asks the engine to quit until it is gone, calling `keepAlive` between
// attempts so the window keeps painting. An engine still there after
// `patience` is ended by force, so this always returns.
void quitEngine(Engine& engine, EngineLink& link, const std::function<void()>& keepAlive,
                std::chrono::milliseconds patience = std::chrono::seconds(5));

// Stops a running batch from the window's thread: the stop request, then
// quitEngine(). Does nothing when no conversion runs.
void stopBatch(BatchState& state, Engine& engine, EngineLink& link,
               const std::function<void()>& keepAlive,
               std::chrono::milliseconds patience = std::chrono::seconds(5));

}  // namespace pelorine
