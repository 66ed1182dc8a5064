#include "jobs/JobFactory.h"

#include <random>

#include "base/TimeText.h"
#include "jobs/JobNaming.h"

namespace pelorine {

JobFactory::JobFactory(std::function<int()> random) : random_(std::move(random)) {}

JobFactory::JobFactory()
    : JobFactory([generator = std::make_shared<std::mt19937>(std::random_device{}())] {
          return static_cast<int>((*generator)() & 0x7fffffff);
      }) {}

std::unique_ptr<Job> JobFactory::makeFileJob(const std::string& sourcePath, const Profile& profile,
                                             const std::string& outputFolder, const MediaInfo& info,
                                             const JobList& others, const TrackChoice& tracks) {
    const std::string digits = randomDigits(random_);
    const auto prefix = outputPrefix(profile);
    const std::string base =
        prefix ? (prefix->empty() ? "" : *prefix + digits) : sourceTitle(sourcePath);
    auto job = std::make_unique<Job>();
    job->sourcePath = sourcePath;
    job->outputPath = newOutputPath(others, outputFolder, base, outputExtension(profile));
    job->startText = kZeroTime;
    job->duration = job->clipEnd = info.mediaLength();
    job->sourceWidth = info.videoWidth();
    job->sourceHeight = info.videoHeight();
    job->endText = timeText(job->duration);
    setTrackChoice(*job, tracks);
    applyProfile(profile, *job);
    return job;
}

std::unique_ptr<Job> JobFactory::makeDvdJob(const DvdChoice& choice, const Profile& profile,
                                            const std::string& outputFolder, const MediaInfo& range,
                                            const JobList& others) {
    const std::string digits = randomDigits(random_);
    const auto prefix = outputPrefix(profile);
    const std::string base =
        prefix && !prefix->empty() ? *prefix + digits : dvdOutputBase(choice.drive);
    auto job = std::make_unique<Job>();
    job->isDvd = 1;
    job->sourcePath = dvdSourcePath(choice.drive);
    job->outputPath = newOutputPath(others, outputFolder, base, outputExtension(profile));
    job->dvdTitle = choice.title;
    job->dvdChapterFirst = choice.chapterFirst;
    job->dvdChapterLast = choice.chapterLast;
    job->dvdAudioId = choice.audioId;
    job->dvdSubtitleId = choice.subtitleId;
    job->dvdAudioChannel = choice.audioChannel;
    job->startText = "00:00:00";
    job->duration = job->clipEnd = range.mediaLength();
    job->endText = wholeTimeText(job->duration);
    job->sourceWidth = range.videoWidth();
    job->sourceHeight = range.videoHeight();
    applyProfile(profile, *job);
    return job;
}

}  // namespace pelorine
