#pragma once
// Open DVD: a choice made in the DVD dialog becomes one Job of the list, with
// the chosen title, chapter range, audio stream and sub-picture of one disc
// and the output settings of the selected profile. A DVD Job is known by its
// disc; opening the same disc again replaces its Job.

#include <functional>
#include <string>
#include <vector>

#include "app/MainView.h"
#include "dvd/DvdDialogModel.h"
#include "jobs/JobFactory.h"
#include "jobs/JobList.h"
#include "profiles/Profile.h"
#include "settings/Settings.h"

namespace pelorine {

inline constexpr const char* kDvdUnreadableMessage =
    "The chosen DVD title could not be read. Check the disc and try again.";

// The identify text for exactly the chosen title and chapters.
std::string dvdRangeMediaText(const DvdChoice& choice);

class OpenDvd {
public:
    struct Parts {
        JobList& jobs;
        const Settings& settings;
        Dialogs& dialogs;
        JobFactory& factory;
        // The profile at `index` of the profile box, as new Jobs take it.
        std::function<Profile(int index)> profile;
        // Identify runs for the dialog and for the chosen chapters.
        DiscReader& reader;
        // The system's optical drives, in drive order.
        std::function<std::vector<std::string>()> drives;
    };

    explicit OpenDvd(Parts parts) : p_(std::move(parts)) {}

    // The command, with the profile box's selection; its guard (the
    // activity gate) is the command table's.
    void run(int profileBox);

private:
    void replaceJobOf(const std::string& sourcePath);

    Parts p_;
};

}  // namespace pelorine
