#include "tracks/TrackEntries.h"

#include "base/Paths.h"

namespace pelorine {
namespace {

// "1: English" and "ac3 6ch" give "1: English (ac3 6ch)"; the file beside
// the video adds its language the same way.
std::string withNote(const std::string& text, const std::string& note) {
    return note.empty() ? text : text + " (" + note + ")";
}

}  // namespace

TrackLists trackLists(const OfferedTracks& offered, const TrackChoice& current) {
    TrackLists lists;
    lists.sound.push_back("The file's default track");
    for (const OfferedTrack& track : offered.sound) {
        if (current.sound == track.id) {
            lists.soundIndex = static_cast<int>(lists.sound.size());
        }
        lists.sound.push_back(
            withNote(std::to_string(track.id) + ": " + track.language, track.note));
    }
    lists.subtitles.push_back("None");
    const SubtitleChoice& subtitles = current.subtitles;
    for (const OfferedTrack& track : offered.subtitles) {
        if (subtitles.kind == SubtitleChoice::Kind::Track && subtitles.track == track.id) {
            lists.subtitleIndex = static_cast<int>(lists.subtitles.size());
        }
        lists.subtitles.push_back(
            withNote("Track " + std::to_string(track.id) + ": " + track.language, track.note));
    }
    for (const SubtitleFile& file : offered.files) {
        if (subtitles.kind == SubtitleChoice::Kind::File && subtitles.file == file.path) {
            lists.subtitleIndex = static_cast<int>(lists.subtitles.size());
        }
        lists.subtitles.push_back(withNote("File: " + file.name, file.language));
    }
    return lists;
}

TrackChoice trackChoiceAt(const OfferedTracks& offered, int soundIndex, int subtitleIndex) {
    TrackChoice choice;
    const auto sounds = static_cast<int>(offered.sound.size());
    if (soundIndex >= 1 && soundIndex <= sounds) {
        choice.sound = offered.sound[static_cast<std::size_t>(soundIndex - 1)].id;
    }
    const auto tracks = static_cast<int>(offered.subtitles.size());
    const auto files = static_cast<int>(offered.files.size());
    if (subtitleIndex >= 1 && subtitleIndex <= tracks) {
        choice.subtitles = SubtitleChoice::ofTrack(
            offered.subtitles[static_cast<std::size_t>(subtitleIndex - 1)].id);
    } else if (subtitleIndex > tracks && subtitleIndex <= tracks + files) {
        choice.subtitles = SubtitleChoice::ofFile(
            offered.files[static_cast<std::size_t>(subtitleIndex - tracks - 1)].path);
    }
    return choice;
}

std::string soundText(const TrackChoice& choice) {
    return choice.sound ? "track " + std::to_string(*choice.sound) : "default";
}

std::string subtitlesText(const TrackChoice& choice) {
    switch (choice.subtitles.kind) {
        case SubtitleChoice::Kind::Track:
            return "track " + std::to_string(choice.subtitles.track);
        case SubtitleChoice::Kind::File:
            return fileNameOf(choice.subtitles.file);
        case SubtitleChoice::Kind::None:
            break;
    }
    return "none";
}

}  // namespace pelorine
