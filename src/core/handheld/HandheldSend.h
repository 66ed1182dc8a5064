#pragma once
// "Send to PSP": from Jobs whose outputs are finished to the copies that put
// them where the handheld finds them.

#include <optional>
#include <string>
#include <vector>

#include "conversion/EncoderCommandLine.h"
#include "handheld/HandheldCopy.h"
#include "handheld/HandheldLayout.h"
#include "jobs/Job.h"
#include "jobs/JobSettings.h"
#include "platform/FileSystem.h"
#include "platform/LargeFiles.h"
#include "platform/MountTable.h"

namespace pelorine::handheld {

// What the handheld makes of a Job's outputs: music for MP3, else H.264 or
// MPEG-4 video by the Job's codec.
HandheldMedia mediaOf(const JobSettings& settings);

// The name a Job's copies carry in the titled folders: the source file's
// name without its extension; for a disc or a video CD, the output's.
std::string handheldTitleOf(const JobSettings& settings);

// The Job's outputs that exist under their final names now: the whole file,
// or each part of a split Job, in order.
std::vector<std::string> finishedOutputs(const EncoderCommandLine& line,
                                         const platform::FileSystem& files);

// One output to send: the file, what it is and its title.
struct SendItem {
    std::string output;
    HandheldMedia media = HandheldMedia::Mpeg4Video;
    std::string title;
};

// Every finished output of `job` as an item; parts of a split Job are
// titled "<title> (part N)".
std::vector<SendItem> sendItemsOf(const Job& job, const platform::FileSystem& files);

// The copies of `items`, each with its thumbnail (the .THM beside the output)
// when there is one and the place takes one. `problems` gets a line for each
// item that has no place (a numbered folder without a free number).
CopyPlan planCopies(HandheldLayout& layout, const std::vector<SendItem>& items,
                    const platform::LargeFiles& files, std::vector<std::string>& problems);

inline constexpr const char* kNoHandheldMessage =
    "No PSP memory stick was found. Connect the PSP with a USB cable and choose \"USB "
    "Connection\" in its Settings menu (or put its Memory Stick into a card reader), then try "
    "again.";
inline constexpr const char* kNothingToSendMessage =
    "There is nothing to copy to the PSP yet: convert the videos first.";

// Where the memory stick is looked for and how it is written.
struct HandheldAccess {
    platform::FileSystem& files;
    platform::LargeFiles& largeFiles;
    const platform::MountTable& mounts;
    // A folder that stands for the only memory stick (tests); empty: the
    // mount table is asked.
    std::string overrideFolder;
};

// The first memory stick mounted now, if any.
std::optional<std::string> handheldRoot(const HandheldAccess& access);

struct SendResult {
    Status status = Status::ok();
    std::size_t files = 0;          // files written, thumbnails too
    std::vector<std::string> sent;  // the outputs' places, relative to the stick
    std::string stick;              // its folder
};

// Copies the finished outputs of `jobs` (with their thumbnails) to the stick
// found now, after checking it can take them all. Any thread.
SendResult sendJobs(const std::vector<Job>& jobs, const HandheldAccess& access, bool newerFirmware,
                    const CopyProgress& progress, const StopAsked& stop);

// What a finished send says to the user: the places written, or why not.
std::string sendReport(const SendResult& result);

}  // namespace pelorine::handheld
