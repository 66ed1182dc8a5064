#pragma once
// "Send to PSP": from Jobs whose outputs are finished to the copies that put
// them where the handheld finds them.

#include <string>
#include <vector>

#include "conversion/Job.h"
#include "platform/FileSystem.h"
#include "platform/LargeFiles.h"
#include "psp/StickCopy.h"
#include "psp/StickLayout.h"

namespace pelorine::psp {

// What the handheld makes of a Job's outputs: music for MP3, else H.264 or
// MPEG-4 video by the Job's codec.
StickMedia mediaOf(const Job& job);

// The name a Job's copies carry in the titled folders: the source file's
// name without its extension; for a disc, the output's.
std::string stickTitleOf(const Job& job);

// The Job's outputs that exist under their final names now: the whole file,
// or each part of a split Job, in order.
std::vector<std::string> finishedOutputs(const Job& job, const platform::FileSystem& files);

// One output to send: the file, what it is and its title.
struct SendItem {
    std::string output;
    StickMedia media = StickMedia::Mpeg4Video;
    std::string title;
};

// Every finished output of `job` as an item; parts of a split Job are
// titled "<title> (part N)".
std::vector<SendItem> sendItemsOf(const Job& job, const platform::FileSystem& files);

// The copies of `items`, each with its thumbnail (the .THM beside the output)
// when there is one and the place takes one. `problems` gets a line for each
// item that has no place (a numbered folder without a free number).
CopyPlan planCopies(StickLayout& layout, const std::vector<SendItem>& items,
                    const platform::LargeFiles& files, std::vector<std::string>& problems);

}  // namespace pelorine::psp
