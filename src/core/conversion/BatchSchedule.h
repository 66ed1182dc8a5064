#pragma once
// Which Job of a batch converts next when several convert at once. Every Job
// claims the files it may write: its output, the output's ".part", its
// stopped name and its ".THM" all share the output's path without its
// extension (its stem), and a split Job writes "<stem>_clip_N" parts and
// removes the earlier ones. Two Jobs whose claims meet never convert at the
// same time; a claim may be wider than the files really written (two Jobs of
// one stem and different extensions wait for each other), never narrower.
// Plain bookkeeping: the batch calls it under its own lock.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace pelorine {

struct OutputClaim {
    std::string stem;    // the output's path without its extension
    bool split = false;  // the Job writes "<stem>_clip_N" parts
};

// Whether two Jobs with these claims might write or remove the same file.
bool claimsMeet(const OutputClaim& a, const OutputClaim& b);

class BatchSchedule {
public:
    // One claim per Job, in list order; every Job waits.
    explicit BatchSchedule(std::vector<OutputClaim> claims);

    // The first waiting Job in list order whose claim meets no running
    // Job's, marked running; nothing when none may start now.
    std::optional<std::size_t> startNext();
    // Job `row`, started by startNext(), is over.
    void end(std::size_t row);
    bool anyWaiting() const;
    std::size_t runningCount() const;

private:
    enum class State { Waiting, Running, Ended };
    std::vector<OutputClaim> claims_;
    std::vector<State> states_;
};

}  // namespace pelorine
