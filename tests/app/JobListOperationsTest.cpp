// Adding, deleting and editing Jobs through the window logic, with a scripted
// window and the fake engine identifying the files.

#include "app/JobListOperations.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/Commands.h"
#include "conversion/SizeEstimate.h"
#include "handheld/HandheldCopy.h"
#include "jobs/JobFactory.h"
#include "support/ScriptedWindow.h"
#include "support/TestSupport.h"

namespace pelorine {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class JobListOperationsTest : public testing::ControllerFixture {
protected:
    JobListOperationsTest() {
        controller.jobOperations().setRandom([this] { return nextRandom++; });
    }

    // A source the fake engine identifies with this length (0: not a video).
    std::string source(const std::string& name, double length = 100) {
        folder.write(name, "length=" + std::to_string(length) + " width=640 height=480");
        return folder.file(name);
    }

    void add(std::vector<std::string> paths, int profile = kProfileMpeg4Small) {
        window.profile = profile;
        window.filesChoice = std::move(paths);
        controller.handleCommand(command::kAdd, window.at());
    }

    JobListOperations& ops() { return controller.jobOperations(); }
    Job& job(std::size_t row) { return controller.jobs().job(row); }

    int nextRandom = 12345;  // 12345 % 1000 = 345, 12346 % 100 = 46
};

TEST_F(JobListOperationsTest, AddedFilesBecomeRowsWithTheirLengthAndName) {
    add({source("a.avi", 3725.5)});
    ASSERT_EQ(controller.jobs().count(), 1u);
    EXPECT_EQ(job(0).duration, 3725.5);
    EXPECT_EQ(job(0).sourceWidth, 640);
    EXPECT_EQ(job(0).outputPath, folder.file("out/M4V34546.MP4"));
    // The list shows the file that will be written: the format's own extension.
    EXPECT_THAT(window.rows[0], ElementsAre("1", folder.file("a.avi"), "00:00:00.00", "01:02:05.50",
                                            folder.file("out/M4V34546.mp4"), "mp4",
                                            handheld::sizeText(estimateOutput(job(0)).bytes), "",
                                            "default", "none"));
}

TEST_F(JobListOperationsTest, AddOpensWhereTheLastAddTookFiles) {
    std::filesystem::create_directories(folder.file("holiday"));
    add({source("holiday/a.avi")});
    EXPECT_EQ(window.filesFolder, "") << "the first Add opens in the home folder";
    add({source("b.avi")});
    EXPECT_EQ(window.filesFolder, folder.file("holiday"));
    EXPECT_EQ(settings.addFolder(), folder.path().substr(0, folder.path().size() - 1));
    // Kept across starts, in the settings file.
    Settings again(platform::systemFileSystem(), settings.filePath(), "/v");
    again.load();
    EXPECT_EQ(again.addFolder(), settings.addFolder());
}

TEST_F(JobListOperationsTest, DroppedFilesAndFoldersAreAddedAsAddDoes) {
    std::filesystem::create_directories(folder.file("trip/day2"));
    source("trip/day2/b.mp4");
    source("trip/a.avi");
    folder.write("trip/notes.txt", "");
    window.profile = kProfileMp3;
    controller.filesDropped({folder.file("trip"), source("single.avi")}, window.profile);
    ASSERT_EQ(controller.jobs().count(), 3u);
    EXPECT_EQ(job(0).sourcePath, folder.file("trip/a.avi"));
    EXPECT_EQ(job(1).sourcePath, folder.file("trip/day2/b.mp4"));
    EXPECT_EQ(job(2).sourcePath, folder.file("single.avi"));
    EXPECT_EQ(job(0).outputPath, folder.file("out/a.MP3")) << "named as Add names them";

    controller.filesDropped({folder.file("trip/notes.txt"), folder.file("trip/day2")},
                            window.profile);
    EXPECT_EQ(controller.jobs().count(), 3u) << "b.mp4 is in the list already";
    EXPECT_THAT(window.events().back(), HasSubstr("notes.txt: it has no length"));

    std::filesystem::create_directories(folder.file("empty"));
    controller.filesDropped({folder.file("empty")}, window.profile);
    EXPECT_EQ(window.events().back(), "box There are no video files in what was dropped.");

    pretendConverting();
    controller.filesDropped({source("late.avi")}, window.profile);
    EXPECT_EQ(window.events().back(), "box " + std::string(kGuardMessage));
    endPretending();
    EXPECT_EQ(controller.jobs().count(), 3u);
}

TEST_F(JobListOperationsTest, DuplicatesAreSkippedAndClashingNamesGetSuffixes) {
    controller.jobOperations().setRandom([] { return 12345; });  // the same digits every time
    add({source("a.avi"), source("b.avi"), source("c.avi"), folder.file("a.avi")});
    ASSERT_EQ(controller.jobs().count(), 3u) << "the repeated a.avi adds nothing";
    EXPECT_EQ(job(1).outputPath, folder.file("out/M4V34545_1.MP4"));
    EXPECT_EQ(job(2).outputPath, folder.file("out/M4V34545_1_1.MP4"));
    EXPECT_TRUE(window.events().empty() || window.events().back() == "task end") << "no message";
}

TEST_F(JobListOperationsTest, Mp3OutputsAreNamedAfterTheirSource) {
    settings.setOutputPath(folder.file("out/"));
    add({source("clip.avi")}, kProfileMp3);
    EXPECT_EQ(job(0).outputPath, folder.file("out/clip.MP3")) << "one separator only";
    EXPECT_EQ(job(0).outputFormat, "mp3");
}

TEST_F(JobListOperationsTest, FilesTheEngineCannotReadAreNamedInOneMessage) {
    folder.write("notes.txt", "");  // the fake engine identifies it with no length
    add({source("good.avi"), folder.file("notes.txt"), folder.file("missing.avi")});
    EXPECT_EQ(controller.jobs().count(), 1u);
    const std::string message = window.events().back();
    EXPECT_THAT(message, HasSubstr("These files were not added:"));
    EXPECT_THAT(message, HasSubstr(folder.file("notes.txt") + ": it has no length"));
    EXPECT_THAT(message, HasSubstr(folder.file("missing.avi") + ": it is not a video"));
}

TEST_F(JobListOperationsTest, CancellingTheAddingKeepsWhatWasAdded) {
    window.cancelAtStep = 1;
    add({source("a.avi"), source("b.avi"), source("c.avi")});
    EXPECT_EQ(controller.jobs().count(), 1u);
}

TEST_F(JobListOperationsTest, RefusalsBeforeAdding) {
    window.profile = -1;
    window.filesChoice = {source("a.avi")};
    controller.handleCommand(command::kAdd, window.at());
    EXPECT_EQ(window.events().back(), "box Please select a profile.");
    settings.setOutputPath("");
    add({source("a.avi")});
    EXPECT_EQ(window.events().back(), "box Please specify a directory for output.");
    EXPECT_EQ(controller.jobs().count(), 0u);
}

TEST_F(JobListOperationsTest, DeletingRowTwoOfFourRenumbers) {
    add({source("1.avi"), source("2.avi"), source("3.avi"), source("4.avi")});
    controller.handleCommand(command::kDelete, window.at());
    EXPECT_EQ(window.events().back(), "box Please select a video in the list first!");
    window.selected = 1;
    controller.handleCommand(command::kDelete, window.at());
    ASSERT_EQ(controller.jobs().count(), 3u);
    EXPECT_EQ(job(1).sourcePath, folder.file("3.avi"));
    EXPECT_EQ(window.rows[0][0], "1");
    EXPECT_EQ(window.rows[1][0], "2");
    EXPECT_EQ(window.rows[2][0], "3");
    window.confirmAnswer = true;
    controller.handleCommand(command::kNewProject, window.at());
    EXPECT_EQ(controller.jobs().count(), 0u);
    EXPECT_TRUE(window.rows.empty());
}

// Delete, Clear and New project leave no row selected and the grid showing
// the profile's defaults, so the next grid change reaches no Job at all.
TEST_F(JobListOperationsTest, AfterRemovingNoJobIsSelectedOrEdited) {
    add({source("1.avi"), source("2.avi"), source("3.avi")});
    click(1);
    type(Row::VideoBitrate, "2500");
    ASSERT_EQ(job(1).videoBitrate, "2500");

    controller.handleCommand(command::kDelete, window.at());
    EXPECT_EQ(window.selected, std::nullopt);
    EXPECT_EQ(ops().selectedIndex(), std::nullopt);
    EXPECT_EQ(controller.rows().value(Row::VideoBitrate), "1200") << "the profile's value";
    EXPECT_EQ(window.gridRows.size(), 16u);
    const std::vector<Job> before = controller.jobs().snapshot();
    type(Row::OutputFormat, "mp3");
    type(Row::VideoBitrate, "512");
    EXPECT_EQ(controller.jobs().snapshot(), before);

    // Clear asks first; New project is Clear.
    click(0);
    window.confirmAnswer = false;
    controller.handleCommand(command::kClear, window.at());
    EXPECT_EQ(controller.jobs().count(), 2u);
    EXPECT_EQ(window.events().back(), "confirm Clear: Remove all 2 jobs from the list?");
    window.confirmAnswer = true;
    controller.handleCommand(command::kNewProject, window.at());
    EXPECT_TRUE(controller.jobs().empty());
    EXPECT_EQ(window.selected, std::nullopt);
    EXPECT_EQ(ops().selectedIndex(), std::nullopt);
    window.clear();
    controller.handleCommand(command::kClear, window.at());
    EXPECT_THAT(window.events(), ::testing::Not(::testing::Contains(HasSubstr("confirm"))))
        << "an empty list is cleared without asking";
}

// A keyboard move selects a row without loading it: the grid still shows the
// Job it was loaded with, and that Job takes its edits.
TEST_F(JobListOperationsTest, GridEditsGoToTheJobTheGridShows) {
    add({source("1.avi"), source("2.avi")});
    click(0);
    window.selected = 1;  // moved with the arrow keys
    type(Row::VideoBitrate, "2500");
    EXPECT_EQ(job(0).videoBitrate, "2500");
    EXPECT_EQ(job(1).videoBitrate, "1200");
}

TEST_F(JobListOperationsTest, TheGridShowsTheStartProfileBeforeAnyJob) {
    EXPECT_EQ(window.profile, kProfileH264);
    EXPECT_EQ(window.gridRows.size(), 18u);
    EXPECT_EQ(controller.rows().value(Row::VideoCodec), "h264");
    EXPECT_EQ(controller.rows().value(Row::VideoBitrate), "768");
}

TEST_F(JobListOperationsTest, AClickLoadsTheJobIntoTheGrid) {
    add({source("a.avi")}, kProfileH264);
    window.profile = kProfileMp3;  // the box shows something else
    click(0);
    EXPECT_EQ(window.profile, kProfileH264);
    EXPECT_EQ(window.gridRows.size(), 18u);
    EXPECT_EQ(window.gridRows[6], "quantizer min");
    EXPECT_EQ(controller.rows().value(Row::VideoCodec), "h264");
}

TEST_F(JobListOperationsTest, ATypedClipIsTheClipConverted) {
    add({source("a.avi", 300)});
    click(0);
    SettingsRows& rows = controller.rows();
    ops().edit(change::ClipTimes{"00:01:00.50", "00:02:00.00"});
    EXPECT_EQ(job(0).clipStart, 60.5);
    EXPECT_EQ(job(0).clipEnd, 120.0);
    EXPECT_EQ(job(0).clipEnabled, 1);
    EXPECT_EQ(rows.value(Row::ClipVideo), "yes") << "as the slider does";
    EXPECT_EQ(window.rows[0][kBeginColumn], "00:01:00.50");
    // A clip that is not split writes the output path as it stands.
    EXPECT_EQ(window.rows[0][kOutputColumn], job(0).outputPath);
}

TEST_F(JobListOperationsTest, ATypedClipThatCannotBeIsRefusedWithAMessage) {
    add({source("a.avi", 300)});
    click(0);
    SettingsRows& rows = controller.rows();
    const std::pair<const char*, const char*> refused[] = {
        {"00:03:00.00", "00:02:00.00"},  // the start after the end
        {"00:02:00.00", "00:02:00.00"},  // no length
        {"0:01:10.00", "00:02:00.00"},   // ten characters
        {" 00:01:10.00", "00:02:00.00"}, {"00:01:10.000", "00:02:00.00"},
        {"00:61:00.00", "01:02:00.00"},  // minutes beyond 59
        {"ab:cd:ef.gh", "00:02:00.00"},  // the shape without digits
        {"00:01:00.00", "00:05:00.01"},  // after the end of the video
    };
    for (const auto& [start, end] : refused) {
        window.clear();
        ops().edit(change::ClipTimes{start, end});
        EXPECT_EQ(job(0).clipEnabled, 0) << start << " " << end;
        ASSERT_FALSE(window.events().empty());
        EXPECT_EQ(window.events().front().rfind("box ", 0), 0u) << start << " " << end;
        EXPECT_EQ(rows.value(Row::StartTime), "00:00:00.00") << "the grid shows the Job again";
        EXPECT_EQ(rows.value(Row::EndTime), "00:05:00.00");
        EXPECT_EQ(rows.value(Row::ClipVideo), "no");
    }
    ops().edit(change::ClipTimes{"00:03:00.00", "00:02:00.00"});
    EXPECT_THAT(window.events(),
                ::testing::Contains("box The clip must start before it ends: \"Start time\" "
                                    "00:03:00.00 is not before \"End time\" 00:02:00.00."));
    // The whole video, as its time text shows it.
    ops().edit(change::ClipTimes{"00:00:00.00", "00:05:00.00"});
    EXPECT_EQ(job(0).clipEnabled, 1);
}

TEST_F(JobListOperationsTest, ClipVideoNoRestoresTheWholeSourceYesOnlyTheFlag) {
    add({source("a.avi", 300)});
    click(0);
    ops().edit(change::SliderRange{10, 20});
    EXPECT_EQ(controller.rows().value(Row::ClipVideo), "yes");
    EXPECT_EQ(job(0).startText, "00:00:10.00");

    type(Row::ClipVideo, "no");
    EXPECT_EQ(job(0).clipEnabled, 0);
    EXPECT_EQ(job(0).clipEnd, 300.0);
    EXPECT_EQ(window.rows[0][kEndColumn], "00:05:00.00");
    EXPECT_EQ(controller.rows().value(Row::StartTime), "00:00:00.00");
    EXPECT_EQ(job(0).startText, "00:00:00.00") << "the Job's texts are the row's";

    type(Row::ClipVideo, "yes");
    EXPECT_EQ(job(0).clipEnabled, 1);
    EXPECT_EQ(job(0).clipStart, 0.0);
}

TEST_F(JobListOperationsTest, TypedValuesTheEngineCannotUseAreRefused) {
    add({source("a.avi")});
    click(0);
    type(Row::VideoBitrate, "999");
    EXPECT_EQ(job(0).videoBitrate, "999");
    type(Row::VideoBitrate, "fast");
    EXPECT_EQ(job(0).videoBitrate, "999");
    EXPECT_THAT(window.events(),
                ::testing::Contains(HasSubstr("\"Video bitrate\" cannot be \"fast\"")));
    EXPECT_EQ(controller.rows().value(Row::VideoBitrate), "999") << "the grid shows the Job again";
}

TEST_F(JobListOperationsTest, ProfileChangesRenameTheSelectedJob) {
    add({source("a.avi")});
    click(0);
    ops().edit(change::ProfileChoice{kProfileMp3});
    EXPECT_EQ(job(0).outputPath, folder.file("out/M4V34546.mp3"));
    EXPECT_EQ(window.rows[0][kFormatColumn], "mp3");
    EXPECT_EQ(window.gridRows.size(), 11u);
}

TEST_F(JobListOperationsTest, NothingChangesWhileConverting) {
    add({source("a.avi")});
    click(0);
    const Job before = job(0);
    const int profile = window.profile;
    pretendConverting();
    window.selected = 0;
    window.gridRows.clear();
    ops().loadJob(0);
    EXPECT_TRUE(window.gridRows.empty()) << "a click changes nothing";
    controller.handleCommand(command::kClear, window.at());
    EXPECT_EQ(controller.jobs().count(), 1u);
    EXPECT_EQ(window.events().back(),
              "box Please stop converting the videos and then add files to the list.");

    // What the window took is refused, and it shows the Job again.
    type(Row::VideoBitrate, "2500");
    window.slider = {5.0, 10.0};
    ops().edit(change::SliderRange{5.0, 10.0});
    window.profile = kProfileMp3;
    ops().edit(change::ProfileChoice{kProfileMp3});
    EXPECT_EQ(job(0), before);
    EXPECT_EQ(window.gridValue(Row::VideoBitrate), "1200");
    EXPECT_EQ(window.slider, std::make_pair(0.0, 100.0));
    EXPECT_EQ(window.profile, profile);
    endPretending();
}

// While a handler waits with the window painting (here StopPlay, for an
// engine deaf to quit), the window's commands and events are refused without
// a word, and what they moved is shown as before: no handler runs inside
// another's wait.
TEST_F(JobListOperationsTest, NothingRunsWhileAHandlerWaits) {
    for (const char* name : {"deaf", "b"}) {
        folder.write(std::string(name) + ".avi", std::string("length=100 ") + name);
        controller.jobs().append(testing::plainJob(folder.file(std::string(name) + ".avi"),
                                                   folder.file(std::string("out/") + name + ".MP4"),
                                                   100));
    }
    click(0);
    controller.handleCommand(command::kPlay, window.at());
    ASSERT_TRUE(controller.preview().active());
    const std::vector<Job> before = controller.jobs().snapshot();
    const int profile = window.profile;
    int turns = 0;
    window.duringWait = [&] {
        if (turns++ > 0) {
            return;
        }
        window.clear();
        window.confirmAnswer = true;
        window.filesChoice = {source("new.avi")};
        for (const int id : {command::kDelete, command::kClear, command::kAdd, command::kPlay,
                             command::kVideoInformation, command::kExit}) {
            controller.handleCommand(id, window.at());
        }
        type(Row::VideoBitrate, "2500");
        window.slider = {5.0, 10.0};
        ops().edit(change::SliderRange{5.0, 10.0});
        window.profile = kProfileMp3;
        ops().edit(change::ProfileChoice{kProfileMp3});
        window.selected = 1;
        ops().loadJob(1);
        controller.preview().seek(window.seekRelease());
        controller.playSelected(window.selected);
        controller.filesDropped({source("dropped.avi")}, window.profile);
    };
    controller.handleCommand(command::kStopPlay, window.at());
    ASSERT_GT(turns, 0);
    EXPECT_FALSE(controller.preview().active());
    EXPECT_EQ(controller.jobs().snapshot(), before);
    EXPECT_EQ(ops().selectedIndex(), 0u);
    for (const std::string& event : window.events()) {
        EXPECT_EQ(event.rfind("box", 0), std::string::npos) << event;
        EXPECT_EQ(event.rfind("confirm", 0), std::string::npos) << event;
        EXPECT_EQ(event.rfind("information", 0), std::string::npos) << event;
    }
    EXPECT_EQ(window.gridValue(Row::VideoBitrate), "1200") << "the grid shows the Job again";
    EXPECT_EQ(window.slider, std::make_pair(0.0, 100.0));
    EXPECT_EQ(window.profile, profile);

    // Once the wait is over, the window is heard again.
    window.selected = 0;
    controller.handleCommand(command::kDelete, window.at());
    EXPECT_EQ(controller.jobs().count(), 1u);
}

}  // namespace
}  // namespace pelorine

