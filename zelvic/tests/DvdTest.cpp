// The engine on the test DVD: identify of every title from the folder, its
// VIDEO_TS and the ISO image; conversions of titles, chapter ranges, audio
// streams and sub-pictures, through the converter's own command lines.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "CommandLines.h"
#include "DvdFixture.h"
#include "Engine.h"
#include "Probe.h"
#include "records/ChannelFiles.h"
#include "records/MediaInfo.h"

namespace zelvic::test {
namespace {

namespace dvd = pelorine::dvdtest;
constexpr double kFrame = 1.0 / 25;

std::optional<pelorine::MediaInfo> readInfo(const TempDir& dir) {
    std::ifstream in(dir.file(std::string(pelorine::channel::kInfoFileName)), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    pelorine::MediaInfo info;
    in.read(reinterpret_cast<char*>(info.bytes().data()),
            static_cast<std::streamsize>(info.bytes().size()));
    return info;
}

std::string readLog(const TempDir& dir) {
    std::ifstream in(dir.file("log.txt"));
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The dialog's identify line, with a chapter range when given.
ProcessEnd identifyTitle(const std::string& device, int title, const TempDir& dir,
                         const std::string& chapters = {}) {
    std::string line = " dvd://" + std::to_string(title) + " -dvd-device \"" + device + "\" ";
    if (!chapters.empty()) {
        line += "-chapter " + chapters + " ";
    }
    return runEngineLine(
        line + " -vo null -nosound -identify -currentfolder \"" + dir.folder() + "\" ",
        dir.file("log.txt"));
}

struct TitleFacts {
    int title;
    double length;
    int width;
    std::vector<std::tuple<int, std::string, std::string>> audio;  // id, name, note
    std::vector<std::string> subtitles;
};

const std::vector<TitleFacts>& titleFacts() {
    static const std::vector<TitleFacts> facts = {
        {1,
         dvd::kChapter1Seconds + dvd::kChapter2Seconds,
         768,
         {{dvd::kEnglishAc3Id, "English", "ac3 2ch"}, {dvd::kFrenchMpegId, "French", "mp2 2ch"}},
         {"German"}},
        {2,
         dvd::kTitle2Seconds,
         768,
         {{dvd::kEnglishAc3Id, "English", "ac3 2ch"}, {dvd::kFrenchMpegId, "French", "mp2 2ch"}},
         {}},
        {3, dvd::kTitle3Seconds, 1024, {{0xC0, "English", "mp2 2ch"}}, {}},
    };
    return facts;
}

TEST(DvdIdentify, EveryTitleFromTheFolderItsVideoTsAndTheImage) {
    const dvd::DvdFixture& disc = dvd::dvdFixture();
    for (const std::string& device : {disc.disc, disc.videoTs, disc.image}) {
        for (const TitleFacts& facts : titleFacts()) {
            SCOPED_TRACE(device + " title " + std::to_string(facts.title));
            TempDir dir;
            const ProcessEnd end = identifyTitle(device, facts.title, dir);
            ASSERT_TRUE(end.exited);
            ASSERT_EQ(end.status, ExitStatus::Done) << readLog(dir);
            const auto info = readInfo(dir);
            ASSERT_TRUE(info);
            EXPECT_NEAR(info->mediaLength(), facts.length, kFrame);
            EXPECT_EQ(info->videoWidth(), facts.width);
            EXPECT_EQ(info->videoHeight(), 576);
            EXPECT_EQ(info->titleCount(), dvd::kTitles);
            EXPECT_EQ(info->chapterCount(0), 2);
            EXPECT_EQ(info->chapterCount(1), 1);
            EXPECT_EQ(info->chapterCount(2), 1);
            EXPECT_EQ(info->chapterCount(3), 0);
            ASSERT_EQ(info->audioCount(), static_cast<int>(facts.audio.size()));
            for (int i = 0; i < info->audioCount(); ++i) {
                const auto& [id, name, note] = facts.audio[static_cast<std::size_t>(i)];
                EXPECT_EQ(info->audioId(i), id);
                EXPECT_EQ(info->audioName(i), name);
                EXPECT_EQ(info->audioNote(i), note);
            }
            ASSERT_EQ(info->subtitleCount(), static_cast<int>(facts.subtitles.size()));
            for (int i = 0; i < info->subtitleCount(); ++i) {
                EXPECT_EQ(info->subtitleId(i), i);
                EXPECT_EQ(info->subtitleName(i), facts.subtitles[static_cast<std::size_t>(i)]);
            }
        }
    }
}

TEST(DvdIdentify, AChapterRangeGivesTheRangesLength) {
    const std::string device = dvd::dvdFixture().disc;
    const std::vector<std::pair<std::string, double>> ranges = {
        {"1-1", dvd::kChapter1Seconds},
        {"2-2", dvd::kChapter2Seconds},
        {"2", dvd::kChapter2Seconds},
        {"1-2", dvd::kChapter1Seconds + dvd::kChapter2Seconds},
        {"1-9", dvd::kChapter1Seconds + dvd::kChapter2Seconds},  // a last chapter past the end
    };
    for (const auto& [range, length] : ranges) {
        SCOPED_TRACE(range);
        TempDir dir;
        ASSERT_EQ(identifyTitle(device, 1, dir, range).status, ExitStatus::Done) << readLog(dir);
        EXPECT_NEAR(readInfo(dir)->mediaLength(), length, kFrame);
    }
}

TEST(DvdIdentify, WhatIsNoDvdGivesStatus2AndNoRecord) {
    TempDir elsewhere;
    std::ofstream(elsewhere.file("film.iso")) << "not a disc image";
    const std::string device = dvd::dvdFixture().disc;
    const std::vector<std::tuple<std::string, int, std::string>> cases = {
        {elsewhere.folder(), 1, ""},               // a folder without VIDEO_TS
        {elsewhere.file("film.iso"), 1, ""},       // a file that is no image
        {elsewhere.file("missing-drive"), 1, ""},  // a device that does not exist
        {device, 4, ""},                           // a title the disc has not
        {device, 1, "3-3"},                        // a chapter the title has not
    };
    for (const auto& [where, title, chapters] : cases) {
        SCOPED_TRACE(where + " " + std::to_string(title) + " " + chapters);
        TempDir dir;
        std::ofstream(dir.file(std::string(pelorine::channel::kInfoFileName))) << "old";
        const ProcessEnd end = identifyTitle(where, title, dir, chapters);
        ASSERT_TRUE(end.exited);
        EXPECT_EQ(end.status, ExitStatus::SourceUnreadable) << readLog(dir);
        EXPECT_FALSE(fs::exists(dir.file(std::string(pelorine::channel::kInfoFileName))));
    }
}

// A DVD Job's command line, as the converter composes it.
JobLine dvdJob(const TempDir& dir, const std::string& device, int title, int first, int last) {
    JobLine job;
    job.source = device;
    job.output = dir.file("out.mp4");
    job.folder = dir.folder();
    job.dvdTitle = title;
    job.dvdChapterFirst = first;
    job.dvdChapterLast = last;
    job.sourceWidth = title == 3 ? 1024 : 768;
    job.sourceHeight = 576;
    return job;
}

ProcessEnd convert(const JobLine& job, const TempDir& dir) {
    return runEngineLine(composeCommandLine(job), dir.file("log.txt"), std::chrono::seconds(120));
}

// What every output for the handheld must be, and its length.
void expectPlayable(const std::string& path, double length, int width, int height) {
    const MediaProbe probe = probeMedia(path);
    ASSERT_TRUE(probe.opened) << path;
    ASSERT_EQ(probe.count(AVMEDIA_TYPE_VIDEO), 1);
    ASSERT_EQ(probe.count(AVMEDIA_TYPE_AUDIO), 1);
    const StreamProbe& video = *probe.video();
    EXPECT_EQ(video.codec, AV_CODEC_ID_MPEG4);
    EXPECT_EQ(video.profile, FF_PROFILE_MPEG4_SIMPLE);
    EXPECT_EQ(video.width, width);
    EXPECT_EQ(video.height, height);
    EXPECT_EQ(video.bFrames, 0);
    EXPECT_NEAR(video.duration, length, kFrame + 1e-3);
    const StreamProbe& audio = *probe.audio();
    EXPECT_EQ(audio.codec, AV_CODEC_ID_AAC);
    EXPECT_EQ(audio.channels, 2);
    EXPECT_NEAR(audio.duration, length, 0.08);
}

void expectTone(const std::string& path, double frequency) {
    const auto channels = measureAudio(path);
    ASSERT_FALSE(channels.empty());
    for (const ChannelMeasure& channel : channels) {
        EXPECT_GT(channel.rms, 0.05);
        EXPECT_NEAR(channel.frequency, frequency, frequency * 0.03);
    }
}

TEST(DvdEncode, AWholeTitleAcrossItsCellsWithTheFirstAudioStream) {
    TempDir dir;
    const JobLine job = dvdJob(dir, dvd::dvdFixture().disc, 1, 1, 2);
    const ProcessEnd end = convert(job, dir);
    ASSERT_EQ(end.status, ExitStatus::Done) << readLog(dir);
    expectPlayable(job.output, dvd::kChapter1Seconds + dvd::kChapter2Seconds, 320, 240);
    expectTone(job.output, dvd::kEnglishTone);
    // Both cells, each at its place: no gap, no overlap at the boundary.
    EXPECT_LT(centreLumaAt(job.output, dvd::kChapter1Seconds - 0.2), 90);
    EXPECT_GT(centreLumaAt(job.output, dvd::kChapter1Seconds + 0.2), 120);
}

TEST(DvdEncode, AChapterRangeAndASecondAudioStreamFromTheImage) {
    TempDir dir;
    JobLine job = dvdJob(dir, dvd::dvdFixture().image, 1, 2, 2);
    job.dvdAudioId = dvd::kFrenchMpegId;
    ASSERT_EQ(convert(job, dir).status, ExitStatus::Done) << readLog(dir);
    expectPlayable(job.output, dvd::kChapter2Seconds, 320, 240);
    expectTone(job.output, dvd::kFrenchTone);
    EXPECT_GT(centreLumaAt(job.output, 0.1), 120) << "the range starts with chapter 2";
}

TEST(DvdEncode, AnAudioIdTheTitleHasNotTakesItsOwnSoundAndSaysSo) {
    TempDir dir;
    JobLine job = dvdJob(dir, dvd::dvdFixture().disc, 3, 1, 1);
    job.dvdAudioId = dvd::kEnglishAc3Id;  // titles 1 and 2 only
    ASSERT_EQ(convert(job, dir).status, ExitStatus::Done) << readLog(dir);
    expectTone(job.output, dvd::kWideTone);
    EXPECT_NE(readLog(dir).find("no audio stream 128"), std::string::npos) << readLog(dir);
}

TEST(DvdEncode, AWideTitleKeepsItsShape) {
    TempDir dir;
    JobLine job = dvdJob(dir, dvd::dvdFixture().videoTs, 3, 1, 1);
    job.videoSize = "480x272";
    ASSERT_EQ(convert(job, dir).status, ExitStatus::Done) << readLog(dir);
    expectPlayable(job.output, dvd::kTitle3Seconds, 480, 272);
    expectTone(job.output, dvd::kWideTone);
    // 16:9 fills 480x272 but for two lines of padding at most.
    const PictureProbe picture = probeFirstPicture(job.output);
    ASSERT_EQ(picture.rowMeans.size(), 272u);
    const auto bright = std::count_if(picture.rowMeans.begin(), picture.rowMeans.end(),
                                      [](double mean) { return mean > 150; });
    EXPECT_GE(bright, 270);
}

TEST(DvdEncode, AClipAcrossTheCellBoundaryCountsFromTheRangesStart) {
    TempDir dir;
    JobLine job = dvdJob(dir, dvd::dvdFixture().disc, 1, 1, 2);
    job.timing = " -ss 2.000000 -endpos 2.000000 ";
    ASSERT_EQ(convert(job, dir).status, ExitStatus::Done) << readLog(dir);
    expectPlayable(job.output, 2.0, 320, 240);
    expectTone(job.output, dvd::kEnglishTone);
    EXPECT_LT(centreLumaAt(job.output, 0.5), 90) << "chapter 1 before the boundary";
    EXPECT_GT(centreLumaAt(job.output, 1.5), 120) << "chapter 2 after it";
}

TEST(DvdEncode, AClipInsideALaterChapterCountsFromThatChapter) {
    TempDir dir;
    JobLine job = dvdJob(dir, dvd::dvdFixture().disc, 1, 2, 2);
    job.timing = " -ss 0.500000 -endpos 1.000000 ";
    ASSERT_EQ(convert(job, dir).status, ExitStatus::Done) << readLog(dir);
    expectPlayable(job.output, 1.0, 320, 240);
    EXPECT_GT(centreLumaAt(job.output, 0.1), 120);
}

// The box of 720x576 where it lands in a 320x240 output: the 4:3 picture
// fills the frame, so both axes scale alike.
void expectBox(const std::string& path, double at, bool shown) {
    const double scaleX = 320.0 / 720, scaleY = 240.0 / 576;
    const int x = static_cast<int>((dvd::kBoxLeft + 20) * scaleX);
    const int y = static_cast<int>((dvd::kBoxTop + 16) * scaleY);
    const int width = static_cast<int>((dvd::kBoxWidth - 40) * scaleX) & ~1;
    const int height = static_cast<int>((dvd::kBoxHeight - 32) * scaleY) & ~1;
    const RegionColour box = regionAt(path, at, x & ~1, y & ~1, width, height);
    ASSERT_GE(box.y, 0);
    if (shown) {
        // The title's palette makes the box yellow: bright, little blue.
        EXPECT_GT(box.y, 170);
        EXPECT_LT(box.u, 70);
    } else {
        EXPECT_LT(box.y, 90);
        EXPECT_NEAR(box.u, 128, 8);
    }
}

TEST(DvdEncode, TheChosenSubPictureIsBurnedIntoThePicture) {
    TempDir dir;
    JobLine job = dvdJob(dir, dvd::dvdFixture().disc, 1, 1, 1);
    job.dvdSubtitleId = 0;
    ASSERT_EQ(convert(job, dir).status, ExitStatus::Done) << readLog(dir);
    expectPlayable(job.output, dvd::kChapter1Seconds, 320, 240);
    // Shown from 0.5 s to 2.5 s: from its first frame on, although the disc
    // carries it behind pictures that come later.
    expectBox(job.output, 0.4, false);
    expectBox(job.output, 0.6, true);
    expectBox(job.output, 1.5, true);
    expectBox(job.output, 2.4, true);
    expectBox(job.output, 2.6, false);

    TempDir without;
    JobLine plain = dvdJob(without, dvd::dvdFixture().disc, 1, 1, 1);
    ASSERT_EQ(convert(plain, without).status, ExitStatus::Done) << readLog(without);
    expectBox(plain.output, 1.5, false);
}

TEST(DvdEncode, AScrambledDiscIsRefusedWithAReasonAndNoOutput) {
    TempDir dir;
    const JobLine job = dvdJob(dir, dvd::scrambledCopy(dir.path() / "scrambled"), 1, 1, 2);
    const ProcessEnd end = convert(job, dir);
    ASSERT_TRUE(end.exited);
    EXPECT_EQ(end.status, ExitStatus::SourceUnreadable);
    EXPECT_NE(readLog(dir).find("scrambled"), std::string::npos) << readLog(dir);
    EXPECT_FALSE(fs::exists(job.output));

    // Identify says so too, before any Job is made of the disc.
    TempDir identified;
    const ProcessEnd identify = identifyTitle(job.source, 1, identified);
    ASSERT_TRUE(identify.exited);
    EXPECT_EQ(identify.status, ExitStatus::SourceUnreadable);
    EXPECT_NE(readLog(identified).find("identify: the DVD is scrambled"), std::string::npos)
        << readLog(identified);
    EXPECT_FALSE(fs::exists(identified.file(std::string(pelorine::channel::kInfoFileName))));
}

TEST(DvdEncode, ScrambledSectorsFurtherOnFailTheRunAndLeaveNoOutput) {
    TempDir dir;
    // Chapter 2 of title 1 starts at sector 120 of the title set.
    const JobLine job = dvdJob(dir, dvd::scrambledCopy(dir.path() / "scrambled", 150), 1, 1, 2);
    const ProcessEnd end = convert(job, dir);
    ASSERT_TRUE(end.exited);
    EXPECT_EQ(end.status, ExitStatus::SourceUnreadable);
    EXPECT_NE(readLog(dir).find("scrambled"), std::string::npos) << readLog(dir);
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        EXPECT_NE(entry.path().filename().string().rfind("out.mp4", 0), 0u)
            << "no output of any name: " << entry.path();
    }
}

}  // namespace
}  // namespace zelvic::test
