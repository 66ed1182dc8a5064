// A batch of real Jobs, one per built-in profile, converted by the real engine
// from media the test makes with the ffmpeg tool.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <thread>

#include "conversion/BatchProgress.h"
#include "conversion/BatchRun.h"
#include "support/RealMedia.h"
#include "support/Recorders.h"
#include "support/TestSupport.h"

namespace pelorine {
namespace {

using testing::durationOf;
using testing::shell;
using testing::streamsOf;

std::unique_ptr<Job> newJob(int profile, const std::string& source, const std::string& output,
                            double duration) {
    auto job = testing::plainJob(source, output, duration);
    job->sourceWidth = 640;
    job->sourceHeight = 480;
    job->profileIndex = profile;
    job->outputFormat = profile == 3 ? "mp3" : "mp4";
    job->videoCodec = profile == 2 ? "h264" : "MPEG4";
    job->videoSize = profile == 1 ? "480x272" : "320x240";
    job->audioCodec = profile == 3 ? "mp3" : "aac";
    return job;
}

// A 640x480 video with sound of `seconds`, made with the ffmpeg tool.
std::string makeSource(const testing::TempFolder& folder, const std::string& name, int seconds) {
    const std::string source = folder.file(name);
    const std::string length = std::to_string(seconds);
    shell("ffmpeg -v error -f lavfi -i testsrc=size=640x480:rate=25:duration=" + length +
          " -f lavfi -i sine=frequency=440:duration=" + length +
          " -c:v mpeg4 -c:a aac -shortest -y '" + source + "'");
    return source;
}

// The real engine installed in the test's folder, and what a batch needs beside it.
struct RealServices {
    explicit RealServices(const testing::TempFolder& folder)
        : paths(folder.path(), folder.file("engine/")),
          settings(platform::systemFileSystem(), folder.file("zelvic.ini"), folder.file("out")) {
        testing::installRealEngine(folder.file("engine/"));
    }
    BatchRun::Services services() {
        return {engine, platform::systemFileSystem(), power, settings};
    }

    testing::FolderPaths paths;
    Engine engine{platform::systemProcessLauncher(), platform::systemProcessList(), paths,
                  platform::systemFileSystem()};
    Settings settings;
    testing::RecordingPower power;
};

TEST(RealEngineBatch, ConvertsEveryProfileAndReportsAVanishedSource) {
    testing::TempFolder folder;
    const std::string source = makeSource(folder, "clip source.mp4", 3);
    ASSERT_TRUE(std::filesystem::exists(source)) << "the ffmpeg tool made no test media";
    folder.write("gone.avi", "");

    std::vector<Job> jobs;
    for (int profile = 0; profile < 4; ++profile) {
        const std::string name =
            "out/job" + std::to_string(profile) + (profile == 3 ? ".MP3" : ".MP4");
        jobs.push_back(*newJob(profile, source, folder.file(name), 3.0));
    }
    jobs.push_back(*newJob(2, folder.file("gone.avi"), folder.file("out/gone.MP4"), 3.0));
    std::filesystem::remove(folder.file("gone.avi"));

    RealServices real(folder);
    testing::RecordingBatchView<BatchView> view;
    BatchRun batch(jobs, view, real.services(), folder.path() + "logs/");

    // Follow the progress as the window's timer does.
    std::atomic<bool> done{false};
    int highestJobPercent = 0;
    std::thread worker([&] {
        batch.run();
        done = true;
    });
    while (!done) {
        const BarPositions bars = batch.progressTick();
        highestJobPercent = std::max(highestJobPercent, bars.job.value_or(0));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    worker.join();

    ASSERT_EQ(batch.results().size(), 5u);
    for (int profile = 0; profile < 4; ++profile) {
        EXPECT_EQ(batch.results()[profile].outcome, JobOutcome::Done)
            << profile << ": " << batch.results()[profile].reason;
    }
    EXPECT_THAT(streamsOf(folder.file("out/job0.mp4")), ::testing::HasSubstr("mpeg4,320,240"));
    EXPECT_THAT(streamsOf(folder.file("out/job1.mp4")), ::testing::HasSubstr("mpeg4,480,272"));
    EXPECT_THAT(streamsOf(folder.file("out/job2.mp4")), ::testing::HasSubstr("h264,320,240"));
    // The source is mono: so is the sound of the output.
    EXPECT_THAT(streamsOf(folder.file("out/job2.mp4")), ::testing::HasSubstr("aac,44100,1"));
    EXPECT_THAT(streamsOf(folder.file("out/job3.mp3")), ::testing::HasSubstr("mp3,44100"));
    for (const char* name : {"out/job0.mp4", "out/job2.mp4", "out/job3.mp3"}) {
        EXPECT_NEAR(durationOf(folder.file(name)), 3.0, 0.15) << name;
    }
    EXPECT_EQ(batch.results()[4].outcome, JobOutcome::Failed);
    // The engine's own words, from its log.
    EXPECT_EQ(batch.results()[4].reason,
              "cannot open \"" + folder.file("gone.avi") + "\": No such file or directory");
    EXPECT_THAT(view.events().back(), ::testing::HasSubstr("1 job of 5 could not be converted"));
    // Each run's position is read while it runs and once more at its end; a run
    // on a loaded machine may end between two ticks, so the ticks themselves
    // are not counted on (ProgressTicksFollowTheBatchsOwnCopy follows them).
    for (int profile = 0; profile < 4; ++profile) {
        EXPECT_NEAR(batch.results()[profile].lastPosition, 3.0, 0.5) << profile;
    }
    EXPECT_GE(highestJobPercent, 0);
}

// A Job converted beside others gives the very file it gives alone: each
// run has its own channel folder, and nothing of one reaches another.
TEST(RealEngineBatch, JobsConvertedSideBySideGiveTheSameBytesAsOneAtATime) {
    testing::TempFolder folder;
    const std::string source = makeSource(folder, "source.mp4", 2);
    ASSERT_TRUE(std::filesystem::exists(source)) << "the ffmpeg tool made no test media";
    RealServices real(folder);
    const std::vector<std::string> names = {"job0.mp4", "job1.mp4", "job2.mp4", "job3.mp3"};
    const auto convert = [&](const std::string& out, int atOnce) {
        std::vector<Job> jobs;
        for (int profile = 0; profile < 4; ++profile) {
            jobs.push_back(*newJob(profile, source, folder.file(out + names[profile]), 2.0));
        }
        testing::RecordingBatchView<BatchView> view;
        BatchRun batch(jobs, view, real.services(), folder.path() + out + "logs/");
        batch.setThumbnails(true);
        batch.setJobsAtOnce(atOnce);
        batch.run();
        for (const JobResult& result : batch.results()) {
            EXPECT_EQ(result.outcome, JobOutcome::Done) << out << ": " << result.reason;
        }
    };
    convert("alone/", 1);
    convert("together/", 4);
    for (const std::string& name : names) {
        const std::string alone = folder.read("alone/" + name);
        EXPECT_GT(alone.size(), 1000u) << name;
        EXPECT_TRUE(alone == folder.read("together/" + name)) << name << " differs";
    }
    EXPECT_EQ(folder.read("alone/job0.THM"), folder.read("together/job0.THM"));
}

}  // namespace
}  // namespace pelorine
