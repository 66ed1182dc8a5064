// A file Job's sound and subtitles in the window's logic, with the fake
// engine: the defaults set once and taken by new Jobs, the Sound and
// Subtitles dialog, and what the list and the video information sheet show.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/Commands.h"
#include "app/SmallDialogText.h"
#include "support/ScriptedWindow.h"

namespace pelorine {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

class TracksCommands : public testing::ControllerFixture {
protected:
    // A film with English and Japanese sound, a French subtitle track and an
    // English subtitle file beside it, added as Add adds it.
    const Job& addFilm() {
        folder.write("film.mkv",
                     "length=5 width=640 height=480 audio=English,Japanese subtitles=French");
        folder.write("film.en.srt", "1\n00:00:01,000 --> 00:00:02,000\nHello\n");
        window.profile = 0;
        window.filesChoice = {folder.file("film.mkv")};
        controller.handleCommand(command::kAdd, window.at());
        EXPECT_EQ(controller.jobs().count(), 1u);
        return controller.jobs().job(0);
    }
};

TEST_F(TracksCommands, DefaultsSetOnceAreTakenByNewFileJobs) {
    // None set: the default track and no subtitles, as files were added before.
    EXPECT_EQ(trackChoiceOf(addFilm()), TrackChoice{});
    EXPECT_EQ(window.rows[0][kSoundColumn], "default");
    EXPECT_EQ(window.rows[0][kSubtitlesColumn], "none");

    window.preferencesChoice = TrackPreferences{{"jpn", "en"}, {"eng"}, BurnRule::Foreign};
    controller.handleCommand(command::kTrackDefaults, window.at());
    EXPECT_EQ(window.shownPreferences, TrackPreferences{});
    EXPECT_THAT(folder.read("zelvic.ini"),
                HasSubstr("[TRACKS]\nSoundLanguages=jpn, en\nSubtitleLanguages=eng\n"
                          "BurnSubtitles=foreign\n"));
    controller.jobs().clear();
    const Job& job = addFilm();
    EXPECT_EQ(trackChoiceOf(job),
              (TrackChoice{1, SubtitleChoice::ofFile(folder.file("film.en.srt"))}));
    EXPECT_THAT(window.rows[0],
                ElementsAre("1", folder.file("film.mkv"), ::testing::_, ::testing::_, ::testing::_,
                            ::testing::_, ::testing::_, "", "track 1", "film.en.srt"));
    // Cancelled, the defaults stay.
    window.preferencesChoice.reset();
    controller.handleCommand(command::kTrackDefaults, window.at());
    EXPECT_EQ(window.shownPreferences.burn, BurnRule::Foreign);
}

TEST_F(TracksCommands, TheDialogListsTheFilesTracksAndChangesTheJob) {
    addFilm();
    window.selected = 0;
    window.tracksChoice = std::pair{2, 1};
    controller.handleCommand(command::kListSoundAndSubtitles, window.at());
    EXPECT_EQ(
        window.shownTracks,
        (TrackLists{{"The file's default track", "0: English (aac 2ch)", "1: Japanese (aac 2ch)"},
                    {"None", "Track 0: French", "File: film.en.srt (English)"},
                    0,
                    0}));
    const Job& job = controller.jobs().job(0);
    EXPECT_EQ(trackChoiceOf(job), (TrackChoice{1, SubtitleChoice::ofTrack(0)}));
    EXPECT_EQ(window.rows[0][kSoundColumn], "track 1");
    EXPECT_EQ(window.rows[0][kSubtitlesColumn], "track 0");
    EXPECT_THAT(informationLines(videoInformationOf(job)),
                Contains(InformationLine{160, "Sound track: track 1, subtitles: track 0"}));

    // Shown again with the choice; Cancel changes nothing.
    window.tracksChoice.reset();
    controller.handleCommand(command::kSoundAndSubtitles, window.at());
    EXPECT_EQ(window.shownTracks.soundIndex, 2);
    EXPECT_EQ(window.shownTracks.subtitleIndex, 1);
    EXPECT_EQ(trackChoiceOf(job), (TrackChoice{1, SubtitleChoice::ofTrack(0)}));

    // The file's subtitle file, then none at all.
    window.tracksChoice = std::pair{0, 2};
    controller.handleCommand(command::kSoundAndSubtitles, window.at());
    EXPECT_EQ(trackChoiceOf(job),
              (TrackChoice{std::nullopt, SubtitleChoice::ofFile(folder.file("film.en.srt"))}));
    window.tracksChoice = std::pair{0, 0};
    controller.handleCommand(command::kSoundAndSubtitles, window.at());
    EXPECT_EQ(trackChoiceOf(job), TrackChoice{});
    EXPECT_EQ(informationLines(videoInformationOf(job)).size(), 8u);
}

TEST_F(TracksCommands, ADvdJobOrNoSelectionIsRefused) {
    window.clear();
    controller.handleCommand(command::kSoundAndSubtitles, window.at());
    EXPECT_THAT(window.events(), Contains(std::string("box ") + kNoSelectionMessage));
    Job dvd = *testing::plainJob(folder.file("disc"), folder.file("out/d.MP4"), 100);
    dvd.isDvd = 1;
    dvd.sourcePath = "DVD_DRIVE_" + folder.file("disc");
    dvd.dvdAudioId = 128;
    controller.jobs().append(std::make_unique<Job>(dvd));
    window.selected = 0;
    window.clear();
    controller.handleCommand(command::kListSoundAndSubtitles, window.at());
    EXPECT_THAT(window.events(), Contains(std::string("box ") + kDvdTracksMessage));
    EXPECT_THAT(window.events(), Not(Contains("tracks dialog")));
    EXPECT_EQ(controller.jobs().job(0), dvd);
}

}  // namespace
}  // namespace pelorine
