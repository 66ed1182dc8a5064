#pragma once
// Convert and Stop: the batch run on its worker thread, and the progress
// timer's ticks. The batch converts a copy of the list taken when Convert is
// pressed; it owns its engine runs, and this controller only asks it to stop.

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "app/Activity.h"
#include "app/MainView.h"
#include "conversion/BatchRun.h"
#include "conversion/JobList.h"

namespace pelorine {

class BatchController final : public ActivitySource {
public:
    BatchController(BatchRun::Services services, const JobList& jobs, MainView& view,
                    Activity& activity, Dialogs& dialogs);
    // A batch still converting is asked to stop; then its worker is awaited.
    ~BatchController() override;
    BatchController(const BatchController&) = delete;
    BatchController& operator=(const BatchController&) = delete;

    // Converting: from the batch's start until its end message is closed.
    bool active() const override { return batch_ && batch_->converting(); }
    // Whether a worker still runs (also while it refuses or ends).
    bool workerRunning() const { return workerRunning_.load(); }

    // Convert: stops a preview, then starts the batch on a worker thread.
    void convert();
    // Stop: asks the batch to stop and waits, keeping the window alive,
    // until its engine has gone. Nothing when no conversion runs.
    void stop();
    // The progress timer's tick.
    void progressTick();

    // The batch started last, if any (its copy and its results).
    const BatchRun* lastBatch() const { return batch_.get(); }
    // Called with every new batch before it starts (its thumbnails, what it
    // does when finished).
    void setBatchSetup(std::function<void(BatchRun&)> setup) { setup_ = std::move(setup); }
    // How long a run is given to obey quit before it is ended by force.
    void setPatience(std::chrono::milliseconds patience) { patience_ = patience; }

private:
    BatchRun::Services services_;
    const JobList& jobs_;
    MainView& view_;
    Activity& activity_;
    Dialogs& dialogs_;
    std::chrono::milliseconds patience_ = EngineSession::kQuitPatience;
    std::function<void(BatchRun&)> setup_;
    std::shared_ptr<BatchRun> batch_;
    std::atomic<bool> workerRunning_{false};
    std::thread worker_;
};

}  // namespace pelorine
