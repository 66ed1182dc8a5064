#include "conversion/JobList.h"

#include <stdexcept>

namespace pelorine {

Job& JobList::append(std::unique_ptr<Job> job) {
    if (!job) {
        throw std::invalid_argument("JobList::append: no job");
    }
    jobs_.push_back(std::move(job));
    return *jobs_.back();
}

void JobList::remove(std::size_t index) {
    if (index >= jobs_.size()) {
        throw std::out_of_range("JobList::remove: no such row");
    }
    jobs_.erase(jobs_.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace pelorine
