#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "CommandLines.h"
#include "Engine.h"
#include "Probe.h"

namespace zelvic::test {
namespace {

struct Expected {
    std::string format = "mov,mp4,m4a,3gp,3g2,mj2";
    AVCodecID video = AV_CODEC_ID_MPEG4;
    int profile = FF_PROFILE_MPEG4_SIMPLE;
    int level = 0;           // 0: not checked
    int entropyCoding = -1;  // H.264: 0 CAVLC, 1 CABAC; -1 not checked
    int width = 320;
    int height = 240;
    AVRational fps{25, 1};
    AVCodecID audio = AV_CODEC_ID_AAC;
    int sampleRate = 44100;
    int channels = 2;
    std::optional<double> length;  // unset: as long as the source's own streams
};

struct Case {
    const char* name;
    const char* fixture;
    std::function<void(JobLine&)> adjust;
    std::function<void(Expected&)> expect;
};

JobLine jobFor(const TempDir& dir, const std::string& fixtureName, const std::string& format) {
    const Fixture& source = fixture(fixtureName);
    JobLine job;
    job.source = fixturePath(fixtureName);
    job.output = dir.file("out." + format);
    job.format = format;
    job.folder = dir.folder();
    job.sourceWidth = source.width;
    job.sourceHeight = source.height;
    return job;
}

void checkOutput(const std::string& path, const std::string& source, const Expected& expected) {
    const MediaProbe original = probeMedia(source);
    ASSERT_TRUE(original.opened);
    // The video keeps its place on the source's timeline, so a full-length
    // output runs from the source's start to its end.
    const double videoLength = expected.length ? *expected.length : original.span;
    const double audioLength = expected.length ? *expected.length : original.audio()->duration;
    const MediaProbe probe = probeMedia(path);
    ASSERT_TRUE(probe.opened) << path;
    EXPECT_EQ(probe.format, expected.format);
    if (expected.video == AV_CODEC_ID_NONE) {
        EXPECT_EQ(probe.count(AVMEDIA_TYPE_VIDEO), 0);
    } else {
        ASSERT_EQ(probe.count(AVMEDIA_TYPE_VIDEO), 1);
        const StreamProbe& video = *probe.video();
        EXPECT_EQ(video.codec, expected.video);
        EXPECT_EQ(video.profile, expected.profile);
        if (expected.level) {
            EXPECT_LE(video.level, expected.level);
            EXPECT_GT(video.level, 0);
        }
        if (expected.video == AV_CODEC_ID_H264) {
            EXPECT_LE(video.referenceFrames, 2);
            EXPECT_EQ(video.entropyCoding, expected.entropyCoding);
        }
        EXPECT_EQ(video.width, expected.width);
        EXPECT_EQ(video.height, expected.height);
        EXPECT_EQ(av_cmp_q(video.frameRate, expected.fps), 0)
            << video.frameRate.num << "/" << video.frameRate.den;
        EXPECT_EQ(video.bFrames, 0);
        const double frame = 1.0 / av_q2d(expected.fps);
        EXPECT_NEAR(video.duration, videoLength, frame + 1e-3);
        EXPECT_NEAR(static_cast<double>(video.packets), videoLength / frame, 1.01);
    }
    if (expected.audio == AV_CODEC_ID_NONE) {
        EXPECT_EQ(probe.count(AVMEDIA_TYPE_AUDIO), 0);
    } else {
        ASSERT_EQ(probe.count(AVMEDIA_TYPE_AUDIO), 1);
        const StreamProbe& audio = *probe.audio();
        EXPECT_EQ(audio.codec, expected.audio);
        if (expected.audio == AV_CODEC_ID_AAC) {
            EXPECT_EQ(audio.profile, FF_PROFILE_AAC_LOW);
        }
        EXPECT_EQ(audio.sampleRate, expected.sampleRate);
        EXPECT_EQ(audio.channels, expected.channels);
        EXPECT_NEAR(audio.duration, audioLength, 0.06);
    }
}

const std::vector<Case>& encodeCases() {
    static const std::vector<Case> cases = {
        {"mpeg4 320x240 from 4:3", "ramp43.mp4", [](JobLine&) {}, [](Expected&) {}},
        {"mpeg4 480x272 from 16:9 mkv", "wide.mkv", [](JobLine& j) { j.videoSize = "480x272"; },
         [](Expected& e) {
             e.width = 480;
             e.height = 272;
             e.channels = 1;  // the first audio stream is the mono one
         }},
        {"h264 from anamorphic", "anamorphic.mp4",
         [](JobLine& j) {
             j.videoCodec = "h264";
             j.videoBitrate = "768";
         },
         [](Expected& e) {
             e.video = AV_CODEC_ID_H264;
             e.profile = FF_PROFILE_H264_MAIN;
             e.entropyCoding = 1;
         }},
        {"h264 from portrait at 29.97", "portrait.mp4",
         [](JobLine& j) {
             j.videoCodec = "h264";
             j.videoBitrate = "768";
         },
         [](Expected& e) {
             e.video = AV_CODEC_ID_H264;
             e.profile = FF_PROFILE_H264_MAIN;
             e.fps = {30000, 1001};
             e.entropyCoding = 1;
         }},
        {"odd size avi with mono mp3", "odd.avi", [](JobLine&) {},
         [](Expected& e) { e.channels = 1; }},
        {"5.1 mkv down to stereo", "surround.mkv", [](JobLine&) {}, [](Expected&) {}},
        {"mpeg program stream", "program.mpg", [](JobLine&) {}, [](Expected&) {}},
        {"mp3", "leftright.mp4", [](JobLine& j) { j.format = "mp3"; },
         [](Expected& e) {
             e.format = "mp3";
             e.video = AV_CODEC_ID_NONE;
             e.audio = AV_CODEC_ID_MP3;
         }},
        {"audio disabled mpeg4", "ramp43.mp4", [](JobLine& j) { j.audioDisabled = "yes"; },
         [](Expected& e) { e.audio = AV_CODEC_ID_NONE; }},
        {"audio disabled h264", "ramp43.mp4",
         [](JobLine& j) {
             j.audioDisabled = "yes";
             j.videoCodec = "h264";
             j.videoBitrate = "768";
         },
         [](Expected& e) {
             e.audio = AV_CODEC_ID_NONE;
             e.video = AV_CODEC_ID_H264;
             e.profile = FF_PROFILE_H264_MAIN;
             e.level = 13;
             e.entropyCoding = 0;
         }},
        {"video disabled: audio-only mp4", "ramp43.mp4",
         [](JobLine& j) { j.videoDisabled = "yes"; },
         [](Expected& e) { e.video = AV_CODEC_ID_NONE; }},
        {"frame rate 15", "ramp43.mp4", [](JobLine& j) { j.videoFrameRate = "15"; },
         [](Expected& e) {
             e.fps = {15, 1};
         }},
        {"frame rate 29.97 and 22050 Hz", "ramp43.mp4",
         [](JobLine& j) {
             j.videoFrameRate = "29.97";
             j.audioSampleRate = "22050";
         },
         [](Expected& e) {
             e.fps = {30000, 1001};
             e.sampleRate = 22050;
         }},
        {"clip", "ramp43.mp4", [](JobLine& j) { j.timing = " -ss 0.500000 -endpos 1.500000 "; },
         [](Expected& e) { e.length = 1.5; }},
        {"clip of an mpeg program stream", "program.mpg",
         [](JobLine& j) { j.timing = " -ss 1.000000 -endpos 1.200000 "; },
         [](Expected& e) { e.length = 1.2; }},
        {"split part 1 by time", "ramp43.mp4",
         [](JobLine& j) { j.timing = " -ss 0 -endpos 00:00:01 "; },
         [](Expected& e) { e.length = 1; }},
        {"split part 2 by time", "ramp43.mp4",
         [](JobLine& j) { j.timing = " -ss 1.000000 -endpos 00:00:01 "; },
         [](Expected& e) { e.length = 1; }},
        {"last part runs to the end", "ramp43.mp4",
         [](JobLine& j) { j.timing = " -ss 2.000000 -endpos 5.000000 "; },
         [](Expected& e) { e.length = 1; }},
        {"left mono", "leftright.mp4", [](JobLine& j) { j.audioChannel = "left mono"; },
         [](Expected& e) { e.channels = 1; }},
        {"normalized", "leftright.mp4", [](JobLine& j) { j.audioVolume = "normalize"; },
         [](Expected&) {}},
    };
    return cases;
}

TEST(Encode, ConverterLinesGivePlayableFiles) {
    for (const Case& c : encodeCases()) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        JobLine job = jobFor(dir, c.fixture, "mp4");
        c.adjust(job);
        job.output = dir.file("out." + job.format);
        const ProcessEnd end = runEngineLine(composeCommandLine(job), dir.file("log.txt"));
        ASSERT_TRUE(end.exited);
        ASSERT_EQ(end.status, ExitStatus::Done);
        Expected expected;
        c.expect(expected);
        checkOutput(job.output, job.source, expected);
    }
}

// Fits the picture and centres it: the black bands on both sides match, and
// the picture keeps the source's display aspect.
TEST(Encode, PictureIsScaledAndCentredInItsFrame) {
    struct PadCase {
        const char* fixture;
        const char* size;
    };
    const PadCase cases[] = {{"anamorphic.mp4", "320x240"},
                             {"wide.mkv", "320x240"},
                             {"portrait.mp4", "320x240"},
                             {"ramp43.mp4", "480x272"},
                             {"odd.avi", "480x272"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.fixture) + " to " + c.size);
        TempDir dir;
        JobLine job = jobFor(dir, c.fixture, "mp4");
        job.videoSize = c.size;
        ASSERT_EQ(runEngineLine(composeCommandLine(job), dir.file("log.txt")).status,
                  ExitStatus::Done);
        const PictureProbe picture = probeFirstPicture(job.output);
        ASSERT_GT(picture.width, 0);
        const auto extent = [](const std::vector<double>& means) {
            int first = -1;
            int last = -1;
            for (int i = 0; i < static_cast<int>(means.size()); ++i) {
                if (means[i] > 24) {  // black is 16; the fixtures' pictures are 60 and up
                    first = first < 0 ? i : first;
                    last = i;
                }
            }
            return std::pair{first, last};
        };
        const auto [top, bottom] = extent(picture.rowMeans);
        const auto [left, right] = extent(picture.columnMeans);
        ASSERT_GE(top, 0);
        EXPECT_NEAR(top, picture.height - 1 - bottom, 2);
        EXPECT_NEAR(left, picture.width - 1 - right, 2);
        const Fixture& source = fixture(c.fixture);
        const double shownAspect =
            static_cast<double>(right - left + 1) / static_cast<double>(bottom - top + 1);
        EXPECT_NEAR(shownAspect, static_cast<double>(source.width) / source.height, 0.04);
        EXPECT_TRUE(right - left + 1 == picture.width || bottom - top + 1 == picture.height);
    }
}

