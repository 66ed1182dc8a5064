#include "conversion/EncoderCommandLine.h"

#include <gtest/gtest.h>

#include <random>

#include "base/CommandLine.h"
#include "base/TimeText.h"
#include "conversion/OutputNames.h"
#include "jobs/JobList.h"

namespace pelorine {
namespace {

// The file Job of the reference example, in the texts of the Windows original.
Job referenceJob() {
    Job job;
    job.sourcePath = R"(C:\V\A.avi)";
    job.sourceWidth = 640;
    job.sourceHeight = 480;
    job.outputPath = R"(D:\out\a.MP4)";
    job.outputFormat = "mp4";
    job.videoSize = "320x240";
    job.videoCodec = "MPEG4";
    job.videoBitrate = "768";
    job.videoFrameRate = "default";
    job.videoDisabled = "no";
    job.audioDisabled = "no";
    job.audioChannel = "default";
    job.audioVolume = "default";
    job.audioSampleRate = "44100";
    job.audioBitrate = "128";
    job.quantizerMin = "1";
    job.quantizerMax = "31";
    job.split = "Not split";
    return job;
}

const EngineInvocation kWindowsInvocation{R"(C:\WINDOWS\system32\zelvic.exe)", R"(C:\App\)"};

// The Job's whole output, as a run without parts writes it.
std::string wholeFileName(const EncoderCommandLine& line) {
    return wholeOutputPath(line.baseName(), line.settings().output.extension);
}

// The sound's filters of a Job with its sound enabled.
std::string audioFiltersOf(const Job& job) {
    const JobSettings settings = jobSettingsOf(job);
    return EncoderCommandLine::audioFilters(settings.sound, *settings.audio);
}

// The check the batch makes before it composes a record's line.
Status checkSettings(const Job& job) {
    JobSettings settings;
    return readJobSettings(job, settings);
}

TEST(EncoderCommandLine, ReferenceJobGivesTheExactLine) {
    const Job job = referenceJob();
    const EncoderCommandLine line(job, kWindowsInvocation);
    // The source keeps its case: file names are case-sensitive here.
    EXPECT_EQ(line.commandLine("", line.firstOutput()),
              R"(C:\WINDOWS\system32\zelvic.exe "C:\V\A.avi"   -srate 44100  -vf )"
              R"(scale=320:-2,harddup,expand=320:240:-1:-1:1  -oac lavc -ovc lavc -lavcopts )"
              R"(acodec=aac:abitrate=128:vcodec=mpeg4:vbitrate=768:vglobal=1:aglobal=1 -vf )"
              R"(harddup  -of lavf -lavfopts )"
              R"(format=psp:i_certify_that_my_video_stream_does_not_use_b_frames -o )"
              R"("D:\out\a.mp4" -currentfolder "C:\App\\" )");
}

TEST(EncoderCommandLine, DvdSourcePiece) {
    Job job = referenceJob();
    job.sourcePath = "DVD_DRIVE_/dev/sr0";
    job.dvdTitle = 2;
    job.dvdChapterFirst = 1;
    job.dvdChapterLast = 5;
    job.dvdAudioId = 128;
    job.dvdSubtitleId = -1;
    EXPECT_EQ(EncoderCommandLine::sourcePiece(jobSettingsOf(job)),
              " dvd://2 -dvd-device \"/dev/sr0\" -chapter 1-5  -aid 128 ");
    job.dvdAudioId = -1;
    job.dvdSubtitleId = 0;
    job.sourcePath = "dvd_drive_/media/My Disc";
    EXPECT_EQ(EncoderCommandLine::sourcePiece(jobSettingsOf(job)),
              " dvd://2 -dvd-device \"/media/My Disc\" -chapter 1-5  -sid 0 ");
}

TEST(EncoderCommandLine, ScalingFitsTheSideThatLimits) {
    struct Case {
        const char* size;
        int sourceWidth, sourceHeight;
        const char* piece;
    };
    const Case cases[] = {
        {"480x272", 640, 480, " -vf scale=-2:272,harddup,expand=480:272:-1:-1:1 "},
        {"320x240", 1920, 1080, " -vf scale=320:-2,harddup,expand=320:240:-1:-1:1 "},
        {"320:240", 1920, 1080, " -vf scale=320:-2,harddup,expand=320:240:-1:-1:1 "},
        {"320x240", 640, 480, " -vf scale=320:-2,harddup,expand=320:240:-1:-1:1 "},
        {" 480X272 ", 1920, 1080, " -vf scale=480:-2,harddup,expand=480:272:-1:-1:1 "},
        {"big", 480, 640, " -vf scale=-2:240,harddup,expand=320:240:-1:-1:1 "},
        {"480x0", 640, 480, " -vf scale=480:-2,harddup,expand=480:0:-1:-1:1 "},
        {"320x240", 0, 0, " -vf scale=320:-2,harddup,expand=320:240:-1:-1:1 "},
        // Numbers are their leading digits: no sign, no blanks inside.
        {"-320x240", 640, 480, " -vf scale=0:-2,harddup,expand=0:240:-1:-1:1 "},
        {"480x 272", 640, 480, " -vf scale=480:-2,harddup,expand=480:0:-1:-1:1 "},
        {"480x\t272", 640, 480, " -vf scale=480:-2,harddup,expand=480:0:-1:-1:1 "},
        {"480x+272", 640, 480, " -vf scale=480:-2,harddup,expand=480:0:-1:-1:1 "},
        {"\t480x272 ", 640, 480, " -vf scale=-2:272,harddup,expand=480:272:-1:-1:1 "},
    };
    for (const auto& c : cases) {
        Job job = referenceJob();
        job.videoSize = c.size;
        job.sourceWidth = c.sourceWidth;
        job.sourceHeight = c.sourceHeight;
        EXPECT_TRUE(EncoderCommandLine::videoPiece(jobSettingsOf(job)).starts_with(c.piece))
            << c.size;
    }
}

TEST(EncoderCommandLine, AudioFilters) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"default", "-10", " -af volume=-10db:sc -srate 44100 "},
        {"Left Mono", "normalize", " -af channels=1:1:0:0,volnorm -srate 44100 "},
        {"default", "default", "  -srate 44100 "},
        {"left stereo", "+5", " -af channels=2:2:0:0:0:1,volume=+5db:sc -srate 44100 "},
        {"right stereo", "default", " -af channels=2:2:1:0:1:1 -srate 44100 "},
        {"right mono", "default", " -af channels=1:1:1:0 -srate 44100 "},
        {"mixed mono", "default", " -af pan=1:0.5:0.5 -srate 44100 "},
    };
    for (const auto& [channel, volume, piece] : cases) {
        Job job = referenceJob();
        job.audioChannel = channel;
        job.audioVolume = volume;
        EXPECT_EQ(audioFiltersOf(job), piece) << channel << " " << volume;
    }
}

