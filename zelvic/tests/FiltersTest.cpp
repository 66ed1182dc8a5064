#include <gtest/gtest.h>

#include "encode/Output.h"
#include "front/Filters.h"

namespace zelvic {
namespace {

// The geometry of the converter's scaling lines on awkward sources: the
// picture keeps its display aspect, has even sides, fits its frame and sits
// in the middle of it.
TEST(VideoPlan, FitsAndCentresThePicture) {
    struct Case {
        const char* name;
        int width;
        int height;
        AVRational aspect;
        std::vector<VideoStep> steps;
        int pictureWidth;  // inside the frame
        int pictureHeight;
        int frameWidth;
        int frameHeight;
    };
    const auto fitWidth = [](int w, int h) {
        return std::vector<VideoStep>{ScaleStep{w, kKeepAspect}, HardDupStep{},
                                      ExpandStep{w, h, -1, -1, true}, HardDupStep{}};
    };
    const auto fitHeight = [](int w, int h) {
        return std::vector<VideoStep>{ScaleStep{kKeepAspect, h}, HardDupStep{},
                                      ExpandStep{w, h, -1, -1, true}};
    };
    const Case cases[] = {
        {"4:3 into 320x240", 640, 480, {1, 1}, fitWidth(320, 240), 320, 240, 320, 240},
        {"16:9 into 320x240", 1280, 720, {1, 1}, fitWidth(320, 240), 320, 180, 320, 240},
        {"anamorphic 16:9", 352, 288, {16, 11}, fitWidth(320, 240), 320, 180, 320, 240},
        {"4:3 into 480x272", 640, 480, {1, 1}, fitHeight(480, 272), 362, 272, 480, 272},
        {"portrait", 180, 320, {1, 1}, fitHeight(320, 240), 136, 240, 320, 240},
        {"odd source", 321, 241, {1, 1}, fitWidth(320, 240), 320, 240, 320, 240},
        // Rounding the computed side up would overflow the frame: shrink to fit.
        {"wide DVD into 480x272", 720, 576, {64, 45}, fitHeight(480, 272), 480, 270, 480, 272},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VideoInputFormat input;
        input.width = c.width;
        input.height = c.height;
        input.sampleAspect = c.aspect;
        input.frameRate = {25, 1};
        const VideoPlan plan = planVideo(c.steps, std::nullopt, input);
        EXPECT_EQ(plan.width, c.frameWidth);
        EXPECT_EQ(plan.height, c.frameHeight);
        const std::string scaled =
            "scale=" + std::to_string(c.pictureWidth) + ":" + std::to_string(c.pictureHeight);
        EXPECT_NE(plan.description.find(scaled), std::string::npos) << plan.description;
        const int x = (c.frameWidth - c.pictureWidth) / 2 & ~1;
        const int y = (c.frameHeight - c.pictureHeight) / 2 & ~1;
        const std::string pad = "pad=" + std::to_string(c.frameWidth) + ":" +
                                std::to_string(c.frameHeight) + ":" + std::to_string(x) + ":" +
                                std::to_string(y);
        EXPECT_NE(plan.description.find(pad), std::string::npos) << plan.description;
        EXPECT_TRUE(plan.constantRate);
        EXPECT_EQ(plan.sampleAspect.num, plan.sampleAspect.den);
    }
}

TEST(VideoPlan, FrameRates) {
    VideoInputFormat input;
    input.width = 320;
    input.height = 240;
    input.frameRate = {30000, 1001};
    VideoPlan plan = planVideo({HardDupStep{}}, std::nullopt, input);
    EXPECT_EQ(av_cmp_q(plan.frameRate, AVRational{30000, 1001}), 0);
    plan = planVideo({}, FrameRate{25, 1}, input);
    EXPECT_TRUE(plan.constantRate);
    EXPECT_EQ(av_cmp_q(plan.frameRate, AVRational{25, 1}), 0);
    // Without harddup or -ofps frames keep their own times.
    plan = planVideo({}, std::nullopt, input);
    EXPECT_FALSE(plan.constantRate);
    EXPECT_EQ(plan.description.find("fps="), std::string::npos);
    // A source that does not know its rate gets a usable one.
    input.frameRate = {0, 1};
    plan = planVideo({HardDupStep{}}, std::nullopt, input);
    EXPECT_EQ(av_cmp_q(plan.frameRate, AVRational{25, 1}), 0);
}

// Without a rate asked for, what the handheld plays: at most 30 frames a
// second, by dividing the source's by a whole number; a variable rate by
// its average.
TEST(VideoPlan, DefaultRateIsAtMostThirty) {
    struct Case {
        AVRational source;
        AVRational average;
        AVRational expected;
    };
    const Case cases[] = {
        {{60, 1}, {60, 1}, {30, 1}},
        {{60000, 1001}, {60000, 1001}, {30000, 1001}},
        {{50, 1}, {0, 1}, {25, 1}},
        {{120, 1}, {120, 1}, {30, 1}},
        {{90, 1}, {90, 1}, {30, 1}},
        {{30, 1}, {30, 1}, {30, 1}},
        {{24000, 1001}, {24000, 1001}, {24000, 1001}},
        {{60, 1}, {47, 2}, {47, 2}},  // variable: 23.5 on average
        {{0, 1}, {0, 1}, {25, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.source.num) + "/" + std::to_string(c.source.den));
        VideoInputFormat input;
        input.frameRate = c.source;
        input.averageRate = c.average;
        const AVRational rate = defaultFrameRate(input);
        EXPECT_EQ(av_cmp_q(rate, c.expected), 0) << rate.num << "/" << rate.den;
    }
}

TEST(VideoPlan, OnlyInterlacedPicturesAreDeinterlaced) {
    VideoInputFormat input;
    input.width = 720;
    input.height = 576;
    input.frameRate = {25, 1};
    const std::vector<VideoStep> steps = {ScaleStep{320, kKeepAspect}, HardDupStep{}};
    EXPECT_EQ(planVideo(steps, std::nullopt, input).description.find("yadif"), std::string::npos);
    input.interlaced = true;
    // First in the chain: before any frame is dropped, copied or scaled.
    EXPECT_EQ(planVideo(steps, std::nullopt, input).description.find("yadif"), 0u);
}

TEST(AudioPlan, ChannelsLeaveAtMostStereo) {
    struct Case {
        const char* name;
        int inputChannels;
        std::vector<AudioStep> steps;
        int maxChannels;
        int channels;
        const char* contains;
    };
    const Case cases[] = {
        {"stereo stays", 2, {}, 2, 2, "channel_layouts=stereo"},
        {"5.1 folds to stereo", 6, {}, 2, 2, "channel_layouts=stereo"},
        {"left on both sides",
         2,
         {ChannelsStep{2, {{0, 0}, {0, 1}}}},
         2,
         2,
         "pan=stereo|c0=c0|c1=c0"},
        {"right mono", 2, {ChannelsStep{1, {{1, 0}}}}, 2, 1, "pan=mono|c0=c1"},
        {"right mono of a mono source", 1, {ChannelsStep{1, {{1, 0}}}}, 2, 1, "pan=mono|c0=c0"},
        {"mixed mono", 2, {PanStep{1, {0.5, 0.5}}}, 2, 1, "pan=mono|c0=0.5*c0+0.5*c1"},
        {"MP3 mono mode", 2, {}, 1, 1, "channel_layouts=mono"},
        {"normalised, then back to the rate",
         2,
         {VolNormStep{}},
         2,
         2,
         "loudnorm,aresample=44100:async=1"},
        {"gain with soft clipping", 2, {VolumeStep{5, true}}, 2, 2, "volume=5.000dB,asoftclip"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AudioInputFormat input;
        input.sampleRate = 48000;
        input.channels = c.inputChannels;
        AudioTarget target;
        target.maxChannels = c.maxChannels;
        const AudioPlan plan = planAudio(c.steps, input, target);
        EXPECT_EQ(plan.channels, c.channels);
        EXPECT_EQ(plan.sampleRate, 44100);
        EXPECT_NE(plan.description.find(c.contains), std::string::npos) << plan.description;
    }
}

TEST(Muxer, ChoiceFollowsFormatStreamsAndName) {
    struct Case {
        Container container;
        const char* format;
        const char* output;
        bool video;
        AVCodecID audio;
        const char* muxer;
    };
    const Case cases[] = {
        {Container::Lavf, "psp", "a.mp4", true, AV_CODEC_ID_AAC, "psp"},
        {Container::Lavf, "psp", "a.mp4", true, AV_CODEC_ID_NONE, "mp4"},
        {Container::Lavf, "mp4", "a.mp4", true, AV_CODEC_ID_NONE, "mp4"},
        {Container::RawAudio, "", "a.mp3", false, AV_CODEC_ID_MP3, "mp3"},
        {Container::RawAudio, "", "a.aac", false, AV_CODEC_ID_AAC, "adts"},
        {Container::RawAudio, "mp4", "a.mp4", false, AV_CODEC_ID_AAC, "mp4"},
        {Container::RawAudio, "", "A.M4A", false, AV_CODEC_ID_AAC, "mp4"},
    };
    for (const Case& c : cases) {
        Options options;
        options.container = c.container;
        options.lavfFormat = c.format;
        options.output = c.output;
        EXPECT_EQ(chooseMuxer(options, c.video, c.audio != AV_CODEC_ID_NONE, c.audio), c.muxer)
            << c.output;
    }
}

}  // namespace
}  // namespace zelvic
