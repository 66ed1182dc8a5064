#include "app/SmallDialogText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/Paths.h"
#include "base/TimeText.h"
#include "tracks/TrackEntries.h"

namespace pelorine {
namespace {

constexpr char kSeparator = '/';

std::string line(const char* label, const std::string& value) {
    return std::string(label) + value;
}

}  // namespace

VideoInformation videoInformationOf(const Job& job) {
    VideoInformation information;
    information.sourcePath = job.sourcePath;
    information.outputPath = job.outputPath;
    information.outputFormat = job.outputFormat;
    information.startText = job.startText;
    information.endText = job.endText;
    information.duration = job.duration;
    information.clipLength = job.clipEnd - job.clipStart;
    information.clipEnabled = job.clipEnabled;
    if (const TrackChoice tracks = trackChoiceOf(job); tracks != TrackChoice{}) {
        information.sound = soundText(tracks);
        information.subtitles = subtitlesText(tracks);
    }
    return information;
}

std::vector<InformationLine> informationLines(const VideoInformation& information) {
    const std::string sourceName = fileNameOf(information.sourcePath);
    std::vector<InformationLine> lines = {
        {20, line("Source file name: ", sourceName)},
        {40, line("Source file format: ", extensionOf(sourceName))},
        {60, line("Source file path: ", information.sourcePath)},
        {100, line("Destination: ", fileNameOf(information.outputPath))},
        {120, line("Destination path: ", information.outputPath)},
        {140, line("Destination format: ", information.outputFormat)},
        {180, line("Duration: ", timeText(information.duration, TimeDivision::Reciprocal))},
        {220, line("Clip Source file: ", information.clipEnabled != 0 ? "yes" : "no")},
    };
    if (!information.sound.empty() || !information.subtitles.empty()) {
        lines.insert(lines.begin() + 6, {160, line("Sound track: ", information.sound) +
                                                  ", subtitles: " + information.subtitles});
    }
    if (information.clipEnabled != 0) {
        lines.push_back({240, line("Clip duration: ",
                                   timeText(information.clipLength, TimeDivision::Reciprocal))});
        lines.push_back({260, line("Start time: ", information.startText)});
        lines.push_back({280, line("End time: ", information.endText)});
    }
    return lines;
}

std::optional<std::string> outputNameProblem(const std::string& name) {
    // Room for the extension that may still be added to the name.
    constexpr std::size_t kLongestName = 250;
    if (name.find(kSeparator) != std::string::npos) {
        return "An output file name cannot contain \"/\": the file is always written into "
               "the output folder. Please type a name without it.";
    }
    if (name == "." || name == "..") {
        return "\"" + name + "\" is not a file name. Please type a name for the output file.";
    }
    if (name.size() > kLongestName) {
        return "The output file name is too long. Please type a name of at most 250 "
               "characters.";
    }
    return std::nullopt;
}

std::string outputPathWithName(const std::string& outputPath, const std::string& name,
                               const std::string& format) {
    // The folder is everything before the last separator; a path without one
    // has an empty folder, which becomes the root like any folder gets its
    // separator.
    std::string folder = folderOf(outputPath);
    if (folder.empty() || folder.back() != kSeparator) {
        folder += kSeparator;
    }
    const std::string extension = "." + format;
    constexpr std::size_t kExtensionLength = 4;
    if (name.size() > kExtensionLength &&
        name.compare(name.size() - kExtensionLength, kExtensionLength, extension) == 0) {
        return folder + name;
    }
    return folder + name + extension;
}

std::string powerOffCountdownText(int seconds) {
    return "The conversion is finished. The computer will be switched off in " +
           std::to_string(seconds) + (seconds == 1 ? " second." : " seconds.");
}

}  // namespace pelorine
