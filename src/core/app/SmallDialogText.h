#pragma once
// What the small dialogs show and compute, free of widgets: the lines of the
// video information sheet, the file name and format shown there, and the output
// path made from a typed name. Paths use "/" as their separator.

#include <optional>
#include <string>
#include <vector>

#include "jobs/Job.h"

namespace pelorine {

// The part of a Job that the video information sheet shows.
struct VideoInformation {
    std::string sourcePath;
    std::string outputPath;
    std::string outputFormat;  // as in the list's "Format" cell, "mp4"
    std::string startText;     // clip start as shown, hh:mm:ss.xx
    std::string endText;       // clip end as shown
    double duration = 0.0;     // seconds, the whole source
    double clipLength = 0.0;   // seconds, clip end - clip start
    int clipEnabled = 0;       // non-zero: only the clip is converted
    // A file Job's sound track and subtitles as the list shows them; empty
    // for a DVD or video CD Job.
    std::string sound;
    std::string subtitles;
};

VideoInformation videoInformationOf(const Job& job);

// One painted line of the sheet: its top in pixels and its text.
struct InformationLine {
    int y = 0;
    std::string text;

    bool operator==(const InformationLine&) const = default;
};

// Eight lines, the last "Clip Source file: no"; eleven when the clip flag is
// set, adding the clip's length, start and end. A file Job that has its sound
// or subtitles chosen adds "Sound track: track 1, subtitles: none" above "Duration:".
std::vector<InformationLine> informationLines(const VideoInformation& information);

// Why a name typed in Set Output File Name cannot be used, or nothing when it
// can. The name must stay a name inside the Job's output folder: a separator
// ("a/../b" would write into another folder), "." and ".." are refused, and so
// is a name the file system cannot hold. The empty name is taken.
std::optional<std::string> outputNameProblem(const std::string& name);

// The new output path for `name` typed in Set Output File Name: the name goes
// into the folder of `outputPath`, and "." + `format` is appended unless the
// name is longer than four characters and already ends in it (compared
// case-sensitively, so "holiday.MP4" becomes "holiday.MP4.mp4"). Any name is
// taken, the empty one included.
std::string outputPathWithName(const std::string& outputPath, const std::string& name,
                               const std::string& format);

// The countdown before the computer is switched off: "The conversion is
// finished. The computer will be switched off in 30 seconds." (1 second).
std::string powerOffCountdownText(int seconds);

}  // namespace pelorine
