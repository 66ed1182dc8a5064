// Save Profile As and Load Profile, driven through the window's commands with
// a scripted window: the rows, the customised profile, the selected Job, the
// profile box and the grid.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/Commands.h"
#include "profiles/ProfileFile.h"
#include "support/ScriptedWindow.h"

namespace pelorine {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::StartsWith;

class ProfileCommandsTest : public testing::ControllerFixture {
protected:
    void save(const std::string& name) {
        window.fileChoice = folder.file(name);
        controller.handleCommand(command::kSaveProfileAs, window.at());
    }
    void load(const std::string& name) {
        window.fileChoice = folder.file(name);
        controller.handleCommand(command::kLoadProfile, window.at());
    }
    // A profile file made from the start-up rows with `change` applied.
    void write(const std::string& name, const std::function<void(SettingsRows&)>& change) {
        SettingsRows rows;
        change(rows);
        ASSERT_TRUE(saveProfile(folder.file(name), rows.items(), platform::systemFileSystem()));
    }
    // A Job in the list, selected.
    Job& selectJob(const std::string& outputPath) {
        folder.write("clip.avi", "length=100");
        auto job = testing::plainJob(folder.file("clip.avi"), outputPath, 100);
        job->split = "00:10:00";
        job->clipEnabled = 1;
        job->clipStart = 10;
        job->clipEnd = 20;
        controller.jobs().append(std::move(job));
        click(0);
        return controller.jobs().job(0);
    }
    static std::vector<std::string> names(std::initializer_list<Row> list) {
        std::vector<std::string> captions;
        for (const Row role : list) {
            captions.emplace_back(captionOf(role));
        }
        return captions;
    }
    const std::vector<std::string> kHead =
        names({Row::ClipVideo, Row::StartTime, Row::EndTime, Row::OutputFormat, Row::Split});
};

TEST_F(ProfileCommandsTest, TheStartUpRowsSavedAndLoadedAgainBecomeTheCustomisedProfile) {
    const auto before = controller.rows().items();
    save("mine.profile");
    EXPECT_THAT(window.log.events(),
                ElementsAre("focus", "save dialog Profile Files(*.profile)|*.profile|| .profile",
                            "box Project saved!"));
    const std::string bytes = folder.read("mine.profile");
    EXPECT_THAT(bytes, StartsWith(std::string("\x01\0\0\0\x07no|yes|\x02no\0\0\0\0\x0a"
                                              "Clip video",
                                              27)));

    load("mine.profile");
    EXPECT_EQ(controller.rows().items(), before);
    EXPECT_EQ(window.profile, kProfileCustom);
    EXPECT_EQ(window.profileEntries, 5);
    // The rows at start are the start profile's, H.264: all eighteen, the
    // quantizers after the codec.
    EXPECT_EQ(window.gridRows.size(), 18u);
    EXPECT_EQ(window.gridRows.at(6), captionOf(Row::QuantizerMin));
    EXPECT_EQ(window.gridRows.at(8), captionOf(Row::VideoSize));

    // A new Job added now takes the customised profile's settings.
    EXPECT_EQ(profileFor(kProfileCustom, controller.rows()).videoCodec, "h264");
}

TEST_F(ProfileCommandsTest, AnMp3ProfileChangesTheSelectedJobsFormatAndSettingsButNotItsClip) {
    Job& job = selectJob(folder.file("v.d/M4V12345.MP4"));
    write("song.profile", [](SettingsRows& rows) {
        rows.set(Row::OutputFormat, "mp3|", "mp3");
        rows.set(Row::AudioCodec, "mp3|", "mp3");
        rows.set(Row::AudioBitrate, "96");
        rows.set(Row::Split, "00:01:00");
    });
    load("song.profile");
    EXPECT_EQ(job.outputPath, folder.file("v.d/M4V12345.mp3"));
    EXPECT_EQ(job.outputFormat, "mp3");
    EXPECT_EQ(job.profileIndex, kProfileCustom);
    EXPECT_EQ(job.audioCodec, "mp3");
    EXPECT_EQ(job.audioBitrate, "96");
    EXPECT_EQ(job.split, "00:10:00");
    EXPECT_EQ(job.clipEnabled, 1);
    EXPECT_EQ(job.clipStart, 10);
    EXPECT_EQ(window.rows.at(0).at(kOutputColumn), job.outputPath);
    EXPECT_EQ(window.rows.at(0).at(kFormatColumn), "mp3");
    std::vector<std::string> audio = kHead;
    for (const Row role : {Row::AudioCodec, Row::AudioSample, Row::AudioBitrate, Row::AudioChannel,
                           Row::AudioVolume, Row::AudioDisabled}) {
        audio.emplace_back(captionOf(role));
    }
    EXPECT_THAT(window.gridRows, ElementsAreArray(audio));
}

TEST_F(ProfileCommandsTest, AnH264ProfileShowsTheQuantizersAndTheLowBitratesTwiceLoaded) {
    write("avc.profile", [](SettingsRows& rows) {
        rows.set(Row::VideoCodec, "h264|", "h264");
        rows.set(Row::VideoBitrate, "512|1200|", "400");
    });
    load("avc.profile");
    load("avc.profile");
    EXPECT_EQ(window.profileEntries, 5);
    EXPECT_EQ(window.profile, kProfileCustom);
    ASSERT_GE(window.gridRows.size(), 9u);
    EXPECT_EQ(window.gridRows.at(5), captionOf(Row::VideoCodec));
    EXPECT_EQ(window.gridRows.at(6), captionOf(Row::QuantizerMin));
    EXPECT_EQ(window.gridRows.at(7), captionOf(Row::QuantizerMax));
    EXPECT_EQ(controller.rows().at(Row::VideoBitrate).options, "100|200|400|500|600|768|");
    EXPECT_EQ(controller.rows().value(Row::VideoBitrate), "400");
}

TEST_F(ProfileCommandsTest, RowsKeepTheirKindAndNameAsTheFileHasThem) {
    write("odd.profile", [](SettingsRows& rows) {
        rows.at(Row::AudioVolume).kind = EditorKind::Colour;
        rows.at(Row::VideoDisabled).name = "No picture";
        rows.set(Row::OutputFormat, "avi|", "avi");
    });
    window.gridRows.clear();
    load("odd.profile");
    EXPECT_EQ(controller.rows().at(Row::AudioVolume).kind, EditorKind::Colour);
    EXPECT_EQ(controller.rows().at(Row::VideoDisabled).name, "No picture");
    // Neither mp4 nor mp3: the grid keeps its rows and shows the new values.
    EXPECT_TRUE(window.gridRows.empty());
    EXPECT_THAT(window.log.events(), ::testing::Contains("repaint grid"));
}

TEST_F(ProfileCommandsTest, ADamagedOrMissingFileChangesNothing) {
    Job& job = selectJob(folder.file("M4V12345.MP4"));
    const Job before = job;
    const auto rows = controller.rows().items();
    save("good.profile");
    const std::string bytes = folder.read("good.profile");
    folder.write("cut.profile", bytes.substr(0, bytes.size() - 3));
    window.log.clear();
    load("cut.profile");
    load("missing.profile");
    const auto events = window.log.events();
    ASSERT_EQ(events.size(), 6u);
    EXPECT_THAT(events.at(2), StartsWith("box Command failed."));
    EXPECT_THAT(events.at(5), StartsWith("box Failed!"));
    EXPECT_EQ(controller.rows().items(), rows);
    EXPECT_EQ(controller.jobs().job(0), before);
    EXPECT_EQ(window.profileEntries, 4);
}

TEST_F(ProfileCommandsTest, LoadingIsRefusedWhileConvertingSavingIsNot) {
    pretendConverting();
    window.log.clear();
    save("during.profile");
    load("during.profile");
    const auto events = window.log.events();
    endPretending();
    EXPECT_THAT(events, ElementsAre("focus", StartsWith("save dialog"), "box Project saved!",
                                    "focus", std::string("box ") + kGuardMessage));
}

}  // namespace
}  // namespace pelorine
