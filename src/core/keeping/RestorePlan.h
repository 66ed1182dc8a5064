#pragma once
// What a start makes of the list kept by the run before: which Jobs come
// back and in what state, what the user is asked and told, and which
// unfinished files go.

#include <cstddef>
#include <string>
#include <vector>

#include "keeping/KeptList.h"
#include "platform/FileSystem.h"

namespace pelorine {

struct RestorePlan {
    // The Jobs whose source is still there, each with what it is now: a Job
    // that was converting is waiting again, and so is a converted one whose
    // output is gone. Nothing is running.
    KeptList list;
    // The sources of the Jobs left out, in list order.
    std::vector<std::string> droppedSources;
    // What the interrupted run left unfinished (its ".part" files), removed
    // when the list is restored.
    std::vector<std::string> unfinishedFiles;

    std::size_t converted() const;
    std::size_t remaining() const { return list.jobs.size() - converted(); }
};

RestorePlan planRestore(KeptList kept, const platform::FileSystem& files);

// Whether a Job's conversion is on the disk: its first output under its
// final name and, for a split Job, no part left unfinished beside it.
bool jobOutputIsThere(const Job& job, const platform::FileSystem& files);

// "Pelorine did not close normally. Restore the list of 3 jobs?" and the counts.
std::string restoreQuestion(const RestorePlan& plan);
// The one message naming the Jobs left out; empty when there are none.
std::string droppedSourcesMessage(const std::vector<std::string>& sources);

}  // namespace pelorine
