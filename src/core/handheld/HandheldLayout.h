#pragma once
// Where on the memory stick the handheld looks for what it plays, and the
// names the copies get there:
//   H.264 video   MP_ROOT/100ANV01/MAQ#####.MP4 (and MAQ#####.THM)
//   MPEG-4 video  MP_ROOT/100MNV01/M4V#####.MP4 (and M4V#####.THM)
//   newer firmware (2.80 and later), either codec: VIDEO/<title>.MP4 (.THM)
//   MP3           MUSIC/<name>.MP3
// Numbers are the next free five-digit number of their folder; titles are
// made safe for the stick's FAT filesystem and distinct from every file
// there. Names the stick holds are compared without regard to case, as FAT
// does.

#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace pelorine::handheld {

enum class HandheldMedia { AvcVideo, Mpeg4Video, Music };

struct HandheldPlace {
    std::string folder;     // full path of the folder on the stick
    std::string file;       // full path of the copy
    std::string thumbnail;  // full path of its .THM; empty for music
};

// A title as a FAT file name: the characters FAT cannot hold (?"*:<>|\/ and
// control characters) become "_", leading and trailing blanks and trailing
// dots go, at most `maxBytes` bytes remain (never half a character); an
// empty result is "Video".
std::string fatSafeName(std::string_view title, std::size_t maxBytes = 120);

class HandheldLayout {
public:
    // `root`: the stick's mount point (or a folder standing for it).
    HandheldLayout(std::string root, const platform::FileSystem& files, bool newerFirmware);

    // The place for the next copy of `media` called `title` (the numbered
    // folders ignore it). Every place given out is remembered, so two
    // copies of one batch never get the same name even before either exists.
    // nullopt when a numbered folder has no free number left.
    std::optional<HandheldPlace> place(HandheldMedia media, std::string_view title);

    const std::string& root() const { return root_; }

private:
    std::optional<HandheldPlace> numbered(const std::string& folder, const std::string& prefix);
    HandheldPlace titled(const std::string& folder, std::string_view title, const std::string& ext,
                         bool thumbnail);
    // Upper-cased names in `folder`, with those given out already.
    std::set<std::string> takenIn(const std::string& folder) const;

    std::string root_;
    const platform::FileSystem& files_;
    bool newerFirmware_;
    std::set<std::string> given_;  // upper-cased full paths given out
};

}  // namespace pelorine::handheld
