#pragma once
// The title an output carries in its container, which the handheld's list
// shows instead of the file's number: the source's own title, else its file
// name without the extension.
//
// The handheld's container keeps its title in a box of its own that few
// readers know; the output then also gets the common one (moov/udta/©nam),
// appended after the muxer has finished, so that other players and ffprobe
// show the same title.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/Errors.h"
#include "options/Options.h"

namespace pelorine::platform {
class LargeFiles;
}  // namespace pelorine::platform

namespace zelvic {

// At most this many bytes of a title are kept (cut at a character boundary).
inline constexpr std::size_t kMaxTitleBytes = 255;

// The title of the source `options` names: `sourceTitle`, the source's own
// (its "title" metadata), when it has one.
std::string outputTitle(const Options& options, std::string_view sourceTitle);

// A title cut to kMaxTitleBytes without splitting a UTF-8 character, with
// control characters replaced by blanks and blanks trimmed.
std::string cleanTitle(std::string_view title);

// The udta box holding `title` as a QuickTime text item (©nam).
std::vector<std::uint8_t> titleBox(std::string_view title);

// Appends titleBox(title) to the moov box of the finished MP4 file `path`.
// The moov must be the file's last top-level box (as the muxer writes it);
// otherwise the file is left as it is and an error says why.
Outcome appendTitleBox(const std::string& path, std::string_view title,
                       pelorine::platform::LargeFiles& files);

}  // namespace zelvic
