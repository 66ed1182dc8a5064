#pragma once
// The conversion list: owned Jobs in list order. Row i of the list view shows
// job(i). Jobs are appended at the end and removed one at a time or all at
// once. Observers (the list view's adapter, the grid's keeper of the loaded
// Job) hear of every change, so whoever adds or edits Jobs touches only the
// list, never the rows.
//
// Lives on the user-interface thread: a batch converts its own copy.

#include <cstddef>
#include <memory>
#include <vector>

#include "jobs/Job.h"

namespace pelorine {

class JobListObserver {
public:
    virtual ~JobListObserver() = default;
    virtual void jobAppended(std::size_t row, const Job& job) = 0;
    virtual void jobRemoved(std::size_t row) = 0;
    virtual void jobsCleared() = 0;
    // Job `row` was edited in place.
    virtual void jobChanged(std::size_t row, const Job& job) = 0;
};

class JobList {
public:
    std::size_t count() const { return jobs_.size(); }
    bool empty() const { return jobs_.empty(); }

    // Edits through job() are announced with changed().
    Job& job(std::size_t index) { return *jobs_.at(index); }
    const Job& job(std::size_t index) const { return *jobs_.at(index); }

    Job& append(std::unique_ptr<Job> job);
    // Removes and destroys the Job at `index`; later Jobs move up one place.
    void remove(std::size_t index);
    void clear();
    // Tells the observer that job(index) was edited.
    void changed(std::size_t index);

    // Copies of every Job, in list order.
    std::vector<Job> snapshot() const;

    // Observers hear of changes in the order they were added; each must
    // outlive the list.
    void addObserver(JobListObserver* observer) { observers_.push_back(observer); }

private:
    std::vector<std::unique_ptr<Job>> jobs_;
    std::vector<JobListObserver*> observers_;
};

}  // namespace pelorine
