#pragma once
// Open DVD: a choice made in the DVD dialog becomes one Job of the list, with
// the chosen title, chapter range, audio stream and sub-picture of one disc
// and the output settings of the selected profile. A DVD Job is known by its
// disc ("DVD_DRIVE_" and the device, folder or image); opening the same disc
// again replaces its Job.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/MainView.h"
#include "conversion/JobList.h"
#include "dvd/DvdDialogModel.h"
#include "profiles/SettingsRows.h"
#include "records/MediaInfo.h"
#include "settings/Settings.h"

namespace pelorine {

inline constexpr const char* kDvdSourcePrefix = "DVD_DRIVE_";
inline constexpr const char* kDvdUnreadableMessage =
    "The chosen DVD title could not be read. Check the disc and try again.";

// "DVD_DRIVE_" followed by the drive text, case kept.
std::string dvdSourcePath(const std::string& drive);
// The disc a Job's source names when it is a DVD title (the lower-cased
// source starts with "dvd_drive_"); nothing for a file.
std::optional<std::string> dvdDriveOf(const std::string& sourcePath);
// The base of an output named after the disc: the source with each path
// separator made "_" ("DVD_DRIVE__dev_sr0").
std::string dvdOutputBase(const std::string& drive);
// Seconds as "%02d:%02d:%02d", each part truncated (5400.7 gives 01:30:00).
std::string dvdTimeText(double seconds);
// The identify text for exactly the chosen title and chapters.
std::string dvdRangeMediaText(const DvdChoice& choice);

// The new Job for `choice`, named among `jobs` in `outputFolder`, from the
// record `range` that the engine wrote for the chosen title and chapters.
// `digits` are the five random digits of M4V and MAQ names.
std::unique_ptr<Job> makeDvdJob(const DvdChoice& choice, const MediaInfo& range,
                                const JobList& jobs, const std::string& outputFolder, int profile,
                                const SettingsRows& rows, const std::string& digits);

class OpenDvd {
public:
    struct Parts {
        JobList& jobs;
        SettingsRows& rows;
        const Settings& settings;
        MainView& view;
        Dialogs& dialogs;
        // The activity gate: false (after its message) while converting;
        // stops a preview first.
        std::function<bool()> gate;
        // Runs the DVD dialog; nothing when it was cancelled.
        std::function<std::optional<DvdChoice>()> runDialog;
        // Identifies a disc text on the window's own engine link.
        std::function<std::unique_ptr<MediaInfo>(const std::string& mediaText)> identify;
        std::function<int()> random;
    };

    explicit OpenDvd(Parts parts) : p_(std::move(parts)) {}

    void run();

private:
    void replaceJobOf(const std::string& sourcePath);

    Parts p_;
};

}  // namespace pelorine
