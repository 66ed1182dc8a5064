#pragma once
// Test doubles shared by the tests of the batch and the window logic.

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "conversion/BatchRun.h"
#include "jobs/Job.h"
#include "platform/PowerControl.h"

namespace pelorine::testing {

// Events in the order they happened, from any thread.
class EventLog {
public:
    void add(std::string event) {
        std::lock_guard lock(mutex_);
        events_.push_back(std::move(event));
    }
    std::vector<std::string> events() const {
        std::lock_guard lock(mutex_);
        return events_;
    }
    void clear() {
        std::lock_guard lock(mutex_);
        events_.clear();
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> events_;
};

// The batch's calls to its window, written into a log. `Base` is BatchView
// or an interface derived from it.
template <typename Base>
class RecordingBatchView : public Base {
public:
    void selectRow(std::size_t row) override { log.add("select " + std::to_string(row)); }
    void setOverallBar(int position) override { log.add("overall " + std::to_string(position)); }
    void setJobBar(int position) override { log.add("job " + std::to_string(position)); }
    void startProgressTimer() override { log.add("timer on"); }
    void stopProgressTimer() override { log.add("timer off"); }
    bool shutDownWhenFinished() override { return shutDown; }
    bool askOverwrite(const std::string& question) override {
        log.add("ask " + question);
        return overwrite;
    }
    void showMessage(const std::string& text) override { log.add("message " + text); }
    bool countDownToPowerOff(int seconds, const std::string& summary) override {
        log.add("countdown " + std::to_string(seconds) + (summary.empty() ? "" : ": " + summary));
        return countdownRunsOut;
    }
    // The end message reads like any other; its log folder is kept apart.
    void showEndMessage(const std::string& text, const std::string& folder) override {
        log.add("message " + text);
        logFolder = folder;
    }
    void batchEnded() override { ++batchesEnded; }
    // Outcomes are kept apart from the window's events: "<row> <outcome>".
    void jobEnded(std::size_t row, const JobResult& result) override {
        static const char* const names[] = {"pending", "done", "failed", "skipped", "stopped"};
        outcomes.add(std::to_string(row) + " " + names[static_cast<int>(result.outcome)]);
    }

    std::vector<std::string> events() const { return log.events(); }

    EventLog log;
    EventLog outcomes;
    bool shutDown = false;
    bool overwrite = false;
    bool countdownRunsOut = true;
    std::string logFolder;
    std::atomic<int> batchesEnded{0};
};

// A computer that is never switched off; it counts the requests.
class RecordingPower final : public platform::PowerControl {
public:
    Status powerOff() override {
        ++requests;
        return refuse ? Status::error("Not allowed.") : Status::ok();
    }
    int requests = 0;
    bool refuse = false;
};

// A file Job with the settings a new Job of the first profile gets.
std::unique_ptr<Job> plainJob(const std::string& source, const std::string& output,
                              double duration);

}  // namespace pelorine::testing
