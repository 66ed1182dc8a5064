#include "cli/TerminalBatchView.h"

#include <chrono>

#include "base/Paths.h"
#include "conversion/BatchProgress.h"
#include "conversion/BatchTiming.h"

namespace pelorine::cli {
namespace {

constexpr std::chrono::milliseconds kTickPeriod{200};

double secondsSinceStart() {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

void ConsoleWriter::status(const JobStatus& status) {
    std::lock_guard lock(mutex_);
    err_ << printer_.update(status) << std::flush;
}

void ConsoleWriter::status(const BatchStatus& status) {
    std::lock_guard lock(mutex_);
    err_ << printer_.update(status) << std::flush;
}

void ConsoleWriter::result(const std::string& line) {
    std::lock_guard lock(mutex_);
    err_ << printer_.clear() << std::flush;
    out_ << line << '\n' << std::flush;
}

void ConsoleWriter::note(const std::string& line) {
    std::lock_guard lock(mutex_);
    err_ << printer_.clear() << line << '\n' << std::flush;
}

void ConsoleWriter::clearStatus() {
    std::lock_guard lock(mutex_);
    err_ << printer_.clear() << std::flush;
}

TerminalBatchView::TerminalBatchView(ConsoleWriter& console, std::vector<JobEntry>& entries,
                                     std::function<bool(const std::string&)> ask)
    : console_(console), entries_(entries), ask_(std::move(ask)) {}

TerminalBatchView::~TerminalBatchView() {
    stopProgressTimer();
}

void TerminalBatchView::startProgressTimer() {
    std::lock_guard lock(mutex_);
    if (ticking_ || !batch_) {
        return;
    }
    ticking_ = true;
    ticker_ = std::thread([this] {
        RateWindow rate;
        SideBySideTiming timing;
        int lastJob = 0;
        std::unique_lock lock(mutex_);
        while (ticking_) {
            lock.unlock();
            // A question has the line until it is answered.
            if (!asking_ && batch_->jobsAtOnce() > 1) {
                tickSideBySide(timing);
            } else if (!asking_) {
                tick(rate, lastJob);
            }
            lock.lock();
            wake_.wait_for(lock, kTickPeriod, [this] { return !ticking_; });
        }
    });
}

void TerminalBatchView::stopProgressTimer() {
    {
        std::lock_guard lock(mutex_);
        ticking_ = false;
    }
    wake_.notify_all();
    if (ticker_.joinable()) {
        ticker_.join();
    }
    console_.clearStatus();
}

void TerminalBatchView::tick(RateWindow& rate, int& lastJob) {
    const int current = batch_->currentJob();
    const std::vector<Job>& jobs = batch_->jobs();
    if (current < 1 || static_cast<std::size_t>(current) > jobs.size()) {
        return;
    }
    if (current != lastJob) {
        rate.reset();
        lastJob = current;
    }
    const Job& job = jobs[static_cast<std::size_t>(current) - 1];
    const double position = batch_->position();
    JobStatus status;
    status.number = static_cast<std::size_t>(current);
    status.count = jobs.size();
    status.name = fileNameOf(job.sourcePath);
    if (position > 0.0) {
        rate.add(secondsSinceStart(), position);
        status.percent = progressTick(jobs, current, position).job.value_or(0);
    }
    status.speed = rate.speed();
    if (status.speed && *status.speed > 0.0) {
        status.secondsLeft = convertedLength(job) * (100 - status.percent) / 100.0 / *status.speed;
    }
    console_.status(status);
}

void TerminalBatchView::tickSideBySide(SideBySideTiming& timing) {
    const std::vector<Job>& jobs = batch_->jobs();
    const SideBySideSnapshot snapshot = timing.update(jobs, batch_->state(), secondsSinceStart());
    BatchStatus status;
    status.count = jobs.size();
    for (const RunningJobSnapshot& job : snapshot.jobs) {
        status.jobs.emplace_back(job.row + 1, job.percent.value_or(0));
    }
    status.percent = snapshot.totalPercent.value_or(0);
    status.secondsLeft = snapshot.batchSecondsLeft;
    console_.status(status);
}

bool TerminalBatchView::askOverwrite(const std::string& question) {
    asking_ = true;
    console_.clearStatus();
    const bool overwrite = ask_ && ask_(question);
    asking_ = false;
    return overwrite;
}

void TerminalBatchView::jobEnded(std::size_t row, const JobResult& result) {
    if (row >= entries_.size()) {
        return;
    }
    entries_[row].result = result;
    console_.result(outcomeLine(row + 1, entries_.size(), entries_[row]));
}

}  // namespace pelorine::cli
