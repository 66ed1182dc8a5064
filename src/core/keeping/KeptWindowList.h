#pragma once
// The window's list kept: the keeper and its tracker over the window's job
// list, and what a start restores put back into that list, each Job with the
// state it had (shown through `showOutcome`).

#include <functional>
#include <string>

#include "jobs/JobList.h"
#include "keeping/ListKeeper.h"
#include "keeping/ListTracker.h"

namespace pelorine {

class KeptWindowList {
public:
    struct Parts {
        std::string folder;  // the state folder
        KeepingServices services;
        JobList& jobs;
        // Shows a restored Job's state in its row.
        std::function<void(std::size_t row, const JobResult& result)> showOutcome;
    };

    // Follows `jobs` from now on (it must outlive this).
    explicit KeptWindowList(Parts parts);

    // Once the window shows: asks or restores as ListKeeper::start does, and
    // appends what is restored to the list.
    void start(bool keepOnClose);
    // At a clean end.
    Status finish() { return keeper_.finish(); }

    ListTracker& tracker() { return tracker_; }
    const ListKeeper& keeper() const { return keeper_; }

private:
    Parts p_;
    ListTracker tracker_;
    ListKeeper keeper_;
};

}  // namespace pelorine
