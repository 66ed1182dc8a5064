#pragma once
// The list as Pelorine keeps it between runs: every Job (kept as a project
// file, "list.vpt") and, beside it, what the last batch made of each
// ("list.state"). The state file is a few lines of text:
//
//   Pelorine list state 1
//   3                  the number of Jobs, as in the project file
//   done               one line per Job, in list order: waiting, converting,
//   converting         done, failed, skipped or stopped
//   waiting

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/Status.h"
#include "conversion/BatchRun.h"
#include "jobs/Job.h"

namespace pelorine {

struct KeptList {
    std::vector<Job> jobs;
    // One per Job: what the last batch made of it (Pending: waiting, or not
    // reached). Shorter than `jobs` when no batch has run: the rest wait.
    std::vector<JobOutcome> outcomes;
    // The Jobs being converted (several when the batch converts several at once).
    std::set<std::size_t> running;

    JobOutcome outcomeOf(std::size_t job) const {
        return job < outcomes.size() ? outcomes[job] : JobOutcome::Pending;
    }
};

// The state file's text for `list`.
std::string encodeListState(const KeptList& list);

// Reads the state file's text into `list.outcomes` and `list.running`, for
// the `list.jobs` read from the project file beside it. A text that is not a
// state file, or one of another number of Jobs (the two files are written one
// after the other), is refused and `list` is left as it was.
Status decodeListState(std::string_view text, KeptList& list);

}  // namespace pelorine
