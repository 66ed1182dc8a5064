#include "conversion/BatchSchedule.h"

#include <algorithm>

#include "base/Text.h"
#include "conversion/OutputNames.h"

namespace pelorine {
namespace {

// Whether `stem` is one of the parts of the split Job of stem `base`.
bool isPartOf(const std::string& stem, const std::string& base) {
    const std::string parts = base + kPartMarker;
    return stem.size() > parts.size() && stem.compare(0, parts.size(), parts) == 0;
}

}  // namespace

bool claimsMeet(const OutputClaim& a, const OutputClaim& b) {
    // Letter case counts on some file systems and not on others: wider is safe.
    const std::string first = text::lower(a.stem);
    const std::string second = text::lower(b.stem);
    return first == second || (a.split && isPartOf(second, first)) ||
           (b.split && isPartOf(first, second));
}

BatchSchedule::BatchSchedule(std::vector<OutputClaim> claims)
    : claims_(std::move(claims)), states_(claims_.size(), State::Waiting) {}

std::optional<std::size_t> BatchSchedule::startNext() {
    for (std::size_t row = 0; row < states_.size(); ++row) {
        if (states_[row] != State::Waiting) {
            continue;
        }
        bool free = true;
        for (std::size_t other = 0; other < states_.size() && free; ++other) {
            free = states_[other] != State::Running || !claimsMeet(claims_[row], claims_[other]);
        }
        if (free) {
            states_[row] = State::Running;
            return row;
        }
    }
    return std::nullopt;
}

void BatchSchedule::end(std::size_t row) {
    if (row < states_.size()) {
        states_[row] = State::Ended;
    }
}

bool BatchSchedule::anyWaiting() const {
    return std::find(states_.begin(), states_.end(), State::Waiting) != states_.end();
}

std::size_t BatchSchedule::runningCount() const {
    return static_cast<std::size_t>(std::count(states_.begin(), states_.end(), State::Running));
}

}  // namespace pelorine
