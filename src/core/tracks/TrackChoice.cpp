#include "tracks/TrackChoice.h"

#include "base/Paths.h"
#include "jobs/DvdSource.h"

namespace pelorine {

std::int32_t subtitleFileCode(std::string_view fileName) {
    // FNV-1a, folded into the 30 bits below the mark.
    std::uint32_t hash = 2166136261u;
    for (const char c : fileName) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return kSubtitleFileCode | static_cast<std::int32_t>(hash & 0x3fffffffu);
}

bool choosesFileTracks(const Job& job) {
    return job.isDvd == 0 && !dvdDriveOf(job.sourcePath);
}

TrackChoice trackChoiceOf(const Job& job) {
    TrackChoice choice;
    if (!choosesFileTracks(job)) {
        return choice;
    }
    if (job.dvdAudioId > 0) {
        choice.sound = job.dvdAudioId - 1;
    }
    if (job.dvdSubtitleId >= kSubtitleFileCode) {
        if (!job.subtitleFile.empty()) {
            choice.subtitles = SubtitleChoice::ofFile(job.subtitleFile);
        }
    } else if (job.dvdSubtitleId > 0) {
        choice.subtitles = SubtitleChoice::ofTrack(job.dvdSubtitleId - 1);
    }
    return choice;
}

void setTrackChoice(Job& job, const TrackChoice& choice) {
    if (!choosesFileTracks(job)) {
        return;
    }
    job.dvdAudioId = choice.sound && *choice.sound >= 0 ? *choice.sound + 1 : 0;
    job.subtitleFile.clear();
    switch (choice.subtitles.kind) {
        case SubtitleChoice::Kind::None:
            job.dvdSubtitleId = 0;
            break;
        case SubtitleChoice::Kind::Track:
            job.dvdSubtitleId = choice.subtitles.track >= 0 &&
                                        choice.subtitles.track < kSubtitleFileCode - 1
                                    ? choice.subtitles.track + 1
                                    : 0;
            break;
        case SubtitleChoice::Kind::File:
            job.subtitleFile = choice.subtitles.file;
            job.dvdSubtitleId = subtitleFileCode(fileNameOf(choice.subtitles.file));
            break;
    }
}

}  // namespace pelorine
