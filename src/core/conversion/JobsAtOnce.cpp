#include "conversion/JobsAtOnce.h"

#include <algorithm>

#include "settings/JobsAtOnceSetting.h"

namespace pelorine {

int autoJobsAtOnce(const platform::MachineFacts& facts) {
    int jobs = std::clamp(facts.processors, 1, JobsAtOnceSetting::kMost);
    if (facts.availableMemory) {
        const auto fits = static_cast<int>(std::min<std::uint64_t>(
            *facts.availableMemory / kMemoryPerJob, JobsAtOnceSetting::kMost));
        jobs = std::min(jobs, std::max(fits, 1));
    }
    return jobs;
}

int jobsAtOnceFor(int setting, const platform::Machine& machine) {
    if (setting >= 1 && setting <= JobsAtOnceSetting::kMost) {
        return setting;
    }
    return autoJobsAtOnce(machine.facts());
}

}  // namespace pelorine