// The first frame of a clip is the source frame at the start asked for, also
// where the container has no index.
TEST(Encode, SeekLandsOnTheFrameAskedFor) {
    struct SeekCase {
        const char* fixture;
        double start;
    };
    const SeekCase cases[] = {{"ramp43.mp4", 1.0},  {"ramp43.mp4", 0.52}, {"program.mpg", 1.0},
                              {"program.mpg", 2.2}, {"odd.avi", 0.8},     {"wide.mkv", 1.24}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.fixture) + " from " + std::to_string(c.start));
        TempDir dir;
        JobLine job = jobFor(dir, c.fixture, "mp4");
        char timing[64];
        std::snprintf(timing, sizeof timing, " -ss %lf -endpos %lf ", c.start, 0.5);
        job.timing = timing;
        ASSERT_EQ(runEngineLine(composeCommandLine(job), dir.file("log.txt")).status,
                  ExitStatus::Done);
        const PictureProbe picture = probeFirstPicture(job.output);
        // Neighbouring frames differ by 2 luma steps; allow less than one.
        EXPECT_NEAR(picture.centreMean, centreLumaAt(job.source, c.start), 1.5);
    }
}

TEST(Encode, AudioChannelChoicesRouteTheRightSide) {
    // leftright.mp4 carries 440 Hz on the left and 1000 Hz on the right.
    struct RouteCase {
        const char* channel;
        std::vector<double> frequencies;
    };
    const RouteCase cases[] = {{"default", {440, 1000}},
                               {"left stereo", {440, 440}},
                               {"right stereo", {1000, 1000}},
                               {"left mono", {440}},
                               {"right mono", {1000}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.channel);
        TempDir dir;
        JobLine job = jobFor(dir, "leftright.mp4", "mp4");
        job.audioChannel = c.channel;
        ASSERT_EQ(runEngineLine(composeCommandLine(job), dir.file("log.txt")).status,
                  ExitStatus::Done);
        const auto measured = measureAudio(job.output);
        ASSERT_EQ(measured.size(), c.frequencies.size());
        for (std::size_t i = 0; i < measured.size(); ++i) {
            EXPECT_NEAR(measured[i].frequency, c.frequencies[i], c.frequencies[i] * 0.03) << i;
        }
    }
}

