#include "keeping/ListTracker.h"

namespace pelorine {

void ListTracker::announce() {
    if (changed_) {
        changed_();
    }
}

void ListTracker::jobAppended(std::size_t row, const Job& /*job*/) {
    if (row <= before_.size()) {
        before_.insert(before_.begin() + static_cast<long>(row), false);
    }
    if (row <= state_.outcomes.size()) {
        state_.outcomes.insert(state_.outcomes.begin() + static_cast<long>(row),
                               JobOutcome::Pending);
    }
    announce();
}

void ListTracker::jobRemoved(std::size_t row) {
    if (row < before_.size()) {
        before_.erase(before_.begin() + static_cast<long>(row));
    }
    if (row < state_.outcomes.size()) {
        state_.outcomes.erase(state_.outcomes.begin() + static_cast<long>(row));
    }
    std::set<std::size_t> running;
    for (const std::size_t converting : state_.running) {
        if (converting != row) {
            running.insert(converting > row ? converting - 1 : converting);
        }
    }
    state_.running = std::move(running);
    announce();
}

void ListTracker::jobsCleared() {
    state_ = {};
    before_.clear();
    announce();
}

void ListTracker::jobChanged(std::size_t row, const Job& /*job*/) {
    if (row < before_.size()) {
        before_[row] = false;  // converted with other settings
    }
    announce();
}

void ListTracker::batchStarted(std::size_t count) {
    state_.outcomes.resize(std::max(state_.outcomes.size(), count), JobOutcome::Pending);
    // A Job converted before a restore stays done: the batch passes over it
    // when it comes to it, and a kill before then must not lose that.
    for (std::size_t row = 0; row < count; ++row) {
        if (row >= before_.size() || !before_[row]) {
            state_.outcomes[row] = JobOutcome::Pending;
        }
    }
    state_.running.clear();
    before_.assign(before_.size(), false);
    announce();
}

void ListTracker::jobConverting(std::size_t row) {
    if (state_.running.insert(row).second) {
        announce();
    }
}

void ListTracker::jobEnded(std::size_t row, JobOutcome outcome) {
    if (row < state_.outcomes.size()) {
        state_.outcomes[row] = outcome;
    }
    state_.running.erase(row);
    announce();
}

void ListTracker::batchEnded() {
    state_.running.clear();
    announce();
}

void ListTracker::restored(const KeptList& kept) {
    state_.outcomes = kept.outcomes;
    state_.outcomes.resize(jobs_.count(), JobOutcome::Pending);
    state_.running.clear();
    before_.assign(jobs_.count(), false);
    for (std::size_t row = 0; row < before_.size(); ++row) {
        before_[row] = state_.outcomes[row] == JobOutcome::Done;
    }
    announce();
}

KeptList ListTracker::snapshot() const {
    KeptList list = state_;
    list.jobs = jobs_.snapshot();
    list.outcomes.resize(list.jobs.size(), JobOutcome::Pending);
    return list;
}

}  // namespace pelorine
