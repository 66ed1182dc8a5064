#pragma once
// A file Job's sound track and subtitles. The project file has no fields of
// its own for them: a file Job keeps them in the fields a DVD Job keeps its
// sound and subtitle ids in, so that projects stay as they are.
//   dvdAudioId     0 (or less): the file's default sound track; N: track N-1.
//   dvdSubtitleId  0 (or less): none; 1 .. kSubtitleFileCode-1: track N-1;
//                  kSubtitleFileCode and above: a subtitle file beside the
//                  source, found again by its name's code (subtitleFileCode)
//                  when the project opens.
// A record saved before files had a choice holds 0 in both: the default
// sound track and no subtitles, as those Jobs were converted then.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "jobs/Job.h"

namespace pelorine {

struct SubtitleChoice {
    enum class Kind { None, Track, File };
    Kind kind = Kind::None;
    int track = 0;     // Track: the engine's id of the file's subtitle track
    std::string file;  // File: the subtitle file's path

    static SubtitleChoice none() { return {}; }
    static SubtitleChoice ofTrack(int id) { return {Kind::Track, id, {}}; }
    static SubtitleChoice ofFile(std::string path) { return {Kind::File, 0, std::move(path)}; }
    bool operator==(const SubtitleChoice&) const = default;
};

struct TrackChoice {
    std::optional<int> sound;  // absent: the file's default track
    SubtitleChoice subtitles;
    bool operator==(const TrackChoice&) const = default;
};

inline constexpr std::int32_t kSubtitleFileCode = 0x40000000;

// Said when the tracks of a DVD or video CD Job are to be chosen here.
inline constexpr const char* kDvdTracksMessage =
    "A DVD's sound track and subtitle are chosen in the DVD dialog.";

// The code a subtitle file's name (without its folder) is kept under:
// kSubtitleFileCode and a hash of the name.
std::int32_t subtitleFileCode(std::string_view fileName);

// The choice a file Job holds; nothing for DVD and video CD Jobs, whose
// fields mean their own streams.
TrackChoice trackChoiceOf(const Job& job);
// Writes `choice` into a file Job (a DVD Job is left alone).
void setTrackChoice(Job& job, const TrackChoice& choice);
// Whether `job` is a file Job, whose tracks are chosen here.
bool choosesFileTracks(const Job& job);

}  // namespace pelorine
