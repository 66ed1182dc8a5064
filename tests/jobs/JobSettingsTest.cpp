// A Job's record read into its typed settings: each kind of value, what the
// engine must receive byte for byte, and the texts the batch refuses.

#include "jobs/JobSettings.h"

#include <gtest/gtest.h>

#include "conversion/EncoderCommandLine.h"
#include "conversion/OutputNames.h"
#include "conversion/PlannedRuns.h"
#include "conversion/SizeEstimate.h"

namespace pelorine {
namespace {

Job recordJob() {
    Job job;
    job.sourcePath = "/v/a b.avi";
    job.sourceWidth = 640;
    job.sourceHeight = 480;
    job.duration = 600;
    job.outputPath = "/out/M4V00001.MP4";
    job.outputFormat = "mp4";
    job.videoDisabled = job.audioDisabled = "no";
    job.videoCodec = "MPEG4";
    job.videoSize = "320x240";
    job.videoFrameRate = "default";
    job.videoBitrate = "1200";
    job.audioSampleRate = "44100";
    job.audioBitrate = "128";
    job.audioChannel = job.audioVolume = "default";
    job.quantizerMin = "1";
    job.quantizerMax = "31";
    job.split = "Not split";
    return job;
}

JobSettings read(const Job& job) {
    JobSettings settings;
    EXPECT_TRUE(readJobSettings(job, settings)) << "a sound record";
    return settings;
}

TEST(JobSettings, EachKindOfValueIsRead) {
    Job job = recordJob();
    JobSettings s = read(job);
    EXPECT_EQ(s.source.kind, SourceKind::File);
    EXPECT_FALSE(s.source.disc);
    EXPECT_EQ(s.source.length, Seconds(600));
    ASSERT_TRUE(s.video && s.audio);
    EXPECT_FALSE(s.video->frameRate) << "\"default\": the engine's own rate";
    EXPECT_EQ(s.output.format, OutputFormat::Mp4);
    EXPECT_FALSE(s.clip);
    EXPECT_FALSE(s.splitOutput());

    // Numbers keep the text the engine receives beside their value.
    job.videoBitrate = "0768";
    job.videoFrameRate = "14.985";
    job.videoSize = "640X480";
    job.audioVolume = "+5";
    s = read(job);
    EXPECT_EQ(s.video->bitrate.value, 768);
    EXPECT_EQ(s.video->bitrate.text, "0768");
    EXPECT_DOUBLE_EQ(s.video->frameRate->value, 14.985);
    EXPECT_EQ(s.video->frameRate->text, "14.985");
    EXPECT_EQ(s.video->size.width, 640);
    EXPECT_EQ(s.video->size.height, 480);
    EXPECT_EQ(s.sound.volume.kind, Volume::Kind::Decibels);
    EXPECT_EQ(s.sound.volume.decibels.value, 5);
    EXPECT_EQ(s.sound.volume.decibels.text, "+5");
    job.videoSize = "480:272";
    EXPECT_EQ(read(job).video->size.width, 480);
    job.videoSize = "big";
    EXPECT_EQ(read(job).video->size.width, 320) << "no size named: 320x240";

    // Only "no" enables, only "h264" is H.264; the codec outlives the video.
    job.videoCodec = "H264";
    EXPECT_EQ(read(job).codec, VideoCodec::Mpeg4);
    job.videoCodec = "h264";
    job.videoDisabled = "No";
    job.audioDisabled = "yes";
    s = read(job);
    EXPECT_FALSE(s.video);
    EXPECT_FALSE(s.audio);
    EXPECT_EQ(s.codec, VideoCodec::H264);

    // Channel names in any case; volume words exactly.
    const std::pair<const char*, AudioChannel> channels[] = {
        {"DEFAULT", AudioChannel::Default},          {"Left Stereo", AudioChannel::LeftStereo},
        {"right stereo", AudioChannel::RightStereo}, {"left MONO", AudioChannel::LeftMono},
        {"right mono", AudioChannel::RightMono},     {"mixed mono", AudioChannel::MixedMono},
        {"surround", AudioChannel::Unnamed},
    };
    for (const auto& [name, channel] : channels) {
        job.audioChannel = name;
        EXPECT_EQ(read(job).sound.channel, channel) << name;
    }
    job.audioVolume = "normalize";
    EXPECT_EQ(read(job).sound.volume.kind, Volume::Kind::Normalize);
    job.audioVolume = "Normalize";
    EXPECT_EQ(read(job).sound.volume.decibels.text, "Normalize") << "passed on as it stands";

    job.clipEnabled = 1;
    job.clipStart = 60.5;
    job.clipEnd = 90;
    EXPECT_EQ(read(job).clip->length(), Seconds(29.5));
    EXPECT_EQ(read(job).convertedLength(), Seconds(29.5));
    job.outputFormat = "MP3";
    s = read(job);
    EXPECT_TRUE(s.mp3());
    EXPECT_EQ(s.output.extension, "MP3");
    job.outputFormat = "avi";
    EXPECT_EQ(read(job).output.format, OutputFormat::Other);
}

TEST(JobSettings, SourceKindAndDiscAreReadApart) {
    Job job = recordJob();
    job.isDvd = 1;
    job.sourcePath = "dvd_drive_/media/My Disc";
    job.dvdTitle = 3;
    job.dvdChapterFirst = 2;
    job.dvdChapterLast = 7;
    job.dvdAudioId = 129;
    job.dvdSubtitleId = -1;
    JobSettings s = read(job);
    EXPECT_EQ(s.source.kind, SourceKind::DvdTitle);
    EXPECT_EQ(s.source.disc, "/media/My Disc");
    EXPECT_EQ(s.source.dvd.title, 3);
    EXPECT_EQ(s.source.dvd.lastChapter, 7);
    EXPECT_EQ(s.source.dvd.audioId, 129);
    EXPECT_FALSE(s.source.dvd.subtitleId) << "a negative id is none";
    // A hand-made record where the two disagree keeps both.
    job.isDvd = 0;
    s = read(job);
    EXPECT_EQ(s.source.kind, SourceKind::File);
    EXPECT_TRUE(s.source.disc);
    job.isDvd = 2;
    EXPECT_EQ(read(job).source.kind, SourceKind::VideoCd);
    job.isDvd = 7;
    EXPECT_EQ(read(job).source.kind, SourceKind::Unknown);
}

TEST(JobSettings, SplitTexts) {
    struct Case {
        const char* text;
        Split::Kind kind;
        double amount;  // seconds or bytes
        const char* engineText;
    };
    const Case cases[] = {
        {"Not split", Split::Kind::None, 0, "notsplit"},
        {"NOT SPLIT", Split::Kind::None, 0, "notsplit"},
        {" not  split ", Split::Kind::None, 0, "notsplit"},
        {"00:10:00", Split::Kind::ByTime, 600, "00:10:00"},
        {"1:00:00", Split::Kind::ByTime, 3600, "1:00:00"},
        {"650 MB", Split::Kind::BySize, 650.0 * 1048576, "650mb"},
        {"4.7 GB", Split::Kind::BySize, 4.7 * 1073741824, "4.7gb"},
        {"300 KB", Split::Kind::BySize, 300.0 * 1024, "300kb"},
        {"0 MB", Split::Kind::Unreadable, 0, "0mb"},
        {"+0:10:00", Split::Kind::ByTime, 600, "+0:10:00"},
        {"1:-10:00", Split::Kind::ByTime, 3000, "1:-10:00"},
        {"-1:00:00", Split::Kind::Unreadable, 0, "-1:00:00"},
        {"00:10:00:00", Split::Kind::Unreadable, 0, "00:10:00:00"},
        {"+650 MB", Split::Kind::BySize, 650.0 * 1048576, "+650mb"},
        {"0x10 kb", Split::Kind::BySize, 16.0 * 1024, "0x10kb"},
        {"650 xb", Split::Kind::Unreadable, 0, "650xb"},
        {"half", Split::Kind::Unreadable, 0, "half"},
    };
    for (const Case& c : cases) {
        Job job = recordJob();
        job.split = c.text;
        const Split split = read(job).split;
        EXPECT_EQ(split.kind, c.kind) << c.text;
        EXPECT_EQ(split.engineText, c.engineText) << c.text;
        EXPECT_DOUBLE_EQ(split.kind == Split::Kind::ByTime ? split.time.count() : split.bytes,
                         c.amount)
            << c.text;
    }
}

TEST(JobSettings, TextsTheEngineCannotTakeAreNamedAndTheViewStaysWhole) {
    const std::pair<std::string Job::*, const char*> settings[] = {
        {&Job::videoBitrate, "Video bitrate"},   {&Job::videoFrameRate, "Video frame rate"},
        {&Job::audioVolume, "Audio volume"},     {&Job::audioBitrate, "Audio bitrate"},
        {&Job::audioSampleRate, "Audio sample"}, {&Job::quantizerMin, "quantizer min"},
        {&Job::quantizerMax, "quantizer max"},
    };
    for (const auto& [field, name] : settings) {
        for (const char* bad : {"12 00", "12\"00", "12\\00", "12\t00"}) {
            Job job = recordJob();
            job.*field = bad;
            JobSettings s;
            const Status refused = readJobSettings(job, s);
            ASSERT_FALSE(refused) << name << " " << bad;
            EXPECT_EQ(refused.message(), std::string("The setting \"") + name + "\" holds \"" +
                                             bad + "\", which cannot be passed to the engine.");
            EXPECT_EQ(s.source.path, job.sourcePath) << "read all the same";
        }
    }
    Job job = recordJob();
    job.split = "6 5 0\"mb";
    JobSettings s;
    EXPECT_EQ(readJobSettings(job, s).message(),
              "The setting \"Split\" holds \"6 5 0\"mb\", which cannot be passed to the engine.");
    job.audioVolume = "12 \"00";
    EXPECT_NE(readJobSettings(job, s).message().find("\"Audio volume\""), std::string::npos)
        << "the first in the engine's order";
    EXPECT_EQ(s.sound.volume.decibels.text, "12 \"00") << "the preview plays it as it stands";
}

// Records only a hand-made project file or a typed value bring in, which
// used to give a command line the engine refuses or a plan that was not the
// encoder's: the composer, the names and the plan now read them alike.
TEST(JobSettings, EveryConsumerReadsAValueAlike) {
    Job job = recordJob();
    job.audioChannel = "Default";
    const JobSettings read = jobSettingsOf(job);
    EXPECT_EQ(EncoderCommandLine::audioFilters(read.sound, *read.audio), "  -srate 44100 ");
    job.split = "notsplit";
    EXPECT_EQ(firstOutputPath(jobSettingsOf(job)), "/out/M4V00001.mp4");
    EXPECT_EQ(EncoderCommandLine(job, {}).prefix().find("endpos"), std::string::npos);
    EXPECT_EQ(estimateOutput(job).parts, 1);
    // The estimate counts the parts the batch plans.
    job.split = "0:04:00";
    EXPECT_EQ(EncoderCommandLine(job, {}).splitText(), "0:04:00");
    EXPECT_EQ(estimateOutput(job).parts, 3);
    job.split = "650 xb";
    EXPECT_EQ(estimateOutput(job).parts, 1) << "a size the engine has no unit for";
    // The plan counts the bitrates the encoder uses: not the picture's of a
    // Job whose "Video disabled" is neither "no" nor "yes".
    job.split = "650 MB";
    job.videoDisabled = "No";
    bool estimated = false;
    EXPECT_NEAR(*plannedPartLength(jobSettingsOf(job), estimated),
                650.0 * 1048576 * 8 * 0.98 / 128000, 1e-6);
}

}  // namespace
}  // namespace pelorine
