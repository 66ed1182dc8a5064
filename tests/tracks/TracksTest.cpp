// A file Job's sound track and subtitles: the language rules that choose them
// for a new Job, the subtitle files found beside a video, the choice as the
// project keeps it, and the engine options it gives.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "conversion/EncoderCommandLine.h"
#include "jobs/JobList.h"
#include "preview/PreviewCommandLine.h"
#include "project/ProjectFile.h"
#include "settings/TrackSettings.h"
#include "support/MemoryFileSystem.h"
#include "support/Recorders.h"
#include "tracks/Languages.h"
#include "tracks/SubtitleFiles.h"
#include "tracks/TrackDefaults.h"
#include "tracks/TrackEntries.h"

namespace pelorine {
namespace {

using ::testing::ElementsAre;

// A Matroska film: a Japanese and an English sound track, English and
// French subtitle tracks, and a German subtitle file beside it.
OfferedTracks film() {
    OfferedTracks offered;
    offered.sound = {{0, "Japanese", "aac 2ch"}, {1, "English", "ac3 6ch"}};
    offered.subtitles = {{0, "English", ""}, {1, "French", ""}};
    offered.files = {{"/v/Film.de.srt", "Film.de.srt", "German"}};
    return offered;
}

TrackPreferences prefer(std::vector<std::string> sound, std::vector<std::string> subtitles,
                        BurnRule burn) {
    return TrackPreferences{std::move(sound), std::move(subtitles), burn};
}

TEST(Languages, EveryFormOfACodeNamesTheSameLanguage) {
    EXPECT_TRUE(sameLanguage("eng", "en"));
    EXPECT_TRUE(sameLanguage("EN", "English"));
    EXPECT_TRUE(sameLanguage("jpn", "ja"));
    EXPECT_TRUE(sameLanguage("fre", "fra"));
    EXPECT_TRUE(sameLanguage("ger", "de"));
    EXPECT_TRUE(sameLanguage("tlh", " TLH "));  // unlisted codes match themselves
    EXPECT_TRUE(sameLanguage("fr", "fr-CA"));
    EXPECT_TRUE(sameLanguage("en_US", "eng"));
    EXPECT_FALSE(sameLanguage("en", "ja"));
    EXPECT_FALSE(sameLanguage("unknown", "unknown"));
    EXPECT_FALSE(sameLanguage("", ""));
    EXPECT_EQ(languageName("JPN"), "Japanese");
    EXPECT_EQ(languageName("forced"), "forced");
    EXPECT_THAT(languageList(" jpn, en;;de  fr,"), ElementsAre("jpn", "en", "de", "fr"));
    EXPECT_EQ(languageListText({"jpn", "en"}), "jpn, en");
}

TEST(TrackDefaults, SoundFollowsTheOrderOfThePreferredLanguages) {
    EXPECT_EQ(defaultTracks(prefer({"en", "ja"}, {}, BurnRule::Never), film()).sound, 1);
    EXPECT_EQ(defaultTracks(prefer({"jpn", "eng"}, {}, BurnRule::Never), film()).sound, 0);
    EXPECT_EQ(defaultTracks(prefer({"de", "English"}, {}, BurnRule::Never), film()).sound, 1);
    // No preferred language offered: the file's default track.
    EXPECT_EQ(defaultTracks(prefer({"ru"}, {}, BurnRule::Never), film()).sound, std::nullopt);
    EXPECT_EQ(defaultTracks(prefer({}, {}, BurnRule::Never), film()), TrackChoice{});
}

TEST(TrackDefaults, BurnRulesPickSubtitlesAsSet) {
    const OfferedTracks offered = film();
    EXPECT_EQ(defaultTracks(prefer({"ja"}, {"en"}, BurnRule::Never), offered).subtitles,
              SubtitleChoice::none());
    EXPECT_EQ(defaultTracks(prefer({"ja"}, {"fr", "en"}, BurnRule::Always), offered).subtitles,
              SubtitleChoice::ofTrack(1));
    // A file beside the video counts as its language's subtitles.
    EXPECT_EQ(defaultTracks(prefer({"ja"}, {"deu"}, BurnRule::Always), offered).subtitles,
              SubtitleChoice::ofFile("/v/Film.de.srt"));
    // Always, with no preferred language offered: the first track.
    EXPECT_EQ(defaultTracks(prefer({}, {"ru"}, BurnRule::Always), offered).subtitles,
              SubtitleChoice::ofTrack(0));
    OfferedTracks filesOnly = offered;
    filesOnly.subtitles.clear();
    EXPECT_EQ(defaultTracks(prefer({}, {}, BurnRule::Always), filesOnly).subtitles,
              SubtitleChoice::ofFile("/v/Film.de.srt"));
}

TEST(TrackDefaults, TheForeignFilmRuleBurnsOnlyForSoundTheUserDoesNotFollow) {
    const OfferedTracks offered = film();
    // Japanese sound, English subtitles wanted: burned.
    EXPECT_EQ(defaultTracks(prefer({"jpn"}, {"eng"}, BurnRule::Foreign), offered).subtitles,
              SubtitleChoice::ofTrack(0));
    // English sound is followed already: none.
    const TrackChoice english = defaultTracks(prefer({"en"}, {"en"}, BurnRule::Foreign), offered);
    EXPECT_EQ(english.sound, 1);
    EXPECT_EQ(english.subtitles, SubtitleChoice::none());
    // The default sound is the first track, Japanese.
    EXPECT_EQ(defaultTracks(prefer({}, {"en"}, BurnRule::Foreign), offered).subtitles,
              SubtitleChoice::ofTrack(0));
    EXPECT_EQ(defaultTracks(prefer({}, {"ja"}, BurnRule::Foreign), offered).subtitles,
              SubtitleChoice::none());
    // A file marking its English track as the default: that one plays.
    OfferedTracks marked = film();
    marked.sound[1].note += kDefaultTrackNote;
    EXPECT_EQ(defaultTracks(prefer({}, {"en"}, BurnRule::Foreign), marked).subtitles,
              SubtitleChoice::none());
    EXPECT_EQ(defaultTracks(prefer({}, {"ja"}, BurnRule::Foreign), marked).subtitles,
              SubtitleChoice::ofTrack(0));
}

// The engine names a file's subtitle track with its format and title in
// brackets: the language rules see the language, the dialog shows the rest.
TEST(TrackDefaults, ATracksFormatAndTitleStandBesideItsLanguage) {
    MediaInfo info;
    info.clearStreams();
    info.setAudio(0, 0, "Japanese", "aac 2ch");
    info.setAudio(1, 1, "English", "aac 2ch, Commentary");
    info.setSubtitle(0, 0, "English (ass, Signs (songs too))");
    info.setSubtitle(1, 1, "English (subrip)");
    info.setSubtitle(2, 2, "German");
    const OfferedTracks offered = offeredTracks(info, {});
    EXPECT_THAT(offered.subtitles,
                ElementsAre(OfferedTrack{0, "English", "ass, Signs (songs too)"},
                            OfferedTrack{1, "English", "subrip"}, OfferedTrack{2, "German", ""}));
    EXPECT_EQ(defaultTracks(prefer({"ja"}, {"de", "en"}, BurnRule::Always), offered).subtitles,
              SubtitleChoice::ofTrack(2));
    const TrackLists lists = trackLists(offered, TrackChoice{});
    EXPECT_THAT(lists.sound, ElementsAre("The file's default track", "0: Japanese (aac 2ch)",
                                         "1: English (aac 2ch, Commentary)"));
    EXPECT_THAT(lists.subtitles, ElementsAre("None", "Track 0: English (ass, Signs (songs too))",
                                             "Track 1: English (subrip)", "Track 2: German"));
}

TEST(TrackSettings, PreferencesAreKeptInTheSettingsFile) {
    testing::MemoryFileSystem files;
    const std::string ini = "/home/u/.config/pelorine/zelvic.ini";
    files.put(ini, "[GENERAL]\nOverWriteType=2\n");
    {
        TrackSettings settings(files, ini);
        settings.read();
        EXPECT_EQ(settings.preferences(), TrackPreferences{});
        ASSERT_TRUE(settings.setPreferences(prefer({"jpn", "en"}, {"en"}, BurnRule::Foreign)));
    }
    EXPECT_EQ(files.text(ini),
              "[GENERAL]\nOverWriteType=2\n[TRACKS]\nSoundLanguages=jpn, en\n"
              "SubtitleLanguages=en\nBurnSubtitles=foreign\n");
    TrackSettings again(files, ini);
    again.read();
    EXPECT_EQ(again.preferences(), prefer({"jpn", "en"}, {"en"}, BurnRule::Foreign));
    EXPECT_EQ(burnRuleNamed(" Always"), BurnRule::Always);
    EXPECT_EQ(burnRuleNamed("sometimes"), std::nullopt);
}

TEST(SubtitleFiles, FilesBesideTheVideoAreFoundWithTheirLanguage) {
    testing::MemoryFileSystem files;
    for (const char* name :
         {"Film.mkv", "Film.en.srt", "Film.eng.ass", "Film.English.SSA", "Film.vtt", "Film.txt",
          "Film 2.srt", "Other.srt", "Film.tlh.srt", "Film.pt-BR.srt", "Film.forced.de.srt",
          "Film.fr.sdh.srt", "Film.en.x.srt"}) {
        files.put(std::string("/v/a b/") + name, "1\n");
    }
    const auto found = subtitleFilesBeside("/v/a b/Film.mkv", files);
    std::vector<std::pair<std::string, std::string>> seen;
    for (const SubtitleFile& file : found) {
        seen.emplace_back(file.path, file.language);
    }
    // A region and a note beside the language ("forced", "sdh") are passed by.
    EXPECT_THAT(seen, ElementsAre(std::pair{"/v/a b/Film.English.SSA", "English"},
                                  std::pair{"/v/a b/Film.en.srt", "English"},
                                  std::pair{"/v/a b/Film.en.x.srt", "English"},
                                  std::pair{"/v/a b/Film.eng.ass", "English"},
                                  std::pair{"/v/a b/Film.forced.de.srt", "German"},
                                  std::pair{"/v/a b/Film.fr.sdh.srt", "French"},
                                  std::pair{"/v/a b/Film.pt-BR.srt", "Portuguese"},
                                  std::pair{"/v/a b/Film.tlh.srt", "tlh"},
                                  std::pair{"/v/a b/Film.vtt", ""}));
}

// A file Job as the factory makes it, in a project beside its video.
class FileJobChoice : public ::testing::Test {
protected:
    Job fileJob() const { return *testing::plainJob("/v/Film \"one\".mkv", "/o/MAQ00001.MP4", 60); }
    std::string sourcePiece(const Job& job) const {
        return EncoderCommandLine::sourcePiece(jobSettingsOf(job));
    }
    std::vector<Job> saveAndOpen(const Job& job) {
        JobList list;
        list.append(std::make_unique<Job>(job));
        EXPECT_TRUE(files.createFolders("/p"));
        EXPECT_TRUE(saveProject("/p/batch.vpt", list, files));
        return openProject("/p/batch.vpt", files).jobs;
    }

