#pragma once
// A file Job's sound and subtitles as the window shows them: the two lists
// of the "Sound and Subtitles" dialog, and the short texts of the job list's
// columns and the video information sheet.

#include <string>
#include <vector>

#include "tracks/TrackChoice.h"
#include "tracks/TrackDefaults.h"

namespace pelorine {

struct TrackLists {
    // Entry 0: the file's default track; then each sound track,
    // "1: English (ac3 6ch)".
    std::vector<std::string> sound;
    // Entry 0: none; then each subtitle track, "Track 0: English (ass)",
    // and each file beside the video, "File: Film.en.srt (English)".
    std::vector<std::string> subtitles;
    int soundIndex = 0;  // the entries of the choice shown
    int subtitleIndex = 0;
    bool operator==(const TrackLists&) const = default;
};

// The lists of what `offered` holds, `current` selected (entry 0 for a track
// or file the source no longer offers).
TrackLists trackLists(const OfferedTracks& offered, const TrackChoice& current);
// The choice of the entries chosen; entry 0 (or one out of range) for none.
TrackChoice trackChoiceAt(const OfferedTracks& offered, int soundIndex, int subtitleIndex);

// The list's cells: "default" or "track 1"; "none", "track 0" or the file's name.
std::string soundText(const TrackChoice& choice);
std::string subtitlesText(const TrackChoice& choice);

}  // namespace pelorine
