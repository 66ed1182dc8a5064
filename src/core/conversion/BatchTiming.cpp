#include "conversion/BatchTiming.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

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

std::string timingText(const BatchSnapshot& snapshot) {
    std::string text;
    auto add = [&text](const std::string& part) { text += (text.empty() ? "" : "   ") + part; };
    if (snapshot.speed) {
        char speed[32];
        std::snprintf(speed, sizeof speed, "%.1f\u00d7 real time", *snapshot.speed);
        add(speed);
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
