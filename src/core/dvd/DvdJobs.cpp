#include "dvd/DvdJobs.h"

#include <cstdio>

#include "app/JobListOperations.h"
#include "conversion/JobNaming.h"
#include "platform/CommandLine.h"
#include "platform/Text.h"

namespace pelorine {
namespace {

constexpr std::string_view kLowerPrefix = "dvd_drive_";

std::string outputExtension(int profile, const SettingsRows& rows) {
    if (profile == kProfileMp3) {
        return "MP3";
    }
    return profile == kProfileCustom ? text::upper(rows.value(row::kOutputFormat)) : "MP4";
}

}  // namespace

std::string dvdSourcePath(const std::string& drive) {
    return kDvdSourcePrefix + drive;
}

std::optional<std::string> dvdDriveOf(const std::string& sourcePath) {
    if (!text::lower(sourcePath).starts_with(kLowerPrefix)) {
        return std::nullopt;
    }
    return sourcePath.substr(kLowerPrefix.size());
}

std::string dvdOutputBase(const std::string& drive) {
    std::string base = dvdSourcePath(drive);
    for (char& c : base) {
        if (c == '/') {
            c = '_';
        }
    }
    return base;
}

std::string dvdTimeText(double seconds) {
    const auto hours = static_cast<long long>(seconds / 3600);
    const double rest = seconds - 3600.0 * static_cast<double>(hours);
    const auto minutes = static_cast<long long>(rest / 60);
    const auto whole = static_cast<long long>(rest - 60.0 * static_cast<double>(minutes));
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", hours, minutes, whole);
    return text;
}

std::string dvdRangeMediaText(const DvdChoice& choice) {
    return dvdMediaText(choice.title, choice.drive) + "-chapter " +
           std::to_string(choice.chapterFirst) + "-" + std::to_string(choice.chapterLast) + " ";
}

std::unique_ptr<Job> makeDvdJob(const DvdChoice& choice, const MediaInfo& range,
                                const JobList& jobs, const std::string& outputFolder, int profile,
                                const SettingsRows& rows, const std::string& digits) {
    const auto prefix = outputPrefix(profile, rows);
    const std::string base =
        prefix ? (prefix->empty() ? dvdOutputBase(choice.drive) : *prefix + digits)
               : dvdOutputBase(choice.drive);
    auto job = std::make_unique<Job>();
    job->isDvd = 1;
    job->sourcePath = dvdSourcePath(choice.drive);
    job->outputPath = newOutputPath(jobs, outputFolder, base, outputExtension(profile, rows));
    job->dvdTitle = choice.title;
    job->dvdChapterFirst = choice.chapterFirst;
    job->dvdChapterLast = choice.chapterLast;
    job->dvdAudioId = choice.audioId;
    job->dvdSubtitleId = choice.subtitleId;
    job->dvdAudioChannel = choice.audioChannel;
    job->startText = "00:00:00";
    job->duration = job->clipEnd = range.mediaLength();
    job->clipStart = 0.0;
    job->clipEnabled = 0;
    job->endText = dvdTimeText(job->duration);
    job->sourceWidth = range.videoWidth();
    job->sourceHeight = range.videoHeight();
    job->profileIndex = profile;
    newJobSettings(*job, profile, rows);
    return job;
}

void OpenDvd::replaceJobOf(const std::string& sourcePath) {
    for (std::size_t i = 0; i < p_.jobs.count(); ++i) {
        if (p_.jobs.job(i).sourcePath != sourcePath) {
            continue;
        }
        p_.jobs.remove(i);  // the list's rows follow
        return;
    }
}

void OpenDvd::run() {
    if (!p_.gate()) {
        return;
    }
    const std::string& folder = p_.settings.outputPath();
    if (folder.empty()) {
        p_.dialogs.message(kNoOutputFolderMessage);
        return;
    }
    const int profile = p_.view.profileSelection();
    if (profile < 0 || profile > kProfileCustom) {
        p_.dialogs.message(kNoProfileMessage);
        return;
    }
    const auto choice = p_.runDialog();
    if (!choice || choice->drive.empty()) {
        return;
    }
    // The length is that of exactly the title and chapters chosen; it is
    // read before the disc's old Job goes, so a failure loses nothing.
    const std::unique_ptr<MediaInfo> range = p_.identify(dvdRangeMediaText(*choice));
    if (!range || !(range->mediaLength() > 0.0)) {
        p_.dialogs.message(kDvdUnreadableMessage);
        return;
    }
    replaceJobOf(dvdSourcePath(choice->drive));
    const std::string digits = randomDigits(p_.random);
    p_.jobs.append(makeDvdJob(*choice, *range, p_.jobs, folder, profile, p_.rows, digits));
}

}  // namespace pelorine