TEST(Encode, VolumeAndMixing) {
    const auto levelOf = [](const std::string& channel, const std::string& volume,
                            const std::string& format) {
        TempDir dir;
        JobLine job = jobFor(dir, "leftright.mp4", format);
        job.audioChannel = channel;
        job.audioVolume = volume;
        EXPECT_EQ(runEngineLine(composeCommandLine(job), dir.file("log.txt")).status,
                  ExitStatus::Done);
        return measureAudio(job.output);
    };
    const auto plain = levelOf("default", "default", "mp4");
    ASSERT_EQ(plain.size(), 2u);
    const auto quieter = levelOf("default", "-10", "mp4");
    ASSERT_EQ(quieter.size(), 2u);
    EXPECT_NEAR(20 * std::log10(quieter[0].rms / plain[0].rms), -10, 0.5);
    const auto louder = levelOf("default", "+5", "mp3");
    ASSERT_EQ(louder.size(), 2u);
    EXPECT_NEAR(20 * std::log10(louder[1].rms / plain[1].rms), 5, 0.7);
    // Half of each side: two unrelated tones add up in power.
    const auto mixed = levelOf("mixed mono", "default", "mp4");
    ASSERT_EQ(mixed.size(), 1u);
    const double expected =
        0.5 * std::sqrt(plain[0].rms * plain[0].rms + plain[1].rms * plain[1].rms);
    EXPECT_NEAR(mixed[0].rms, expected, expected * 0.1);
}

