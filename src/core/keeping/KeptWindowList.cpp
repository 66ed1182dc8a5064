#include "keeping/KeptWindowList.h"

namespace pelorine {

KeptWindowList::KeptWindowList(Parts parts)
    : p_(std::move(parts)),
      tracker_(p_.jobs, [this] { keeper_.changed(); }),
      keeper_(p_.folder, p_.services, [this] { return tracker_.snapshot(); }) {
    p_.jobs.addObserver(&tracker_);
}

void KeptWindowList::start(bool keepOnClose) {
    std::optional<KeptList> restored = keeper_.start(keepOnClose);
    if (!restored) {
        return;
    }
    const std::size_t first = p_.jobs.count();
    for (Job& job : restored->jobs) {
        p_.jobs.append(std::make_unique<Job>(std::move(job)));
    }
    KeptList states;
    states.outcomes.assign(first, JobOutcome::Pending);
    states.outcomes.insert(states.outcomes.end(), restored->outcomes.begin(),
                           restored->outcomes.end());
    tracker_.restored(states);
    for (std::size_t i = 0; i < restored->outcomes.size(); ++i) {
        if (restored->outcomes[i] != JobOutcome::Pending && p_.showOutcome) {
            JobResult result;
            result.outcome = restored->outcomes[i];
            p_.showOutcome(first + i, result);
        }
    }
}

}  // namespace pelorine
