#pragma once
// Convert and Stop: the batch run on its worker thread, and the progress
// timer's ticks. The batch converts a copy of the list taken when Convert is
// pressed; it owns its engine runs, and this controller only asks it to stop.
//
// The controller stands between the batch and the window: it passes the
// batch's calls on to the window and keeps, on the window's thread, the job
// list's status column, the line of speed and time left under the bars, the
// end message with its logs and the countdown before a power-off.

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "app/Activity.h"
#include "app/JobRows.h"
#include "app/MainView.h"
#include "conversion/BatchRun.h"
#include "conversion/BatchTiming.h"
#include "jobs/JobList.h"
#include "keeping/ListTracker.h"
#include "platform/Desktop.h"
#include "platform/SystemPaths.h"

namespace pelorine {

class BatchController final : public ActivitySource, private BatchView {
public:
    struct Parts {
        BatchRun::Services services;
        const platform::SystemPaths& paths;
        platform::Desktop& desktop;
        const JobList& jobs;
        JobRows& rows;
        MainView& view;
        Activity& activity;
        Dialogs& dialogs;
    };

    explicit BatchController(Parts parts);
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
    // The progress timer's tick, with what the window shows: with several
    // Jobs at once, the Progress bar follows the selected row's Job while it
    // converts, else the first Job converting.
    void progressTick(const WindowState& at = {});

    // Opens a log file or folder in the desktop's viewer; says why not when it cannot.
    void openLog(const std::string& path);

    // The batch started last, if any (its copy and its results).
    const BatchRun* lastBatch() const { return batch_.get(); }
    // Called with every new batch before it starts (its thumbnails, what it
    // does when finished).
    void setBatchSetup(std::function<void(BatchRun&)> setup) { setup_ = std::move(setup); }
    // The kept list hears of each row's state as the status column does.
    void setTracker(ListTracker* tracker) { tracker_ = tracker; }

private:
    // The folder of the new batch's logs: in the user's state folder, or,
    // when that cannot be written, in the private runtime folder.
    std::string newLogFolder(const std::string& privateFolder);
    double wallSeconds() const;
    // The tick of a batch converting several Jobs at once.
    void sideBySideTick(const WindowState& at);

    // BatchView, called by the worker: passed on to the window, with the
    // controller's own part done on the window's thread.
    void selectRow(std::size_t row) override { p_.view.selectRow(row); }
    void jobStarted(std::size_t row) override;
    void setOverallBar(int position) override { p_.view.setOverallBar(position); }
    void setJobBar(int position) override { p_.view.setJobBar(position); }
    void startProgressTimer() override;
    void stopProgressTimer() override;
    bool shutDownWhenFinished() override { return p_.view.shutDownWhenFinished(); }
    bool askOverwrite(const std::string& question) override {
        return p_.view.askOverwrite(question);
    }
    void showMessage(const std::string& text) override { p_.view.showMessage(text); }
    void jobEnded(std::size_t row, const JobResult& result) override;
    bool countDownToPowerOff(int seconds, const std::string& summary) override;
    void showEndMessage(const std::string& text, const std::string& logFolder) override;
    void batchEnded() override;

    Parts p_;
    std::function<void(BatchRun&)> setup_;
    ListTracker* tracker_ = nullptr;
    BatchTiming timing_;
    SideBySideTiming sideBySide_;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::shared_ptr<BatchRun> batch_;
    std::atomic<bool> workerRunning_{false};
    std::thread worker_;
};

}  // namespace pelorine
