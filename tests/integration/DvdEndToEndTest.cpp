// The test DVD from the dialog to the files: the dialog reads it through the
// real engine, Open DVD makes its Job, the batch converts it with every
// built-in profile, split and clipped.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "../../zelvic/tests/DvdFixture.h"
#include "app/JobListOperations.h"
#include "conversion/BatchRun.h"
#include "dvd/DvdJobs.h"
#include "dvd/EngineDiscReader.h"
#include "support/RealMedia.h"
#include "support/Recorders.h"
#include "support/ScriptedDvdView.h"
#include "support/ScriptedWindow.h"

namespace pelorine {
namespace {

namespace fs = std::filesystem;
namespace disc = dvdtest;
using testing::Entries;

using testing::durationOf;
using testing::streamsOf;

// The file a Job without clip or split writes: its output name with the
// output format as the extension.
std::string wholeFile(const Job& job) {
    return job.outputPath.substr(0, job.outputPath.rfind('.')) + "." + job.outputFormat;
}

class DvdEndToEnd : public ::testing::Test {
protected:
    DvdEndToEnd() {
        testing::installRealEngine(folder.file("engine/"));
        settings.setOutputPath(folder.file("out"));
        fs::create_directories(folder.file("out"));
    }

    // The dialog, as a user works it: no drive, the disc folder chosen,
    // title 1, its second chapter, the French audio and the sub-picture.
    DvdChoice chooseInDialog() {
        EngineDiscReader reader(engine, {});
        testing::ScriptedDvdView view;
        DvdDialogModel dialog(view, reader, {});
        dialog.initialise();
        view.folderAnswer = disc::dvdFixture().disc + "/";
        view.pick(DvdList::Drive, 0);
        dialog.driveChosen();
        EXPECT_EQ(view.entries(DvdList::Title), (Entries{"1", "2", "3"}));
        EXPECT_EQ(view.entries(DvdList::ChapterTo), (Entries{"1", "2"}));
        EXPECT_EQ(view.entries(DvdList::AudioStream),
                  (Entries{"0:English(ac3 2ch)", "1:French(mp2 2ch)", "none"}));
        EXPECT_EQ(view.entries(DvdList::Subtitle), (Entries{"0:German", "none"}));
        view.pick(DvdList::Title, 2);
        dialog.titleChosen();
        EXPECT_EQ(view.entries(DvdList::AudioStream), (Entries{"0:English(mp2 2ch)", "none"}));
        view.pick(DvdList::Title, 0);
        dialog.titleChosen();
        view.pick(DvdList::ChapterFrom, 1);
        view.pick(DvdList::AudioStream, 1);
        view.pick(DvdList::Subtitle, 0);
        dialog.accept();
        return dialog.choice();
    }

    void openDvd(const DvdChoice& choice, int profile) {
        EngineDiscReader reader(engine, {});
        window.profile = profile;
        OpenDvd open({jobs, rows, settings, window, window, [] { return true; },
                      [&] { return std::optional(choice); },
                      [&](const std::string& text) { return reader.read(text); },
                      [] { return 4217; }});
        open.run();
    }

    // Converts the list, every Job of it to its end.
    void convertAll() {
        std::vector<Job> copy;
        for (std::size_t i = 0; i < jobs.count(); ++i) {
            copy.push_back(jobs.job(i));
        }
        testing::RecordingPower power;
        testing::RecordingBatchView<BatchView> view;
        BatchRun batch(std::move(copy), view,
                       {engine, platform::systemFileSystem(), power, settings},
                       folder.path() + "logs/");
        batch.run();
        for (const JobResult& result : batch.results()) {
            EXPECT_EQ(result.outcome, JobOutcome::Done) << result.reason;
        }
    }

    testing::TempFolder folder;
    testing::FolderPaths paths{folder.path(), folder.file("engine/")};
    Engine engine{platform::systemProcessLauncher(), platform::systemProcessList(), paths,
                  platform::systemFileSystem()};
    Settings settings{platform::systemFileSystem(), folder.file("zelvic.ini"), folder.file("out")};
    JobList jobs;
    SettingsRows rows;
    testing::ScriptedWindow window;
};

TEST_F(DvdEndToEnd, FromTheDialogToFilesWithEveryProfile) {
    const DvdChoice choice = chooseInDialog();
    EXPECT_EQ(choice.drive, disc::dvdFixture().disc);
    EXPECT_EQ(choice.title, 1);
    EXPECT_EQ(choice.chapterFirst, 2);
    EXPECT_EQ(choice.chapterLast, 2);
    EXPECT_EQ(choice.audioId, disc::kFrenchMpegId);
    EXPECT_EQ(choice.subtitleId, 0);

    const std::vector<std::pair<int, std::string>> profiles = {
        {kProfileMpeg4Small, "mpeg4,320,240"},
        {kProfileMpeg4Wide, "mpeg4,480,272"},
        {kProfileH264, "h264,320,240"},
        {kProfileMp3, "mp3,44100,2"},
    };
    for (const auto& [profile, streams] : profiles) {
        SCOPED_TRACE(profile);
        openDvd(choice, profile);
        ASSERT_EQ(jobs.count(), 1u) << "the disc's Job is replaced, not added";
        const Job& job = jobs.job(0);
        // The Job lasts as long as the chosen chapter, not the whole title.
        EXPECT_NEAR(job.duration, disc::kChapter2Seconds, 0.04);
        EXPECT_EQ(job.endText, "00:00:02");
        EXPECT_EQ(job.sourceWidth, 768);
        convertAll();
        const std::string output = wholeFile(job);
        ASSERT_TRUE(fs::exists(output)) << output;
        EXPECT_THAT(streamsOf(output), ::testing::HasSubstr(streams));
        EXPECT_NEAR(durationOf(output), disc::kChapter2Seconds, 0.15);
    }
}

TEST_F(DvdEndToEnd, ASplitAndAClipStayInsideTheChosenChapters) {
    DvdChoice choice;
    choice.drive = disc::dvdFixture().image;
    choice.title = 1;
    choice.chapterFirst = choice.chapterLast = 2;
    openDvd(choice, kProfileMpeg4Small);
    ASSERT_EQ(jobs.count(), 1u);
    Job& job = jobs.job(0);
    job.split = "00:00:00.80";
    convertAll();
    const std::string base = job.outputPath.substr(0, job.outputPath.rfind('.'));
    EXPECT_EQ(job.outputFormat, "mp4");
    double total = 0;
    for (int part = 1; part <= 3; ++part) {
        const std::string name = base + "_clip_" + std::to_string(part) + ".mp4";
        ASSERT_TRUE(fs::exists(name)) << name;
        total += durationOf(name);
    }
    EXPECT_FALSE(fs::exists(base + "_clip_4.mp4")) << "no part past the chapter's end";
    EXPECT_NEAR(total, disc::kChapter2Seconds, 0.25);

    job.split = "Not split";
    job.clipEnabled = 1;
    job.clipStart = 0.5;
    job.clipEnd = 1.5;
    convertAll();
    EXPECT_NEAR(durationOf(job.outputPath), 1.0, 0.1) << "a clip writes the output name as it is";
}

}  // namespace
}  // namespace pelorine