TEST(EncoderCommandLine, MediaPieceForEachOutputKind) {
    Job job = referenceJob();
    job.videoCodec = "h264";
    job.videoFrameRate = "29.97";
    EXPECT_EQ(EncoderCommandLine::videoPiece(jobSettingsOf(job)),
              " -vf scale=320:-2,harddup,expand=320:240:-1:-1:1  -ofps 29.97 -oac lavc -ovc lavc "
              "-lavcopts vqmin=1:vqmax=31:vrc_maxrate=768:vratetol=10:coder=1:aglobal=1:vglobal=1:"
              "vcodec=h264:acodec=aac:vbitrate=768:abitrate=128:trell=2:mbd=2:cmp=2:subcmp=2 -vf "
              "harddup -of lavf -lavfopts "
              "format=psp:i_certify_that_my_video_stream_does_not_use_b_frames ");

    job.audioDisabled = "yes";
    EXPECT_EQ(EncoderCommandLine::mediaPiece(jobSettingsOf(job)),
              " -nosound  -vf scale=320:-2,harddup,expand=320:240:-1:-1:1  -ofps 29.97 -oac lavc "
              "-ovc lavc -lavcopts keyint=500:level=13:vqmin=1:vqmax=31:vrc_maxrate=768:vratetol="
              "10:bit_exact:coder=0:aglobal=1:vglobal=1:vcodec=h264:vbitrate=768:v4mv:qpel:trell="
              "lambda:mbd=1:vme=1 -of lavf -lavfopts "
              "format=mp4:i_certify_that_my_video_stream_does_not_use_b_frames ");

    job.videoCodec = "MPEG4";
    job.videoFrameRate = "default";
    EXPECT_TRUE(EncoderCommandLine::mediaPiece(jobSettingsOf(job))
                    .ends_with("  -ovc lavc -lavcopts "
                               "vcodec=mpeg4:vbitrate=768:mbd=2:cmp=2:subcmp=2:trell=yes:v4mv=yes:"
                               "aic=2:vglobal=1:aglobal=1 -ffourcc mp4v -of lavf -lavfopts "
                               "format=mp4:i_certify_that_my_video_stream_does_not_use_b_frames"));

    job.videoDisabled = "yes";
    EXPECT_EQ(EncoderCommandLine::mediaPiece(jobSettingsOf(job)),
              " -nosound  XXX  -ovc frameno -of rawaudio ");
    job.audioDisabled = "no";
    EXPECT_EQ(EncoderCommandLine::mediaPiece(jobSettingsOf(job)),
              "  -srate 44100  -oac lavc -lavcopts acodec=aac:abitrate=128 -ffourcc mp4v -of lavf "
              "-lavfopts format=mp4:i_certify_that_my_video_stream_does_not_use_b_frames -ovc "
              "frameno -of rawaudio ");

    job.outputFormat = "MP3";
    EXPECT_EQ(EncoderCommandLine::mediaPiece(jobSettingsOf(job)),
              "  -srate 44100   -ovc frameno -oac mp3lame -lameopts  cbr:br=128:mode=0 -of "
              "rawaudio ");
    job.audioDisabled = "yes";
    EXPECT_EQ(EncoderCommandLine::mediaPiece(jobSettingsOf(job)), " -nosound ");
}

