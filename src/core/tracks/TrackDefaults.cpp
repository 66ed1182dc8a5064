#include "tracks/TrackDefaults.h"

#include <algorithm>
#include <optional>

#include "tracks/Languages.h"

namespace pelorine {
namespace {

bool preferred(const std::vector<std::string>& languages, const std::string& language) {
    return std::any_of(languages.begin(), languages.end(),
                       [&](const std::string& wanted) { return sameLanguage(wanted, language); });
}

std::optional<SubtitleChoice> subtitlesIn(const OfferedTracks& offered,
                                          const std::string& language) {
    for (const OfferedTrack& track : offered.subtitles) {
        if (sameLanguage(language, track.language)) {
            return SubtitleChoice::ofTrack(track.id);
        }
    }
    for (const SubtitleFile& file : offered.files) {
        if (sameLanguage(language, file.language)) {
            return SubtitleChoice::ofFile(file.path);
        }
    }
    return std::nullopt;
}

SubtitleChoice preferredSubtitles(const TrackPreferences& preferences,
                                  const OfferedTracks& offered) {
    for (const std::string& language : preferences.subtitleLanguages) {
        if (auto found = subtitlesIn(offered, language)) {
            return *found;
        }
    }
    if (!offered.subtitles.empty()) {
        return SubtitleChoice::ofTrack(offered.subtitles.front().id);
    }
    if (!offered.files.empty()) {
        return SubtitleChoice::ofFile(offered.files.front().path);
    }
    return SubtitleChoice::none();
}

std::optional<int> trackId(std::string_view name) {
    if (name.empty() || name.size() > 6 ||
        name.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    return std::stoi(std::string(name));
}

// The engine names a file's subtitle track "English (ass, Signs)": its
// language, then its format and title in brackets.
OfferedTrack subtitleTrack(int id, const std::string& name) {
    const std::size_t open = name.find(" (");
    if (open == std::string::npos || !name.ends_with(')')) {
        return {id, name, {}};
    }
    return {id, name.substr(0, open), name.substr(open + 2, name.size() - open - 3)};
}

}  // namespace

std::optional<int> soundNamed(const OfferedTracks& offered, std::string_view name) {
    if (const auto id = trackId(name)) {
        return id;
    }
    for (const OfferedTrack& track : offered.sound) {
        if (sameLanguage(name, track.language)) {
            return track.id;
        }
    }
    return std::nullopt;
}

std::optional<SubtitleChoice> subtitlesNamed(const OfferedTracks& offered, std::string_view name) {
    if (name == "none") {
        return SubtitleChoice::none();
    }
    if (const auto id = trackId(name)) {
        return SubtitleChoice::ofTrack(*id);
    }
    return subtitlesIn(offered, std::string(name));
}

OfferedTracks offeredTracks(const MediaInfo& info, std::vector<SubtitleFile> files) {
    OfferedTracks offered;
    for (int i = 0; i < info.audioCount(); ++i) {
        offered.sound.push_back({info.audioId(i), info.audioName(i), info.audioNote(i)});
    }
    for (int i = 0; i < info.subtitleCount(); ++i) {
        offered.subtitles.push_back(subtitleTrack(info.subtitleId(i), info.subtitleName(i)));
    }
    offered.files = std::move(files);
    return offered;
}

std::string soundLanguage(const OfferedTracks& offered, const TrackChoice& choice) {
    // Without a choice the file's default track plays: the one its note
    // names so, else the first.
    const auto playing =
        std::find_if(offered.sound.begin(), offered.sound.end(), [&](const OfferedTrack& track) {
            return choice.sound ? track.id == *choice.sound
                                : track.note.ends_with(kDefaultTrackNote);
        });
    if (playing != offered.sound.end()) {
        return playing->language;
    }
    return !choice.sound && !offered.sound.empty() ? offered.sound.front().language : std::string();
}

TrackChoice defaultTracks(const TrackPreferences& preferences, const OfferedTracks& offered) {
    TrackChoice choice;
    for (const std::string& language : preferences.soundLanguages) {
        const auto track = std::find_if(
            offered.sound.begin(), offered.sound.end(),
            [&](const OfferedTrack& sound) { return sameLanguage(language, sound.language); });
        if (track != offered.sound.end()) {
            choice.sound = track->id;
            break;
        }
    }
    const bool burn = preferences.burn == BurnRule::Always ||
                      (preferences.burn == BurnRule::Foreign &&
                       !preferred(preferences.subtitleLanguages, soundLanguage(offered, choice)));
    if (burn) {
        choice.subtitles = preferredSubtitles(preferences, offered);
    }
    return choice;
}

}  // namespace pelorine
