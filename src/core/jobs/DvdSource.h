#pragma once
// A DVD title as the source of a Job: what the DVD dialog chose, and how the
// Job names its disc. The disc is a drive's device, a VIDEO_TS folder (or
// the folder that holds it) or an ISO image; a Job's source is
// "DVD_DRIVE_" followed by that path.

#include <optional>
#include <string>

namespace pelorine {

inline constexpr const char* kDvdSourcePrefix = "DVD_DRIVE_";

// What the user chose in the DVD dialog. `drive` is empty when there is
// nothing to convert (no drive, or a disc whose titles were never read).
struct DvdChoice {
    std::string drive;  // a device, a folder or an image, without a trailing separator
    int audioChannel = 0;
    int audioId = -1;     // the engine's id of the audio stream; -1 none
    int subtitleId = -1;  // the subtitle's list index; -1 none
    int chapterLast = 0;
    int chapterFirst = 0;
    int title = 0;

    bool operator==(const DvdChoice&) const = default;
};

// "DVD_DRIVE_" followed by the drive text, case kept.
std::string dvdSourcePath(const std::string& drive);
// The disc a Job's source names when it is a DVD title (the lower-cased
// source starts with "dvd_drive_"); nothing for a file.
std::optional<std::string> dvdDriveOf(const std::string& sourcePath);
// The base of an output named after the disc: the source with each path
// separator made "_" ("DVD_DRIVE__dev_sr0").
std::string dvdOutputBase(const std::string& drive);

}  // namespace pelorine