TEST(Encode, SizeLimitIsNeverExceeded) {
    struct SizeCase {
        const char* name;
        const char* format;
        const char* limit;
        std::int64_t bytes;
    };
    const SizeCase cases[] = {{"mpeg4 psp", "mp4", "200kb", 200 * 1024},
                              {"mp3", "mp3", "40KB", 40 * 1024},
                              {"h264", "mp4", "0.15mb", static_cast<std::int64_t>(0.15 * 1048576)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        JobLine job = jobFor(dir, "long.mp4", c.format);
        if (std::string(c.name) == "h264") {
            job.videoCodec = "h264";
            job.videoBitrate = "768";
        }
        job.timing = std::string(" -ss 0 -endpos ") + c.limit + " ";
        ASSERT_EQ(runEngineLine(composeCommandLine(job), dir.file("log.txt")).status,
                  ExitStatus::Done);
        const auto size = static_cast<std::int64_t>(fs::file_size(job.output));
        EXPECT_LE(size, c.bytes);
        EXPECT_GE(size, c.bytes * 3 / 4);  // the limit ends the part, not much earlier
        const MediaProbe probe = probeMedia(job.output);
        ASSERT_TRUE(probe.opened);
        EXPECT_GT(probe.audio()->duration, 1.0);
        if (probe.video()) {
            // The next part starts at this one's length: both streams end together.
            EXPECT_NEAR(probe.audio()->duration, probe.video()->duration, 0.05);
        }
    }
}

TEST(Encode, FailuresLeaveNoOutput) {
    TempDir dir;
    // Audio and video both disabled: the converter puts a second source in.
    JobLine job = jobFor(dir, "ramp43.mp4", "mp4");
    job.audioDisabled = "yes";
    job.videoDisabled = "yes";
    EXPECT_EQ(runEngineLine(composeCommandLine(job), dir.file("log.txt")).status,
              ExitStatus::BadCommandLine);
    EXPECT_FALSE(fs::exists(job.output));
    // A source that is not there.
    job = jobFor(dir, "ramp43.mp4", "mp4");
    job.source = dir.file("missing.avi");
    EXPECT_EQ(runEngineLine(composeCommandLine(job), dir.file("log.txt")).status,
              ExitStatus::SourceUnreadable);
    EXPECT_FALSE(fs::exists(job.output));
    // An output folder that does not exist.
    job = jobFor(dir, "ramp43.mp4", "mp4");
    job.output = dir.file("no/such/folder/out.mp4");
    EXPECT_EQ(runEngineLine(composeCommandLine(job), dir.file("log.txt")).status,
              ExitStatus::Failed);
    // Audio-only output from a source without audio.
    TempDir silent;
    JobLine first = jobFor(silent, "ramp43.mp4", "mp4");
    first.audioDisabled = "yes";
    ASSERT_EQ(runEngineLine(composeCommandLine(first), silent.file("log.txt")).status,
              ExitStatus::Done);
    job = jobFor(dir, "ramp43.mp4", "mp3");
    job.source = first.output;
    EXPECT_EQ(runEngineLine(composeCommandLine(job), dir.file("log.txt")).status,
              ExitStatus::Failed);
    EXPECT_FALSE(fs::exists(job.output));
}

}  // namespace
}  // namespace zelvic::test