namespace pelorine {
namespace {

// The factory alone (no grid, no window) makes the very Job that Add makes.
TEST_F(JobListOperationsTest, TheFactoryMakesWhatAddMakesForEveryBuiltInProfile) {
    const std::string path = source("generated clip.avi", 75.25);
    const IdentifyOutcome identified = engine.identify(path, false);
    ASSERT_EQ(identified.result, IdentifyResult::Identified);
    for (int profile = kProfileMpeg4Small; profile <= kProfileMp3; ++profile) {
        controller.jobs().clear();
        nextRandom = 4242;
        add({path}, profile);
        ASSERT_EQ(controller.jobs().count(), 1u) << profile;

        int random = 4242;
        JobFactory factory([&random] { return random++; });
        const JobList none;
        const auto made = factory.makeFileJob(path, builtInProfile(profile), settings.outputPath(),
                                              *identified.info, none);
        EXPECT_EQ(*made, job(0)) << "profile " << profile;
        EXPECT_EQ(made->profileIndex, profile);
    }
}

TEST(BuiltInProfiles, AreTheFourProfilesOfTheBox) {
    EXPECT_EQ(outputExtension(builtInProfile(kProfileMpeg4Small)), "MP4");
    EXPECT_EQ(outputExtension(builtInProfile(kProfileMp3)), "MP3");
    EXPECT_EQ(outputPrefix(builtInProfile(kProfileMpeg4Wide)), "M4V");
    EXPECT_EQ(outputPrefix(builtInProfile(kProfileH264)), "MAQ");
    EXPECT_EQ(outputPrefix(builtInProfile(kProfileMp3)), std::nullopt);
    EXPECT_EQ(builtInProfile(kProfileMpeg4Wide).videoSize, "480x272");
    EXPECT_EQ(builtInProfile(kProfileH264).videoCodec, "h264");
    EXPECT_THROW(builtInProfile(kProfileCustom), std::out_of_range);

    Profile custom = builtInProfile(kProfileH264);
    custom.index = kProfileCustom;
    custom.outputFormat = "mp3";
    custom.videoCodec = "mp3";
    EXPECT_EQ(outputExtension(custom), "MP3");
    EXPECT_EQ(outputPrefix(custom), std::nullopt);
    custom.videoCodec = "theora";
    EXPECT_EQ(outputPrefix(custom), "") << "a codec the names do not know: no prefix, no digits";
}

}  // namespace
}  // namespace pelorine
