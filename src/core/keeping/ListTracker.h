#pragma once
// Follows the window's list and its batches for the keeper: what each row's
// Job is (the list itself) and what the last batch made of it, so that the
// keeper's snapshot is the list as the window shows it. Each change is
// announced through `changed` (the keeper's changed()). Lives on the
// window's thread, beside the job list's other observers.

#include <functional>

#include "jobs/JobList.h"
#include "keeping/KeptList.h"

namespace pelorine {

class ListTracker final : public JobListObserver {
public:
    ListTracker(const JobList& jobs, std::function<void()> changed)
        : jobs_(jobs), changed_(std::move(changed)) {}

    void jobAppended(std::size_t row, const Job& job) override;
    void jobRemoved(std::size_t row) override;
    void jobsCleared() override;
    void jobChanged(std::size_t row, const Job& job) override;

    // A batch of the first `count` rows: all waiting at its start but those a
    // restore brought back converted, those going on converting, each
    // outcome as it ends.
    void batchStarted(std::size_t count);
    void jobConverting(std::size_t row);
    void jobEnded(std::size_t row, JobOutcome outcome);
    void batchEnded();

    // After a restore has put the kept Jobs into the list: their states.
    void restored(const KeptList& kept);
    // The rows a restore brought back as converted, not edited or converted
    // since: the first Convert after it passes over them (BatchRun's
    // setConvertedBefore). Only that Convert: a batch takes them all.
    std::vector<bool> convertedBefore() const { return before_; }

    // The list and the states as they are now.
    KeptList snapshot() const;
    JobOutcome outcomeOf(std::size_t row) const { return state_.outcomeOf(row); }

private:
    void announce();

    const JobList& jobs_;
    std::function<void()> changed_;
    KeptList state_;  // outcomes and running only; the Jobs are the list's
    std::vector<bool> before_;
};

}  // namespace pelorine
