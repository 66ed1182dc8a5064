#pragma once
// What "pelorine-cli info" prints about an identified source.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "records/MediaInfo.h"
#include "tracks/SubtitleFiles.h"

namespace pelorine::cli {

// The source's name, then its length, picture size, file size, audio streams
// and subtitles, one per line, indented:
//   holiday.avi
//     Length:     01:02:05.50
//     Picture:    640x480
//     File size:  12.3 MB (12345678 bytes)
//     Audio:      0: eng (aac 2ch)
//     Subtitles:  none
//     Beside it:  holiday.en.srt (English)
// The last line (one per subtitle file beside the source) only when there are such files.
std::string infoText(const std::string& path, const MediaInfo& info,
                     std::optional<std::uint64_t> fileSize,
                     const std::vector<SubtitleFile>& beside = {});

// "12.3 MB (12345678 bytes)", in units of 1000.
std::string sizeText(std::uint64_t bytes);

}  // namespace pelorine::cli