    testing::MemoryFileSystem files;
};

TEST_F(FileJobChoice, TheChoiceGivesTheEngineOptions) {
    Job job = fileJob();
    EXPECT_EQ(sourcePiece(job), " \"/v/Film \\\"one\\\".mkv\" ");
    setTrackChoice(job, {1, SubtitleChoice::ofTrack(0)});
    EXPECT_EQ(sourcePiece(job), " \"/v/Film \\\"one\\\".mkv\"  -aid 1  -sid 0 ");
    setTrackChoice(job, {std::nullopt, SubtitleChoice::ofFile("/v/Film \"one\".en.srt")});
    EXPECT_EQ(sourcePiece(job),
              " \"/v/Film \\\"one\\\".mkv\"  -sub \"/v/Film \\\"one\\\".en.srt\" ");
    // The preview plays the same sound and subtitles.
    const preview::PreviewTarget target{320, 240, 7};
    EXPECT_THAT(preview::previewCommandLine(job, 0, 10, target, {"zelvic", "/c/"}),
                ::testing::HasSubstr(" -sub \"/v/Film \\\"one\\\".en.srt\"  -ss "));
    // A DVD Job keeps its own fields' meaning.
    Job dvd = fileJob();
    dvd.isDvd = 1;
    dvd.sourcePath = "DVD_DRIVE_/dev/sr0";
    dvd.dvdAudioId = 128;
    dvd.dvdSubtitleId = 0;
    setTrackChoice(dvd, {3, SubtitleChoice::ofTrack(5)});
    EXPECT_EQ(dvd.dvdAudioId, 128);
    EXPECT_EQ(trackChoiceOf(dvd), TrackChoice{});
}

TEST_F(FileJobChoice, AProjectKeepsTheChoiceAndFindsTheSubtitleFileAgain) {
    files.put("/v/Film \"one\".mkv", "video");
    files.put("/v/Film \"one\".en.srt", "1\n");
    files.put("/v/Film \"one\".fr.srt", "1\n");
    Job job = fileJob();
    const TrackChoice tracks{1, SubtitleChoice::ofFile("/v/Film \"one\".en.srt")};
    setTrackChoice(job, tracks);
    ASSERT_THAT(saveAndOpen(job), ElementsAre(job));
    EXPECT_EQ(trackChoiceOf(saveAndOpen(job)[0]), tracks);

    setTrackChoice(job, {std::nullopt, SubtitleChoice::ofTrack(3)});
    EXPECT_EQ(trackChoiceOf(saveAndOpen(job)[0]).subtitles, SubtitleChoice::ofTrack(3));

    // A subtitle file gone since: no subtitles, never another file.
    setTrackChoice(job, {0, SubtitleChoice::ofFile("/v/Film \"one\".en.srt")});
    JobList list;
    list.append(std::make_unique<Job>(job));
    ASSERT_TRUE(files.createFolders("/p"));
    ASSERT_TRUE(saveProject("/p/batch.vpt", list, files));
    ASSERT_TRUE(files.removeFile("/v/Film \"one\".en.srt", 1));
    const auto opened = openProject("/p/batch.vpt", files).jobs;
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(trackChoiceOf(opened[0]), (TrackChoice{0, SubtitleChoice::none()}));
}

TEST_F(FileJobChoice, AJobSavedBeforeHasTheDefaultSoundAndNoSubtitles) {
    files.put("/v/Film \"one\".mkv", "video");
    files.put("/v/Film \"one\".srt", "1\n");
    const Job old = fileJob();  // both ids 0, as every file Job was saved
    const auto opened = saveAndOpen(old);
    ASSERT_THAT(opened, ElementsAre(old));
    EXPECT_EQ(trackChoiceOf(opened[0]), TrackChoice{});
    EXPECT_EQ(sourcePiece(opened[0]), sourcePiece(old));
}

// A named code page follows a burned subtitle file, in the batch's and the
// preview's lines alike, and nowhere else; the settings file keeps it, and a
// name the engine could not take as one argument is never used.
TEST_F(FileJobChoice, ANamedCodePageFollowsTheSubtitleFile) {
    const std::string ini = "/c/zelvic.ini";
    TrackSettings settings(files, ini);
    TrackPreferences preferences;
    preferences.subtitleCodePage = "windows-1250";
    ASSERT_TRUE(settings.setPreferences(preferences));
    EXPECT_THAT(files.text(ini), ::testing::EndsWith("\nSubtitleCodePage=windows-1250\n"));
    TrackSettings again(files, ini);
    again.read();
    EXPECT_EQ(again.preferences().subtitleCodePage, "windows-1250");
    ASSERT_TRUE(again.setPreferences({}));
    EXPECT_THAT(files.text(ini), ::testing::EndsWith("\nSubtitleCodePage=\n"));
    files.put(ini, "[TRACKS]\nSubtitleCodePage=windows 1250\n");
    again.read();
    EXPECT_EQ(again.preferences().subtitleCodePage, "");
    for (const char* refused : {"windows 1250", "cp\t1250", "\"CP1250\"", "'CP1250'"}) {
        EXPECT_FALSE(usableCodePageName(refused)) << refused;
    }
    EXPECT_TRUE(usableCodePageName("ISO-8859-7"));

    const EngineInvocation detect{"zelvic", "/c/"};
    EngineInvocation named = detect;
    named.subtitleCodePage = "windows-1250";
    const preview::PreviewTarget target{320, 240, 7};
    const auto lines = [&](const Job& job, const EngineInvocation& invocation) {
        return std::pair{EncoderCommandLine(job, invocation).commandLine(" -ss 0 ", "/o/A.MP4"),
                         preview::previewCommandLine(job, 0, 10, target, invocation)};
    };
    Job job = fileJob();
    setTrackChoice(job, {1, SubtitleChoice::ofFile("/v/Film \"one\".en.srt")});
    const std::string head =
        "zelvic \"/v/Film \\\"one\\\".mkv\"  -aid 1  -sub \"/v/Film \\\"one\\\".en.srt\" ";
    const auto [batch, play] = lines(job, detect);
    ASSERT_THAT(batch, ::testing::StartsWith(head));
    ASSERT_THAT(play, ::testing::StartsWith(head));
    const auto [namedBatch, namedPlay] = lines(job, named);
    EXPECT_EQ(namedBatch, head + " -subcp windows-1250 " + batch.substr(head.size()));
    EXPECT_EQ(namedPlay, head + " -subcp windows-1250 " + play.substr(head.size()));
    // A subtitle track, or none: the code page is not the engine's business.
    for (const TrackChoice& choice : {TrackChoice{1, SubtitleChoice::ofTrack(0)}, TrackChoice{}}) {
        setTrackChoice(job, choice);
        EXPECT_EQ(lines(job, named), lines(job, detect));
    }
}

}  // namespace
}  // namespace pelorine
