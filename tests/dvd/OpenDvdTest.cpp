// Open DVD with a scripted window, dialog and identify runs: naming,
// replacing, times and settings of DVD Jobs.

#include <gtest/gtest.h>

#include "app/JobListOperations.h"
#include "app/JobRows.h"
#include "base/TimeText.h"
#include "conversion/SizeEstimate.h"
#include "dvd/OpenDvd.h"
#include "handheld/HandheldCopy.h"
#include "profiles/SettingsRows.h"
#include "support/ScriptedWindow.h"

namespace pelorine {
namespace {

using testing::ScriptedWindow;
using testing::TempFolder;

MediaInfo rangeRecord(double length, int width = 768, int height = 576) {
    MediaInfo info;
    info.clearStreams();
    info.setMediaLength(length);
    info.setVideoSize(width, height);
    return info;
}

DvdChoice choiceOf(std::string drive, int title = 2, int first = 1, int last = 5) {
    DvdChoice choice;
    choice.drive = std::move(drive);
    choice.title = title;
    choice.chapterFirst = first;
    choice.chapterLast = last;
    choice.audioId = 128;
    choice.subtitleId = -1;
    choice.audioChannel = 1;
    return choice;
}

// Identify runs answered with one record (or none).
class RangeReader final : public DiscReader {
public:
    std::unique_ptr<MediaInfo> read(const std::string& mediaText) override {
        texts.push_back(mediaText);
        return record ? std::make_unique<MediaInfo>(*record) : nullptr;
    }
    std::string lastFailure() const override { return failure; }
    std::optional<MediaInfo> record;
    std::string failure;
    std::vector<std::string> texts;
};

class OpenDvdTest : public ::testing::Test {
protected:
    OpenDvdTest() {
        jobs.addObserver(&shown);
        settings.setOutputPath("/home/u/out");
        window.profile = kProfileMp3;
        reader.record = rangeRecord(1234.5);
        window.dvdDialog = [this](DiscReader& used, const std::vector<std::string>& drives) {
            EXPECT_EQ(&used, &reader);
            EXPECT_EQ(drives, std::vector<std::string>{"/dev/sr0"});
            return dialogAnswer;
        };
    }

    void open() {
        OpenDvd openDvd({jobs, settings, window, factory,
                         [this](int index) { return profileFor(index, rows); }, reader,
                         [] { return std::vector<std::string>{"/dev/sr0"}; }});
        openDvd.run(window.profile);
    }

