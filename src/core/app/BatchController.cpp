#include "app/BatchController.h"

#include <thread>

namespace pelorine {

BatchController::BatchController(BatchRun::Services services, const JobList& jobs, MainView& view,
                                 Activity& activity, Dialogs& dialogs)
    : services_(services), jobs_(jobs), view_(view), activity_(activity), dialogs_(dialogs) {}

BatchController::~BatchController() {
    if (worker_.joinable()) {
        if (workerRunning_) {
            batch_->requestStop();
        }
        worker_.join();
    }
}

void BatchController::convert() {
    activity_.stopPreview();
    // One batch at a time: a second would run Jobs beside the first.
    if (workerRunning_) {
        dialogs_.message(kEngineBusyMessage);
        return;
    }
    if (worker_.joinable()) {
        worker_.join();
    }
    std::string folder;
    if (Status ready = services_.engine.privateFolder(folder); !ready) {
        dialogs_.message(ready.message());
        return;
    }
    batch_ =
        std::make_shared<BatchRun>(jobs_.snapshot(), view_, services_, folder + "logs/", patience_);
    if (setup_) {
        setup_(*batch_);
    }
    workerRunning_ = true;
    worker_ = std::thread([this, batch = batch_] {
        batch->run();
        workerRunning_ = false;
    });
}

void BatchController::stop() {
    if (!active()) {
        return;
    }
    batch_->requestStop();
    // The batch ends a run that does not obey within its patience, so this ends.
    while (batch_->engineRunning()) {
        view_.keepAlive();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void BatchController::progressTick() {
    if (!batch_) {
        view_.stopProgressTimer();
        return;
    }
    const BarPositions bars = batch_->progressTick();
    if (bars.stopTimer) {
        view_.stopProgressTimer();
    }
    if (bars.overall) {
        view_.setOverallBar(*bars.overall);
    }
    if (bars.job) {
        view_.setJobBar(*bars.job);
    }
}

}  // namespace pelorine
