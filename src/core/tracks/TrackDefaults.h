#pragma once
// The sound track and subtitles a new file Job takes, from the preferences a
// user sets once (TrackSettings) and what the file offers: its tracks as the
// engine identified them and the subtitle files beside it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/MediaInfo.h"
#include "tracks/SubtitleFiles.h"
#include "tracks/TrackChoice.h"

namespace pelorine {

enum class BurnRule {
    Never,
    Always,
    // Only when the chosen sound is not in a preferred subtitle language:
    // a film in a language the user does not follow.
    Foreign,
};

struct TrackPreferences {
    std::vector<std::string> soundLanguages;     // in order; any form (Languages.h)
    std::vector<std::string> subtitleLanguages;  // in order
    BurnRule burn = BurnRule::Never;
    // The code page of an 8-bit subtitle file ("windows-1250"); empty: the
    // engine tells it from the bytes.
    std::string subtitleCodePage{};
    bool operator==(const TrackPreferences&) const = default;
};

// What a file offers: its sound and subtitle tracks (the engine's id and the
// language name of each) and the subtitle files beside it.
struct OfferedTrack {
    int id = 0;
    std::string language;
    // The sound's codec and channels ("aac 2ch"), the subtitles' format
    // ("ass"), and the track's title when it has one ("ass, Signs").
    std::string note;
    bool operator==(const OfferedTrack&) const = default;
};
struct OfferedTracks {
    std::vector<OfferedTrack> sound;
    std::vector<OfferedTrack> subtitles;
    std::vector<SubtitleFile> files;
};

OfferedTracks offeredTracks(const MediaInfo& info, std::vector<SubtitleFile> files);

// The sound: the first track in the first preferred language the file has;
// the file's default track when none is. The subtitles, when the rule says
// to burn them: a track, else a file, in the first preferred subtitle
// language the file offers; with no preferred language offered, the first
// track, else the first file. The foreign-film rule burns them only when the
// chosen sound's language (the first track's for the default one) is none of
// the preferred subtitle languages.
TrackChoice defaultTracks(const TrackPreferences& preferences, const OfferedTracks& offered);

// A choice named on a command line. The sound: a track id ("1") or a
// language ("en"); a language the file has no track in gives its default
// track (nothing). The subtitles: "none", a track id, or a language (a
// track, else a file beside the video, in it); a language the file offers
// none in gives none (nothing). A subtitle file named by its path is the
// caller's to find.
std::optional<int> soundNamed(const OfferedTracks& offered, std::string_view name);
std::optional<SubtitleChoice> subtitlesNamed(const OfferedTracks& offered, std::string_view name);

// The language of the sound `choice` plays: the chosen track's, or the
// first track's for the file's default; empty when the file has none.
std::string soundLanguage(const OfferedTracks& offered, const TrackChoice& choice);

}  // namespace pelorine