    TempFolder folder;
    Settings settings{platform::systemFileSystem(), folder.file("zelvic.ini"), folder.file("out")};
    ScriptedWindow window;
    JobRows shown{window};  // the list's rows follow the list
    JobList jobs;
    SettingsRows rows;
    JobFactory factory{[] { return 4217; }};  // 217 and 17: "21717"
    RangeReader reader;
    std::optional<DvdChoice> dialogAnswer = choiceOf("/dev/sr0");
};

TEST_F(OpenDvdTest, MakesAJobOfExactlyTheChosenTitleAndChapters) {
    open();
    ASSERT_EQ(jobs.count(), 1u);
    EXPECT_EQ(reader.texts,
              std::vector<std::string>{R"( dvd://2 -dvd-device "/dev/sr0" -chapter 1-5 )"});
    const Job& job = jobs.job(0);
    EXPECT_EQ(job.sourcePath, "DVD_DRIVE_/dev/sr0");
    EXPECT_EQ(job.isDvd, 1);
    EXPECT_EQ(job.dvdTitle, 2);
    EXPECT_EQ(job.dvdChapterFirst, 1);
    EXPECT_EQ(job.dvdChapterLast, 5);
    EXPECT_EQ(job.dvdAudioId, 128);
    EXPECT_EQ(job.dvdSubtitleId, -1);
    EXPECT_EQ(job.dvdAudioChannel, 1);
    EXPECT_EQ(job.duration, 1234.5) << "the chosen range's length";
    EXPECT_EQ(job.clipEnd, 1234.5);
    EXPECT_EQ(job.clipStart, 0.0);
    EXPECT_EQ(job.clipEnabled, 0);
    EXPECT_EQ(job.startText, "00:00:00");
    EXPECT_EQ(job.endText, "00:20:34");
    EXPECT_EQ(job.sourceWidth, 768);
    EXPECT_EQ(job.sourceHeight, 576);
    EXPECT_EQ(job.profileIndex, kProfileMp3);
    EXPECT_EQ(job.outputPath, "/home/u/out/DVD_DRIVE__dev_sr0.MP3");
    EXPECT_EQ(job.outputFormat, "mp3");
    EXPECT_EQ(job.audioCodec, "mp3");
    EXPECT_EQ(job.split, "Not split");
    EXPECT_EQ(window.rows, (std::vector<std::vector<std::string>>{
                               {"1", "DVD_DRIVE_/dev/sr0", "00:00:00", "00:20:34",
                                "/home/u/out/DVD_DRIVE__dev_sr0.mp3", "mp3",
                                handheld::sizeText(estimateOutput(job).bytes), ""}}))
        << "the file really written, and no status before a batch";
}

TEST_F(OpenDvdTest, TheSameDiscTwiceLeavesOneJobAtTheEndRenumbered) {
    auto file = std::make_unique<Job>();
    file->sourcePath = "/films/a.avi";
    file->outputPath = "/home/u/out/a.MP3";
    jobs.append(std::move(file));
    open();
    auto other = std::make_unique<Job>();
    other->sourcePath = "/films/b.avi";
    jobs.append(std::move(other));
    ASSERT_EQ(window.rows[2][0], "3");
    dialogAnswer = choiceOf("/dev/sr0", 3, 2, 2);
    open();
    ASSERT_EQ(jobs.count(), 3u);
    EXPECT_EQ(jobs.job(1).sourcePath, "/films/b.avi");
    EXPECT_EQ(jobs.job(2).sourcePath, "DVD_DRIVE_/dev/sr0");
    EXPECT_EQ(jobs.job(2).dvdTitle, 3);
    ASSERT_EQ(window.rows.size(), 3u);
    EXPECT_EQ(window.rows[0][0], "1");
    EXPECT_EQ(window.rows[1][0], "2");
    EXPECT_EQ(window.rows[1][1], "/films/b.avi");
    EXPECT_EQ(window.rows[2][0], "3");
    // The old Job went first, so its name is free again.
    EXPECT_EQ(jobs.job(2).outputPath, "/home/u/out/DVD_DRIVE__dev_sr0.MP3");
}

TEST_F(OpenDvdTest, AnotherJobWritingTheNameMakesIt_1) {
    auto file = std::make_unique<Job>();
    file->sourcePath = "/films/x.avi";
    file->outputPath = "/home/u/out/DVD_DRIVE__media_disc.MP3";
    jobs.append(std::move(file));
    dialogAnswer = choiceOf("/media/disc");
    open();
    ASSERT_EQ(jobs.count(), 2u);
    EXPECT_EQ(jobs.job(1).outputPath, "/home/u/out/DVD_DRIVE__media_disc_1.MP3");
}

TEST_F(OpenDvdTest, VideoProfilesNameOutputsWithFiveRandomDigits) {
    const std::vector<std::pair<int, std::string>> cases = {
        {kProfileMpeg4Small, "/home/u/out/M4V21717.MP4"},
        {kProfileMpeg4Wide, "/home/u/out/M4V21717.MP4"},
        {kProfileH264, "/home/u/out/MAQ21717.MP4"},
    };
    for (const auto& [profile, name] : cases) {
        SCOPED_TRACE(profile);
        jobs.clear();
        window.profile = profile;
        open();
        ASSERT_EQ(jobs.count(), 1u);
        EXPECT_EQ(jobs.job(0).outputPath, name);
        EXPECT_EQ(jobs.job(0).outputFormat, "mp4");
        EXPECT_EQ(jobs.job(0).videoCodec, profile == kProfileH264 ? "h264" : "MPEG4");
        EXPECT_EQ(jobs.job(0).videoSize, profile == kProfileMpeg4Wide ? "480x272" : "320x240");
    }
}

TEST_F(OpenDvdTest, TheCustomisedProfileTakesItsRowsAndNamesByCodec) {
    window.profile = kProfileCustom;
    rows.set(Row::OutputFormat, "mp4");
    rows.set(Row::VideoCodec, "h264");
    rows.set(Row::VideoBitrate, "768");
    open();
    EXPECT_EQ(jobs.job(0).outputPath, "/home/u/out/MAQ21717.MP4");
    EXPECT_EQ(jobs.job(0).videoBitrate, "768");
    jobs.clear();
    rows.set(Row::OutputFormat, "mp3");
    rows.set(Row::VideoCodec, "mp3");
    open();
    EXPECT_EQ(jobs.job(0).outputPath, "/home/u/out/DVD_DRIVE__dev_sr0.MP3");
}

TEST_F(OpenDvdTest, EndTimesHaveNoHundredths) {
    reader.record = rangeRecord(5400.7);
    open();
    EXPECT_EQ(jobs.job(0).endText, "01:30:00");
    EXPECT_EQ(jobs.job(0).duration, 5400.7);
    EXPECT_EQ(wholeTimeText(0.99), "00:00:00");
    EXPECT_EQ(wholeTimeText(3725.5), "01:02:05");
    EXPECT_EQ(wholeTimeText(360000.0), "100:00:00");
}

TEST_F(OpenDvdTest, RefusalsAndNothingsLeaveTheListAsItWas) {
    settings.setOutputPath("");
    open();
    settings.setOutputPath("/home/u/out");
    window.profile = -1;
    open();
    window.profile = kProfileMp3;
    EXPECT_EQ(window.log.events(),
              (std::vector<std::string>{"box " + std::string(kNoOutputFolderMessage),
                                        "box " + std::string(kNoProfileMessage)}));

    dialogAnswer.reset();  // cancelled
    open();
    dialogAnswer = DvdChoice{};  // OK without a drive
    open();
    EXPECT_TRUE(reader.texts.empty());
    EXPECT_TRUE(jobs.empty());
}

TEST_F(OpenDvdTest, AnUnreadableTitleKeepsTheDiscsOldJobAndSaysSo) {
    open();
    ASSERT_EQ(jobs.count(), 1u);
    reader.record.reset();
    dialogAnswer = choiceOf("/dev/sr0", 7);
    window.log.clear();
    open();
    ASSERT_EQ(jobs.count(), 1u);
    EXPECT_EQ(jobs.job(0).dvdTitle, 2);
    EXPECT_EQ(window.log.events().back(), "box " + std::string(kDvdUnreadableMessage));
    reader.failure = kEngineBusyMessage;
    open();
    EXPECT_EQ(window.log.events().back(), "box " + std::string(kEngineBusyMessage));
    EXPECT_EQ(jobs.count(), 1u);
}

TEST(DvdSources, DriveTextsAndTheirSourcesBothWays) {
    EXPECT_EQ(dvdSourcePath("/dev/sr1"), "DVD_DRIVE_/dev/sr1");
    EXPECT_EQ(dvdDriveOf("DVD_DRIVE_/media/My Disc"), "/media/My Disc");
    EXPECT_EQ(dvdDriveOf("dvd_drive_/dev/sr0"), "/dev/sr0");
    EXPECT_FALSE(dvdDriveOf("/films/dvd_drive_x.avi"));
    EXPECT_EQ(dvdOutputBase("/media/My Disc/VIDEO_TS"), "DVD_DRIVE__media_My Disc_VIDEO_TS");
}

}  // namespace
}  // namespace pelorine
