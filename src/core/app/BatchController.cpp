#include "app/BatchController.h"

#include <thread>

#include "conversion/BatchLogs.h"

namespace pelorine {

BatchController::BatchController(Parts parts) : p_(parts) {}

BatchController::~BatchController() {
    if (worker_.joinable()) {
        if (workerRunning_) {
            batch_->requestStop();
        }
        worker_.join();
    }
}

void BatchController::convert() {
    p_.activity.stopPreview();
    // One batch at a time: a second would run Jobs beside the first.
    if (workerRunning_) {
        p_.dialogs.message(kEngineBusyMessage);
        return;
    }
    if (worker_.joinable()) {
        worker_.join();
    }
    std::string folder;
    if (Status ready = p_.services.engine.privateFolder(folder); !ready) {
        p_.dialogs.message(ready.message());
        return;
    }
    timing_ = BatchTiming();
    sideBySide_ = SideBySideTiming();
    batch_ =
        std::make_shared<BatchRun>(p_.jobs.snapshot(), static_cast<BatchView&>(*this), p_.services,
                                   newLogFolder(folder), EngineSession::kQuitPatience);
    if (setup_) {
        setup_(*batch_);
    }
    workerRunning_ = true;
    worker_ = std::thread([this, batch = batch_] {
        batch->run();
        workerRunning_ = false;
    });
}

std::string BatchController::newLogFolder(const std::string& privateFolder) {
    const auto now = std::chrono::system_clock::now();
    std::string folder;
    if (startBatchLogs(p_.services.files, p_.paths.logFolder(), now, folder)) {
        return folder;
    }
    // Logs are a help, not the work: a batch goes on with logs that the next
    // batch replaces.
    return privateFolder + "logs/";
}

void BatchController::stop() {
    if (!active()) {
        return;
    }
    batch_->requestStop();
    // The batch ends a run that does not obey within its patience, so this ends.
    while (batch_->engineRunning()) {
        p_.activity.keepWindowPainting();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

double BatchController::wallSeconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

void BatchController::progressTick(const WindowState& at) {
    if (!batch_) {
        p_.view.stopProgressTimer();
        return;
    }
    if (batch_->jobsAtOnce() > 1) {
        if (batch_->converting()) {
            sideBySideTick(at);
        }
        return;
    }
    const int current = batch_->currentJob();
    const double position = batch_->position();
    const BarPositions bars = pelorine::progressTick(batch_->jobs(), current, position);
    if (bars.stopTimer) {
        p_.view.stopProgressTimer();
    }
    if (bars.overall) {
        p_.view.setOverallBar(*bars.overall);
    }
    if (bars.job) {
        p_.view.setJobBar(*bars.job);
    }
    const BatchSnapshot snapshot = timing_.update(batch_->jobs(), current, position, wallSeconds());
    p_.view.showTiming(timingText(snapshot));
    if (current > 0 && snapshot.jobPercent) {
        p_.rows.jobConverting(static_cast<std::size_t>(current - 1), snapshot.jobPercent);
    }
}

void BatchController::sideBySideTick(const WindowState& at) {
    const SideBySideSnapshot snapshot =
        sideBySide_.update(batch_->jobs(), batch_->state(), wallSeconds());
    if (snapshot.totalPercent.value_or(0) != 0) {
        p_.view.setOverallBar(*snapshot.totalPercent);
    }
    const RunningJobSnapshot* followed = nullptr;
    for (const RunningJobSnapshot& job : snapshot.jobs) {
        p_.rows.jobConverting(job);
        if (!followed || at.selectedRow == job.row) {
            followed = &job;
        }
    }
    BatchSnapshot line;
    line.batchSecondsLeft = snapshot.batchSecondsLeft;
    if (followed) {
        if (followed->percent.value_or(0) != 0) {
            p_.view.setJobBar(*followed->percent);
        }
        line.speed = followed->speed;
        line.jobSecondsLeft = followed->secondsLeft;
    }
    p_.view.showTiming(timingText(line));
}

void BatchController::openLog(const std::string& path) {
    if (path.empty() || !p_.services.files.exists(path)) {
        p_.dialogs.message("There is no log of this job: one is written when it is converted.");
        return;
    }
    if (const Status opened = p_.desktop.openLink(path); !opened) {
        p_.dialogs.warning("Unable to open the log \"" + path + "\":\n\n" + opened.message(),
                           kProductTitle);
    }
}

void BatchController::jobStarted(std::size_t row) {
    p_.view.onWindowThread([this, row] {
        p_.rows.jobConverting(row, std::nullopt);
        if (tracker_) {
            tracker_->jobConverting(row);
        }
    });
}

void BatchController::startProgressTimer() {
    // The batch has begun converting: every Job of its copy waits its turn.
    const std::size_t count = batch_->jobs().size();
    p_.view.onWindowThread([this, count] {
        p_.rows.batchStarted(count);
        if (tracker_) {
            tracker_->batchStarted(count);
        }
    });
    p_.view.startProgressTimer();
}

void BatchController::stopProgressTimer() {
    p_.view.stopProgressTimer();
    p_.view.onWindowThread([this] { p_.view.showTiming(""); });
}

void BatchController::jobEnded(std::size_t row, const JobResult& result) {
    p_.view.jobEnded(row, result);
    p_.view.onWindowThread([this, row, result] {
        p_.rows.jobEnded(row, result);
        if (tracker_) {
            tracker_->jobEnded(row, result.outcome);
        }
    });
}

bool BatchController::countDownToPowerOff(int seconds, const std::string& summary) {
    bool goOn = false;
    p_.view.onWindowThread([&] { goOn = p_.dialogs.powerOffCountdown(seconds, summary); });
    return goOn;
}

void BatchController::showEndMessage(const std::string& text, const std::string& logFolder) {
    p_.view.onWindowThread([&] {
        p_.rows.batchEnded();
        if (p_.dialogs.endMessage(text, !logFolder.empty())) {
            openLog(logFolder);
        }
    });
}

void BatchController::batchEnded() {
    p_.view.onWindowThread([this] {
        p_.rows.batchEnded();
        if (tracker_) {
            tracker_->batchEnded();
        }
        p_.view.batchEnded();
    });
}

}  // namespace pelorine
