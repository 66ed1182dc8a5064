#pragma once
// The conversion list: owned Jobs in list order. Row i of the list view shows
// job(i). Jobs are appended at the end and removed one at a time or all at once.
//
// Changed only on the user-interface thread, and never while a batch runs
// (every changing command refuses then), so the conversion worker may read it
// without a lock.

#include <cstddef>
#include <memory>
#include <vector>

#include "conversion/Job.h"

namespace pelorine {

class JobList {
public:
    std::size_t count() const { return jobs_.size(); }
    bool empty() const { return jobs_.empty(); }

    Job& job(std::size_t index) { return *jobs_.at(index); }
    const Job& job(std::size_t index) const { return *jobs_.at(index); }

    Job& append(std::unique_ptr<Job> job);
    // Removes and destroys the Job at `index`; later Jobs move up one place.
    void remove(std::size_t index);
    void clear() { jobs_.clear(); }

private:
    std::vector<std::unique_ptr<Job>> jobs_;
};

}  // namespace pelorine