TEST(EncoderCommandLine, SplitTextAndFileNames) {
    Job job = referenceJob();
    job.split = " 650 MB ";
    job.outputPath = "/home/me/my.videos/M4V12345.MP4";
    const EncoderCommandLine line(job, kWindowsInvocation);
    EXPECT_EQ(line.splitText(), "650mb");
    EXPECT_EQ(line.settings().split.kind, Split::Kind::BySize);
    EXPECT_EQ(wholeFileName(line), "/home/me/my.videos/M4V12345.mp4");
    EXPECT_EQ(line.partFileName(1), "/home/me/my.videos/M4V12345_clip_1.mp4");
    EXPECT_EQ(line.partFileName(12), "/home/me/my.videos/M4V12345_clip_12.mp4");

    job.split = "NOT SPLIT";
    job.outputPath = "/home/me/my.videos/noextension";
    const EncoderCommandLine plain(job, kWindowsInvocation);
    EXPECT_EQ(plain.settings().split.kind, Split::Kind::None);
    EXPECT_EQ(wholeFileName(plain), "/home/me/my.videos/noextension.mp4");
    EXPECT_EQ(EncoderCommandLine::timing(60, 140), " -ss 60.000000 -endpos 140.000000 ");
    EXPECT_EQ(EncoderCommandLine::timing(120, "00:10:00"), " -ss 120.000000 -endpos 00:10:00 ");
    EXPECT_EQ(EncoderCommandLine::firstPartTiming("650mb"), " -ss 0 -endpos 650mb ");
}

TEST(EncoderCommandLine, SettingsThatWouldChangeTheLineAreRefused) {
    Job job = referenceJob();
    EXPECT_TRUE(checkSettings(job));
    job.split = "4.7 GB";
    EXPECT_TRUE(checkSettings(job)) << "blanks of the split text are removed";
    job.audioVolume = "+5 -o /etc/passwd";
    const Status refused = checkSettings(job);
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.message().find("Audio volume"), std::string::npos);
    job.audioVolume = "default";
    job.videoBitrate = "768\"";
    EXPECT_FALSE(checkSettings(job));
}

// Any path at all comes back out of the command line as one argument, unchanged.
TEST(EncoderCommandLine, EveryPathSurvivesSplitting) {
    std::mt19937 random(20261207);
    const std::string alphabet = "ab Z09./\\\"'\t-_$*?;&|()\xC3\xA9\xE2\x82\xAC\n";
    auto randomPath = [&](bool absolute) {
        std::string path = absolute ? "/" : "";
        const int length = 1 + static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) {
            path += alphabet[random() % alphabet.size()];
        }
        return path;
    };
    for (int round = 0; round < 5000; ++round) {
        Job job = referenceJob();
        job.sourcePath = randomPath(true);
        job.outputPath = randomPath(true) + ".x";
        job.clipEnabled = static_cast<int>(round % 2);
        const EngineInvocation invocation{randomPath(true), randomPath(true) + "/"};
        const EncoderCommandLine line(job, invocation);
        const std::string output = line.firstOutput();
        const auto args = splitCommandLine(
            line.commandLine(job.clipEnabled ? EncoderCommandLine::timing(1, 2) : "", output));
        ASSERT_GE(args.size(), 6u);
        EXPECT_EQ(args[0], invocation.enginePath);
        EXPECT_EQ(args[1], job.sourcePath);
        EXPECT_EQ(args[args.size() - 3], output);
        EXPECT_EQ(args[args.size() - 2], "-currentfolder");
        EXPECT_EQ(args.back(), invocation.channelFolder);
    }
}

TEST(TimeText, TruncatesEachPart) {
    const std::pair<double, const char*> cases[] = {
        {3725.5, "01:02:05.50"}, {0.999, "00:00:00.99"},   {0.0, "00:00:00.00"},
        {60.5, "00:01:00.50"},   {86399.5, "23:59:59.50"}, {1e300, "277777:46:40.00"},
    };
    for (const auto& [seconds, text] : cases) {
        EXPECT_EQ(timeText(seconds), text) << seconds;
    }
}

TEST(JobList, RemovesOneAndClosesTheGap) {
    JobList list;
    for (const char* name : {"a", "b", "c", "d"}) {
        auto job = std::make_unique<Job>();
        job->sourcePath = name;
        list.append(std::move(job));
    }
    list.remove(1);
    ASSERT_EQ(list.count(), 3u);
    EXPECT_EQ(list.job(1).sourcePath, "c");
    EXPECT_THROW(list.remove(3), std::out_of_range);
    list.clear();
    EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace pelorine
