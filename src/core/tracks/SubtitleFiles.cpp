#include "tracks/SubtitleFiles.h"

#include <algorithm>

#include "base/Paths.h"
#include "base/Text.h"
#include "tracks/Languages.h"
#include "tracks/TrackChoice.h"

namespace pelorine {
namespace {

// The part between the video's name and the extension: a language, often
// beside a note ("en.forced", "forced.en", "en.sdh"); without a known
// language in it, the part as it is.
std::string languageOf(const std::string& part) {
    std::size_t from = 0;
    while (from <= part.size()) {
        const std::size_t dot = std::min(part.find('.', from), part.size());
        if (const std::string piece = part.substr(from, dot - from); knownLanguage(piece)) {
            return languageName(piece);
        }
        from = dot + 1;
    }
    return languageName(part);
}

}  // namespace

std::optional<SubtitleFile> subtitleFileOf(const std::string& videoPath,
                                           const std::string& fileName) {
    const std::string video = withoutExtension(fileNameOf(videoPath)) + ".";
    const std::string extension = text::lower(extensionOf(fileName));
    if (video.size() == 1 || !fileName.starts_with(video) ||
        (extension != "srt" && extension != "ass" && extension != "ssa" && extension != "vtt")) {
        return std::nullopt;
    }
    const std::size_t middle = fileName.size() - extension.size() - 1;
    if (middle < video.size() - 1) {
        return std::nullopt;  // the video's own name ("Film.srt" beside "Film.srt")
    }
    SubtitleFile file{folderWithSeparatorOf(videoPath) + fileName, fileName, {}};
    if (middle > video.size()) {
        file.language = languageOf(fileName.substr(video.size(), middle - video.size()));
    }
    return file;
}

std::vector<SubtitleFile> subtitleFilesBeside(const std::string& videoPath,
                                              const platform::FileSystem& files) {
    const std::string folder = folderWithSeparatorOf(videoPath);
    std::vector<SubtitleFile> found;
    for (const std::string& name : files.listFolder(folder.empty() ? "." : folder)) {
        if (auto file = subtitleFileOf(videoPath, name); file && file->path != videoPath) {
            found.push_back(std::move(*file));
        }
    }
    std::sort(found.begin(), found.end(),
              [](const SubtitleFile& a, const SubtitleFile& b) { return a.name < b.name; });
    return found;
}

void findSubtitleFileAgain(Job& job, const platform::FileSystem& files) {
    if (!choosesFileTracks(job) || job.dvdSubtitleId < kSubtitleFileCode) {
        return;
    }
    TrackChoice choice = trackChoiceOf(job);
    choice.subtitles = SubtitleChoice::none();
    for (const SubtitleFile& file : subtitleFilesBeside(job.sourcePath, files)) {
        if (subtitleFileCode(file.name) == job.dvdSubtitleId) {
            choice.subtitles = SubtitleChoice::ofFile(file.path);
            break;
        }
    }
    setTrackChoice(job, choice);
}

}  // namespace pelorine
