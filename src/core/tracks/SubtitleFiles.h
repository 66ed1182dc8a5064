#pragma once
// Subtitle files beside a video: for "Film.mkv", "Film.srt", "Film.ass",
// "Film.ssa" and "Film.vtt", and the same with a language part between the
// name and the extension ("Film.en.srt", "Film.eng.srt", "Film.English.srt").

#include <optional>
#include <string>
#include <vector>

#include "jobs/Job.h"
#include "platform/FileSystem.h"

namespace pelorine {

struct SubtitleFile {
    std::string path;
    std::string name;      // the file name, without its folder
    std::string language;  // the language part's English name (Languages.h), empty without one
    bool operator==(const SubtitleFile&) const = default;
};

// Whether `fileName` is a subtitle file of the video `videoPath` (by name
// alone), and what it says about itself; the extension in any case, the
// video's name exactly.
std::optional<SubtitleFile> subtitleFileOf(const std::string& videoPath,
                                           const std::string& fileName);

// The subtitle files in the video's folder, in name order.
std::vector<SubtitleFile> subtitleFilesBeside(const std::string& videoPath,
                                              const platform::FileSystem& files);

// A file Job read from a project names its subtitle file by a code
// (TrackChoice.h): the file beside the source whose name has it is the Job's
// subtitle file again. When none has, the Job has no subtitles.
void findSubtitleFileAgain(Job& job, const platform::FileSystem& files);

}  // namespace pelorine
