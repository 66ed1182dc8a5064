#include "conversion/BatchProgress.h"

#include <cmath>

#include "conversion/BatchTiming.h"

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
    const JobShare share = jobShare(jobs[static_cast<std::size_t>(currentJob - 1)], position);
    if (!(share.done > 0.0) || share.done > share.expected) {
        return bars;
    }
    const int jobPercent = static_cast<int>(std::trunc(100.0 / share.expected * share.done));
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
