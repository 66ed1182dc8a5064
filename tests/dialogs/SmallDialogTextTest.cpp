// The small dialogs' texts and the output name rule, without widgets.

#include "app/SmallDialogText.h"

#include <gtest/gtest.h>

#include <limits>

#include "base/Paths.h"
#include "base/TimeText.h"

namespace pelorine {
namespace {

struct NamingCase {
    const char* outputPath;
    const char* name;
    const char* format;
    const char* expected;
};

TEST(OutputPathWithName, PutsTheNameInTheJobsFolderWithTheFormatOnce) {
    const NamingCase cases[] = {
        {"/v/M4V12345.MP4", "holiday.mp4", "mp4", "/v/holiday.mp4"},
        {"/v/M4V12345.MP4", "holiday", "mp4", "/v/holiday.mp4"},
        // The comparison is case-sensitive.
        {"/v/M4V12345.MP4", "holiday.MP4", "mp4", "/v/holiday.MP4.mp4"},
        {"/music/a.mp3", "song.mp3", "mp3", "/music/song.mp3"},
        {"/music/a.mp3", "song.mp4", "mp3", "/music/song.mp4.mp3"},
        // Five characters are enough to keep an ending extension.
        {"/v/a.mp4", "a.mp4", "mp4", "/v/a.mp4"},
        {"/v/a.mp4", "a b c.mp4", "mp4", "/v/a b c.mp4"},
    };
    for (const NamingCase& c : cases) {
        EXPECT_EQ(outputPathWithName(c.outputPath, c.name, c.format), c.expected) << c.name;
    }
}

TEST(OutputPathWithName, ShortAndEmptyNamesAlwaysGetTheExtension) {
    const NamingCase cases[] = {
        {"/v/a.mp4", ".mp4", "mp4", "/v/.mp4.mp4"},
        {"/v/a.mp4", "x", "mp4", "/v/x.mp4"},
        {"/v/a.mp4", "ab", "mp4", "/v/ab.mp4"},
        {"/v/a.mp4", "", "mp4", "/v/.mp4"},
    };
    for (const NamingCase& c : cases) {
        EXPECT_EQ(outputPathWithName(c.outputPath, c.name, c.format), c.expected) << c.name;
    }
}

TEST(OutputPathWithName, TheFolderGetsExactlyOneSeparator) {
    // The folder part already ends in a separator: none is added.
    EXPECT_EQ(outputPathWithName("/v//old.mp4", "new", "mp4"), "/v/new.mp4");
    // A path that ends in its separator names no file: it is all folder.
    EXPECT_EQ(outputPathWithName("/v/w/", "new", "mp4"), "/v/w/new.mp4");
    EXPECT_EQ(outputPathWithName("/old.mp4", "new", "mp4"), "/new.mp4");
    EXPECT_EQ(outputPathWithName("old.mp4", "new", "mp4"), "/new.mp4");
    // A dot in the folder is not the file's.
    EXPECT_EQ(outputPathWithName("/v.d/old", "new", "mp4"), "/v.d/new.mp4");
}

TEST(OutputNameProblem, NamesThatWouldLeaveTheFolderAreRefused) {
    for (const std::string bad : {"a/../b", "../clip", "sub/clip", "/tmp/x", "/", ".", ".."}) {
        const auto problem = outputNameProblem(bad);
        ASSERT_TRUE(problem.has_value()) << bad;
        EXPECT_FALSE(problem->empty()) << bad;
    }
    EXPECT_NE(outputNameProblem(std::string(251, 'a')), std::nullopt);
    for (const std::string& fine :
         std::vector<std::string>{"", "clip", "..clip", "a..b", "...", ".hidden", "a b \"c\"",
                                  "a\\b", std::string(250, 'a')}) {
        EXPECT_EQ(outputNameProblem(fine), std::nullopt) << fine;
    }
}

TEST(FileNames, NameIsAfterTheLastSeparatorAndFormatAfterTheLastDot) {
    EXPECT_EQ(fileNameOf("/home/me/clip.avi"), "clip.avi");
    EXPECT_EQ(fileNameOf("clip.avi"), "clip.avi");
    EXPECT_EQ(fileNameOf("/home/me/"), "");
    EXPECT_EQ(extensionOf("clip.avi"), "avi");
    EXPECT_EQ(extensionOf("archive.tar.gz"), "gz");
    EXPECT_EQ(extensionOf("README"), "");
    EXPECT_EQ(extensionOf("clip."), "");
}

TEST(InformationTimeText, ShowsHoursMinutesSecondsAndHundredths) {
    EXPECT_EQ(timeText(3725.5, TimeDivision::Reciprocal), "01:02:05.50");
    EXPECT_EQ(timeText(0.0, TimeDivision::Reciprocal), "00:00:00.00");
    EXPECT_EQ(timeText(0.999, TimeDivision::Reciprocal), "00:00:00.99");
    EXPECT_EQ(timeText(59.99, TimeDivision::Reciprocal), "00:00:59.99");
    EXPECT_EQ(timeText(3600.0, TimeDivision::Reciprocal), "01:00:00.00");
    EXPECT_EQ(timeText(36000.0 * 3 + 59 * 60 + 59.5, TimeDivision::Reciprocal), "30:59:59.50");
    // Values no source has stay readable instead of overflowing.
    EXPECT_EQ(timeText(std::numeric_limits<double>::quiet_NaN(), TimeDivision::Reciprocal),
              "00:00:00.00");
    EXPECT_EQ(timeText(std::numeric_limits<double>::infinity(), TimeDivision::Reciprocal),
              "00:00:00.00");
    EXPECT_EQ(timeText(1e300, TimeDivision::Reciprocal), timeText(1e9, TimeDivision::Reciprocal));
}

VideoInformation holidayClip() {
    Job job;
    job.sourcePath = "/home/me/Videos/holiday.avi";
    job.outputPath = "/home/me/Videos/PSP/M4V12345.MP4";
    job.outputFormat = "mp4";
    job.duration = 3725.5;
    job.clipStart = 10.25;
    job.clipEnd = 70.5;
    job.startText = "00:00:10.25";
    job.endText = "00:01:10.50";
    return videoInformationOf(job);
}

TEST(InformationLines, WithoutAClipShowsEightLinesEndingInNo) {
    const std::vector<InformationLine> expected = {
        {20, "Source file name: holiday.avi"},
        {40, "Source file format: avi"},
        {60, "Source file path: /home/me/Videos/holiday.avi"},
        {100, "Destination: M4V12345.MP4"},
        {120, "Destination path: /home/me/Videos/PSP/M4V12345.MP4"},
        {140, "Destination format: mp4"},
        {180, "Duration: 01:02:05.50"},
        {220, "Clip Source file: no"},
    };
    EXPECT_EQ(informationLines(holidayClip()), expected);
}

TEST(InformationLines, WithAClipAddsItsLengthStartAndEnd) {
    VideoInformation information = holidayClip();
    information.clipEnabled = 1;
    const std::vector<InformationLine> lines = informationLines(information);
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[7], (InformationLine{220, "Clip Source file: yes"}));
    EXPECT_EQ(lines[8], (InformationLine{240, "Clip duration: 00:01:00.25"}));
    EXPECT_EQ(lines[9], (InformationLine{260, "Start time: 00:00:10.25"}));
    EXPECT_EQ(lines[10], (InformationLine{280, "End time: 00:01:10.50"}));
}

TEST(InformationLines, ShowsTheTextsOfTheJobNotTheClipTimes) {
    // The start and end lines show the texts as the Job holds them.
    Job job;
    job.clipEnabled = 1;
    job.clipStart = 1.0;
    job.clipEnd = 2.0;
    job.startText = "typed";
    job.endText = "";
    job.sourcePath = "DVD_DRIVE_/dev/sr0";
    const std::vector<InformationLine> lines = informationLines(videoInformationOf(job));
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0].text, "Source file name: sr0");
    EXPECT_EQ(lines[1].text, "Source file format: ");
    EXPECT_EQ(lines[8].text, "Clip duration: 00:00:01.00");
    EXPECT_EQ(lines[9].text, "Start time: typed");
    EXPECT_EQ(lines[10].text, "End time: ");
}

}  // namespace
}  // namespace pelorine
