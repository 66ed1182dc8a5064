// The whole road of a file without a display: generated media added through
// the window logic and identified by the real engine, settings changed as
// the grid reports them, then converted with each built-in profile.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/Commands.h"
#include "jobs/JobFactory.h"
#include "support/RealMedia.h"
#include "support/ScriptedWindow.h"
#include "support/TestSupport.h"

namespace pelorine {
namespace {

using testing::shell;
using testing::streamsOf;

TEST(AddAndConvert, EveryBuiltInProfileFromTheListToTheFile) {
    testing::TempFolder folder;
    testing::installRealEngine(folder.file("bin/"));
    const std::string wide = folder.file("wide clip.mkv");
    shell(
        "ffmpeg -v error -f lavfi -i testsrc=size=640x360:rate=25:duration=2 -f lavfi -i "
        "sine=frequency=440:duration=2 -ac 2 -c:v mpeg4 -c:a mp3 -shortest -y '" +
        wide + "'");
    ASSERT_TRUE(std::filesystem::exists(wide)) << "the ffmpeg tool made no test media";

    testing::FolderPaths paths(folder.path(), folder.file("bin/"));
    Engine engine(platform::systemProcessLauncher(), platform::systemProcessList(), paths,
                  platform::systemFileSystem());
    Settings settings(platform::systemFileSystem(), folder.file("zelvic.ini"), folder.file("out"));
    testing::ScriptedDesktop desktop;
    testing::RecordingPower power;
    testing::ScriptedWindow window;
    MainController controller({engine, paths, platform::systemFileSystem(), power, desktop,
                               settings, testing::systemDevices()},
                              window, window);
    window.controller = &controller;
    controller.initialise();
    JobListOperations& ops = controller.jobOperations();

    ops.setRandom([] { return 12345; });
    // One Job per profile: the same source under four names.
    for (int profile = 0; profile < 4; ++profile) {
        const std::string copy = folder.file("clip" + std::to_string(profile) + ".mkv");
        std::filesystem::copy_file(wide, copy);
        window.profile = profile;
        window.filesChoice = {copy};
        controller.handleCommand(command::kAdd, window.at());
    }
    ASSERT_EQ(controller.jobs().count(), 4u) << window.events().back();
    EXPECT_NEAR(controller.jobs().job(0).duration, 2.0, 0.1);
    EXPECT_EQ(controller.jobs().job(0).sourceWidth, 640);

    // The factory alone, from the engine's own media information, makes the
    // same Jobs: no grid, no window.
    JobFactory factory([] { return 12345; });
    JobList made;
    for (int profile = 0; profile < 4; ++profile) {
        const std::string copy = folder.file("clip" + std::to_string(profile) + ".mkv");
        const IdentifyOutcome identified = engine.identify(copy, false);
        ASSERT_EQ(identified.result, IdentifyResult::Identified);
        const Job& job = made.append(factory.makeFileJob(
            copy, builtInProfile(profile), settings.outputPath(), *identified.info, made));
        EXPECT_EQ(job, controller.jobs().job(static_cast<std::size_t>(profile))) << profile;
    }

    // The H.264 Job: a clip from 0.5 s to 1.5 s and a lower bitrate, through the grid.
    window.selected = 2;
    ops.loadJob(2);
    ops.edit(change::RowText{Row::VideoBitrate, "400"});
    ops.edit(change::ClipTimes{"00:00:00.50", "00:00:01.50"});
    EXPECT_EQ(controller.jobs().job(2).clipEnabled, 1);

    controller.handleCommand(command::kConvert, window.at());
    ASSERT_TRUE(
        testing::waitUntil([&] { return !controller.batchActive(); }, std::chrono::seconds(120)));
    EXPECT_THAT(window.events(), ::testing::Contains("message Complete!"));

    const auto& jobs = controller.jobs();
    EXPECT_THAT(
        streamsOf(folder.file(
            "out/" + std::filesystem::path(jobs.job(0).outputPath).stem().string() + ".mp4")),
        ::testing::HasSubstr("mpeg4,320,240"));
    EXPECT_THAT(
        streamsOf(folder.file(
            "out/" + std::filesystem::path(jobs.job(1).outputPath).stem().string() + ".mp4")),
        ::testing::HasSubstr("mpeg4,480,272"));
    // A clip is written under the Job's own output name.
    EXPECT_THAT(streamsOf(jobs.job(2).outputPath), ::testing::HasSubstr("h264,320,240"));
    EXPECT_THAT(streamsOf(folder.file("out/clip3.mp3")), ::testing::HasSubstr("mp3,44100"));
    const double clipLength =
        std::atof(shell("ffprobe -v error -show_entries format=duration -of csv=p=0 '" +
                        jobs.job(2).outputPath + "'")
                      .c_str());
    EXPECT_NEAR(clipLength, 1.0, 0.1);
}

}  // namespace
}  // namespace pelorine
