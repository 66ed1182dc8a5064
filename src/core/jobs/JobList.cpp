#include "jobs/JobList.h"

#include <stdexcept>

namespace pelorine {

Job& JobList::append(std::unique_ptr<Job> job) {
    if (!job) {
        throw std::invalid_argument("JobList::append: no job");
    }
    jobs_.push_back(std::move(job));
    for (JobListObserver* observer : observers_) {
        observer->jobAppended(jobs_.size() - 1, *jobs_.back());
    }
    return *jobs_.back();
}

void JobList::remove(std::size_t index) {
    if (index >= jobs_.size()) {
        throw std::out_of_range("JobList::remove: no such row");
    }
    jobs_.erase(jobs_.begin() + static_cast<std::ptrdiff_t>(index));
    for (JobListObserver* observer : observers_) {
        observer->jobRemoved(index);
    }
}

void JobList::clear() {
    jobs_.clear();
    for (JobListObserver* observer : observers_) {
        observer->jobsCleared();
    }
}

void JobList::changed(std::size_t index) {
    for (JobListObserver* observer : observers_) {
        observer->jobChanged(index, job(index));
    }
}

std::vector<Job> JobList::snapshot() const {
    std::vector<Job> copies;
    copies.reserve(jobs_.size());
    for (const auto& job : jobs_) {
        copies.push_back(*job);
    }
    return copies;
}

}  // namespace pelorine