namespace zelvic::test {
namespace {

// The flush order (filter input closed with the end time, sink drained,
// encoder drained, trailer) lets the source's last frame reach the file.
TEST(Encode, LastFrameArrives) {
    for (const char* name : {"ramp43.mp4", "program.mpg", "odd.avi", "portrait.mp4"}) {
        SCOPED_TRACE(name);
        TempDir dir;
        JobLine job = jobFor(dir, name, "mp4");
        job.videoCodec = "h264";
        job.videoBitrate = "768";
        ASSERT_EQ(runEngineLine(composeCommandLine(job), dir.file("log.txt")).status,
                  ExitStatus::Done);
        const double end = 1e9;
        EXPECT_NEAR(centreLumaAt(job.output, end), centreLumaAt(job.source, end), 1.5);
    }
}

// The video's rate in kbit/s over the whole output.
double videoRate(const std::string& path) {
    const MediaProbe probe = probeMedia(path);
    if (!probe.video() || probe.video()->duration <= 0) {
        return -1;
    }
    return static_cast<double>(probe.video()->bytes) * 8 / probe.video()->duration / 1000;
}

// The H.264 template without sound asks for level 1.3, whose streams carry at
// most 768 kbit/s; a Job at 1200 kbit/s gets a stream that keeps to the level
// it declares. The same Job with sound (no level asked for) shows the source
// takes more than that.
TEST(Encode, AStreamKeepsToTheRateOfTheLevelItDeclares) {
    std::vector<std::string> args = movingPictureWithTone("320x240", 4, ",noise=alls=12:allf=t");
    args.insert(args.end(), {"-c:v", "libx264", "-preset", "ultrafast", "-qp", "8", "-c:a", "aac"});
    generateMedia("rates", "v3", {{"noise.mp4", args}});
    TempDir dir;
    JobLine job;
    job.source = (mediaFolder("rates", "v3") / "noise.mp4").string();
    job.folder = dir.folder();
    job.videoCodec = "h264";
    job.videoBitrate = "1200";
    job.sourceWidth = 320;
    job.sourceHeight = 240;
    job.output = dir.file("with-sound.mp4");
    ASSERT_EQ(runEngineLine(composeCommandLine(job), dir.file("log1.txt")).status,
              ExitStatus::Done);
    EXPECT_GT(videoRate(job.output), 1000);

    job.audioDisabled = "yes";
    job.output = dir.file("level.mp4");
    ASSERT_EQ(runEngineLine(composeCommandLine(job), dir.file("log2.txt")).status,
              ExitStatus::Done);
    const MediaProbe probe = probeMedia(job.output);
    ASSERT_TRUE(probe.video());
    EXPECT_GT(probe.video()->level, 0);
    EXPECT_LE(probe.video()->level, 13);
    EXPECT_LE(videoRate(job.output), 768 * 1.05);
}

// Lines the converter does not compose but the language allows: bare AAC in
// ADTS frames, and MP3 in mono mode.
TEST(Encode, RawAudioStreams) {
    struct RawCase {
        const char* output;
        std::vector<std::string> options;
        const char* format;
        AVCodecID codec;
        int channels;
    };
    const RawCase cases[] = {
        {"out.aac",
         {"-oac", "lavc", "-lavcopts", "acodec=aac:abitrate=96", "-ovc", "frameno", "-of",
          "rawaudio", "-srate", "48000"},
         "aac",
         AV_CODEC_ID_AAC,
         2},
        {"out.mp3",
         {"-oac", "mp3lame", "-lameopts", "cbr:br=64:mode=3", "-ovc", "frameno", "-of", "rawaudio"},
         "mp3",
         AV_CODEC_ID_MP3,
         1},
    };
    for (const RawCase& c : cases) {
        SCOPED_TRACE(c.output);
        TempDir dir;
        std::vector<std::string> args = {fixturePath("leftright.mp4"), "-o", dir.file(c.output),
                                         "-currentfolder", dir.folder()};
        args.insert(args.end(), c.options.begin(), c.options.end());
        ASSERT_EQ(runEngine(args, dir.file("log.txt")).status, ExitStatus::Done);
        const MediaProbe probe = probeMedia(dir.file(c.output));
        ASSERT_TRUE(probe.opened);
        EXPECT_EQ(probe.format, c.format);
        ASSERT_EQ(probe.streams.size(), 1u);
        EXPECT_EQ(probe.streams[0].codec, c.codec);
        EXPECT_EQ(probe.streams[0].channels, c.channels);
    }
}

}  // namespace
}  // namespace zelvic::test
