#include "conversion/BatchProgress.h"

#include <cmath>

namespace pelorine {

BarPositions progressTick(const std::vector<Job>& jobs, int currentJob, double position) {
    BarPositions bars;
    if (jobs.empty()) {
        bars.stopTimer = true;
        return bars;
    }
    const int count = static_cast<int>(jobs.size());
    if (currentJob <= 0 || currentJob > count) {
        return bars;
    }
    const Job& job = jobs[static_cast<std::size_t>(currentJob - 1)];
    double done = position;
    double expected = job.duration;
    if (job.clipEnabled != 0) {
        done = position - job.clipStart;
        expected = job.clipEnd - job.clipStart;
    }
    if (done > expected) {
        expected = job.duration;
    }
    if (!(done > 0.0) || done > expected) {
        return bars;
    }
    const int jobPercent = static_cast<int>(std::trunc(100.0 / expected * done));
    const int overall = (currentJob * 100 - 100) / count + jobPercent / count;
    if (overall != 0) {
        bars.overall = overall;
    }
    if (jobPercent != 0) {
        bars.job = jobPercent;
    }
    return bars;
}

}  // namespace pelorine
