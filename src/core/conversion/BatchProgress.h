#pragma once
// The arithmetic of the two progress bars during a batch: the current Job's
// share done and the whole batch's, from the engine's position in the source.

#include <cstddef>
#include <optional>

#include <vector>

#include "jobs/Job.h"

namespace pelorine {

struct BarPositions {
    std::optional<int> job;      // a new position for the current Job's bar
    std::optional<int> overall;  // a new position for the batch's bar
    bool stopTimer = false;      // the list is empty: nothing to follow
};

// A Job converting in a batch, and the position its engine reported last in
// the source (-1 when it has none going, as between the parts of a split Job).
struct RunningJob {
    std::size_t row = 0;
    double position = -1.0;
};

// A batch at one look: the Jobs converting, in row order, and, by row,
// whether each is over (done, failed, skipped or stopped).
struct BatchState {
    std::vector<RunningJob> running;
    std::vector<bool> ended;
};

// One tick of the progress timer. `currentJob` is 1-based (0: none yet);
// `position` the engine's position in the source in seconds (0 or less: no
// progress yet). A bar whose new value would be 0 keeps its position.
//
// The position is in the source, so a clipped Job's progress is counted from
// its clip start.
BarPositions progressTick(const std::vector<Job>& jobs, int currentJob, double position);

}  // namespace pelorine
