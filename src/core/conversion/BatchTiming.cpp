#include "conversion/BatchTiming.h"

#include <algorithm>
#include <cmath>

#include "base/Text.h"
#include "jobs/JobSettings.h"

namespace pelorine {

void RateWindow::add(double wallSeconds, double position) {
    if (!samples_.empty() && position < samples_.back().position) {
        samples_.clear();
    }
    samples_.push_back({wallSeconds, position});
    while (samples_.size() > 2 && wallSeconds - samples_[1].wall >= span_) {
        samples_.pop_front();
    }
}

std::optional<double> RateWindow::speed() const {
    if (samples_.size() < 2) {
        return std::nullopt;
    }
    const double wall = samples_.back().wall - samples_.front().wall;
    if (wall < 0.5) {
        return std::nullopt;
    }
    return (samples_.back().position - samples_.front().position) / wall;
}

double convertedLength(const Job& job) {
    const auto clip = clipOf(job);
    return clip ? clip->length().count() : job.duration;
}

JobShare jobShare(const Job& job, double position) {
    JobShare share{position, job.duration};
    if (const auto clip = clipOf(job)) {
        share = {position - clip->start.count(), clip->length().count()};
    }
    if (share.done > share.expected) {
        share.expected = job.duration;
    }
    return share;
}

BatchSnapshot BatchTiming::update(const std::vector<Job>& jobs, int currentJob, double position,
                                  double wallSeconds) {
    BatchSnapshot snapshot;
    if (currentJob <= 0 || currentJob > static_cast<int>(jobs.size())) {
        return snapshot;
    }
    if (currentJob != job_) {
        job_ = currentJob;
        window_.reset();
    }
    const JobShare share = jobShare(jobs[static_cast<std::size_t>(currentJob - 1)], position);
    if (!(share.done > 0.0) || !(share.expected > 0.0) || share.done > share.expected) {
        return snapshot;
    }
    snapshot.jobPercent = static_cast<int>(std::trunc(100.0 / share.expected * share.done));
    window_.add(wallSeconds, share.done);
    const auto speed = window_.speed();
    if (!speed || !(*speed > 0.0)) {
        return snapshot;
    }
    snapshot.speed = speed;
    snapshot.jobSecondsLeft = (share.expected - share.done) / *speed;
    double after = 0.0;
    for (std::size_t k = static_cast<std::size_t>(currentJob); k < jobs.size(); ++k) {
        after += std::max(0.0, convertedLength(jobs[k]));
    }
    snapshot.batchSecondsLeft = *snapshot.jobSecondsLeft + after / *speed;
    return snapshot;
}

namespace {

// How far a running Job is, as a share of 0 .. 1; nothing before its first report.
std::optional<double> shareDone(const Job& job, double position) {
    if (!(position > 0.0)) {
        return std::nullopt;
    }
    const JobShare share = jobShare(job, position);
    if (!(share.done > 0.0) || !(share.expected > 0.0) || share.done > share.expected) {
        return std::nullopt;
    }
    return share.done / share.expected;
}

bool isRunning(const BatchState& state, std::size_t row) {
    return std::any_of(state.running.begin(), state.running.end(),
                       [row](const RunningJob& job) { return job.row == row; });
}

}  // namespace

std::optional<int> batchPercent(const std::vector<Job>& jobs, const BatchState& state) {
    double total = 0.0;
    double done = 0.0;
    for (std::size_t row = 0; row < jobs.size(); ++row) {
        const double length = std::max(0.0, convertedLength(jobs[row]));
        total += length;
        done += row < state.ended.size() && state.ended[row] ? length : 0.0;
    }
    for (const RunningJob& job : state.running) {
        if (job.row < jobs.size()) {
            const double length = std::max(0.0, convertedLength(jobs[job.row]));
            done += length * shareDone(jobs[job.row], job.position).value_or(0.0);
        }
    }
    if (!(total > 0.0)) {
        return std::nullopt;
    }
    return std::min(100, static_cast<int>(std::trunc(100.0 * done / total)));
}

SideBySideSnapshot SideBySideTiming::update(const std::vector<Job>& jobs, const BatchState& state,
                                            double wallSeconds) {
    SideBySideSnapshot snapshot;
    snapshot.totalPercent = batchPercent(jobs, state);
    std::erase_if(windows_, [&](const auto& entry) { return !isRunning(state, entry.first); });
    double left = 0.0;
    double speeds = 0.0;
    for (const RunningJob& running : state.running) {
        if (running.row >= jobs.size()) {
            continue;
        }
        const Job& job = jobs[running.row];
        RunningJobSnapshot shown{running.row, {}, {}, {}};
        const auto share = shareDone(job, running.position);
        const JobShare seconds = jobShare(job, running.position);
        RateWindow& window = windows_.try_emplace(running.row, span_).first->second;
        if (share) {
            shown.percent = static_cast<int>(std::trunc(100.0 * *share));
            window.add(wallSeconds, seconds.done);
        }
        const double jobLeft = share ? seconds.expected - seconds.done : convertedLength(job);
        left += std::max(0.0, jobLeft);
        if (const auto speed = window.speed(); share && speed && *speed > 0.0) {
            shown.speed = speed;
            shown.secondsLeft = jobLeft / *speed;
            speeds += *speed;
        }
        snapshot.jobs.push_back(shown);
    }
    for (std::size_t row = 0; row < jobs.size(); ++row) {
        const bool ended = row < state.ended.size() && state.ended[row];
        if (!ended && !isRunning(state, row)) {
            left += std::max(0.0, convertedLength(jobs[row]));
        }
    }
    if (speeds > 0.0) {
        snapshot.batchSecondsLeft = left / speeds;
    }
    return snapshot;
}

std::string timingText(const BatchSnapshot& snapshot) {
    std::string text;
    auto add = [&text](const std::string& part) { text += (text.empty() ? "" : "   ") + part; };
    if (snapshot.speed) {
        add(text::fixed1(*snapshot.speed) + "\u00d7 real time");
    }
    if (snapshot.jobSecondsLeft) {
        add("this job " + durationText(*snapshot.jobSecondsLeft) + " left");
    }
    if (snapshot.batchSecondsLeft) {
        add("all " + durationText(*snapshot.batchSecondsLeft) + " left");
    }
    return text;
}

}  // namespace pelorine
