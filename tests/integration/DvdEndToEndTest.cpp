// The test DVD from the window's Open DVD to the files: the dialog reads it
// through the real engine, Open DVD makes its Job, Convert converts it with
// every built-in profile, split and clipped.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "../../zelvic/tests/DvdFixture.h"
#include "app/Commands.h"
#include "dvd/EngineDiscReader.h"
#include "support/RealMedia.h"
#include "support/ScriptedDvdView.h"
#include "support/ScriptedWindow.h"

namespace pelorine {
namespace {

namespace fs = std::filesystem;
namespace disc = dvdtest;
using testing::durationOf;
using testing::Entries;
using testing::streamsOf;

class NoDrives final : public platform::OpticalDrives {
public:
    std::vector<std::string> list() const override { return {}; }
};

// The file a Job without clip or split writes: its output name with the
// output format as the extension.
std::string wholeFile(const Job& job) {
    return job.outputPath.substr(0, job.outputPath.rfind('.')) + "." + job.outputFormat;
}

class DvdEndToEnd : public ::testing::Test {
protected:
    DvdEndToEnd() {
        testing::installRealEngine(folder.file("engine/"));
        window.controller = &controller;
        controller.initialise();
        controller.jobOperations().setRandom([] { return 4217; });
        window.dvdDialog = [this](DiscReader& reader, const std::vector<std::string>& drives) {
            return chooseInDialog(reader, drives);
        };
    }
    ~DvdEndToEnd() override { window.close(); }

    // The dialog, as a user works it on a machine without a drive: the disc
    // folder chosen, title 1, its second chapter, the French audio and the
    // sub-picture.
    std::optional<DvdChoice> chooseInDialog(DiscReader& reader,
                                            const std::vector<std::string>& drives) {
        testing::ScriptedDvdView view;
        DvdDialogModel dialog(view, reader, drives);
        dialog.initialise();
        EXPECT_EQ(view.hint, kNoDriveHint);
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

    void convert() {
        const auto completes = [&] {
            const auto& events = window.events();
            return std::count(events.begin(), events.end(), "message Complete!");
        };
        const auto before = completes();
        controller.handleCommand(command::kConvert, window.at());
        ASSERT_TRUE(testing::waitUntil([&] { return !controller.batchActive(); },
                                       std::chrono::seconds(120)));
        EXPECT_EQ(completes(), before + 1);
    }

    testing::TempFolder folder;
    testing::FolderPaths paths{folder.path(), folder.file("engine/")};
    Engine engine{platform::systemProcessLauncher(), platform::systemProcessList(), paths,
                  platform::systemFileSystem()};
    Settings settings{platform::systemFileSystem(), folder.file("zelvic.ini"), folder.file("out")};
    testing::ScriptedDesktop desktop;
    testing::RecordingPower power;
    NoDrives drives;
    testing::ScriptedWindow window;
    MainController controller{{engine,
                               paths,
                               platform::systemFileSystem(),
                               power,
                               desktop,
                               settings,
                               {drives, platform::systemLargeFiles(), platform::systemMountTable(),
                                platform::systemMachine(), ""}},
                              window,
                              window};
};

TEST_F(DvdEndToEnd, OpenDvdThenConvertWithEveryProfile) {
    const std::vector<std::pair<int, std::string>> profiles = {
        {kProfileMpeg4Small, "mpeg4,320,240"},
        {kProfileMpeg4Wide, "mpeg4,480,272"},
        {kProfileH264, "h264,320,240"},
        {kProfileMp3, "mp3,44100,2"},
    };
    const std::string source = "DVD_DRIVE_" + disc::dvdFixture().disc;
    for (const auto& [profile, streams] : profiles) {
        SCOPED_TRACE(profile);
        window.profile = profile;
        controller.handleCommand(command::kDvd, window.at());
        ASSERT_EQ(controller.jobs().count(), 1u) << "the disc's Job is replaced, not added";
        const Job& job = controller.jobs().job(0);
        EXPECT_EQ(job.sourcePath, source);
        EXPECT_EQ(job.dvdTitle, 1);
        EXPECT_EQ(job.dvdChapterFirst, 2);
        EXPECT_EQ(job.dvdChapterLast, 2);
        EXPECT_EQ(job.dvdAudioId, disc::kFrenchMpegId);
        EXPECT_EQ(job.dvdSubtitleId, 0);
        // The Job lasts as long as the chosen chapter, not the whole title.
        EXPECT_NEAR(job.duration, disc::kChapter2Seconds, 0.04);
        EXPECT_EQ(job.endText, "00:00:02");
        EXPECT_EQ(job.sourceWidth, 768);
        ASSERT_EQ(window.rows.size(), 1u);
        EXPECT_EQ(window.rows[0][1], source);
        convert();
        const std::string output = wholeFile(job);
        ASSERT_TRUE(fs::exists(output)) << output;
        EXPECT_THAT(streamsOf(output), ::testing::HasSubstr(streams));
        EXPECT_NEAR(durationOf(output), disc::kChapter2Seconds, 0.15);
    }
    EXPECT_EQ(controller.jobs().job(0).outputPath,
              folder.file("out/") + dvdOutputBase(disc::dvdFixture().disc) + ".MP3");
}

TEST_F(DvdEndToEnd, AScrambledDiscIsToldInTheDialogAndMakesNoJob) {
    const std::string scrambled = disc::scrambledCopy(folder.file("scrambled"));
    std::string hint;
    window.dvdDialog = [&](DiscReader& reader, const std::vector<std::string>& drives) {
        testing::ScriptedDvdView view;
        DvdDialogModel dialog(view, reader, drives);
        dialog.initialise();
        view.folderAnswer = scrambled;
        view.pick(DvdList::Drive, 0);
        dialog.driveChosen();
        hint = view.hint;
        dialog.accept();
        return std::optional<DvdChoice>(dialog.choice());
    };
    controller.handleCommand(command::kDvd, window.at());
    EXPECT_THAT(hint,
                ::testing::StartsWith(std::string(kDiscUnreadablePrefix) + "the DVD is scrambled"));
    EXPECT_EQ(controller.jobs().count(), 0u);
}

TEST_F(DvdEndToEnd, ASplitAndAClipStayInsideTheChosenChapters) {
    window.profile = kProfileMpeg4Small;
    controller.handleCommand(command::kDvd, window.at());
    ASSERT_EQ(controller.jobs().count(), 1u);
    Job& job = controller.jobs().job(0);
    job.split = "00:00:00.80";
    convert();
    const std::string base = job.outputPath.substr(0, job.outputPath.rfind('.'));
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
    convert();
    EXPECT_NEAR(durationOf(job.outputPath), 1.0, 0.1) << "a clip writes the output name as it is";
}

}  // namespace
}  // namespace pelorine
