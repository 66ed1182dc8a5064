#pragma once
// New Jobs, made one way for every front end: the window's Add, the DVD
// dialog, project tools and the command line all hand a source, a profile,
// the output folder and the engine's media information to the factory.
// It knows nothing of the settings grid.

#include <functional>
#include <memory>
#include <string>

#include "jobs/DvdSource.h"
#include "jobs/Job.h"
#include "jobs/JobList.h"
#include "profiles/Profile.h"
#include "records/MediaInfo.h"
#include "tracks/TrackChoice.h"

namespace pelorine {

class JobFactory {
public:
    // `random` gives the non-negative numbers behind generated output names.
    explicit JobFactory(std::function<int()> random);
    // Random numbers from the system's random source.
    JobFactory();

    void setRandom(std::function<int()> random) { random_ = std::move(random); }

    // A Job converting the file `sourcePath` with `profile` into
    // `outputFolder`: its length and picture size from `info`, the clip
    // off, and an output name that no Job of `others` has (random digits
    // after the profile's prefix; MP3 outputs are named after the source),
    // with the sound and subtitles of `tracks`.
    std::unique_ptr<Job> makeFileJob(const std::string& sourcePath, const Profile& profile,
                                     const std::string& outputFolder, const MediaInfo& info,
                                     const JobList& others, const TrackChoice& tracks = {});

    // A Job converting the DVD title and chapters of `choice` with `profile`
    // into `outputFolder`: its length (of exactly those chapters) and
    // picture size from `range`, the engine's record of them; times shown
    // without hundredths; an MP3 output named after the disc.
    std::unique_ptr<Job> makeDvdJob(const DvdChoice& choice, const Profile& profile,
                                    const std::string& outputFolder, const MediaInfo& range,
                                    const JobList& others);

private:
    std::function<int()> random_;
};

}  // namespace pelorine
