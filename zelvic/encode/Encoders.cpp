#include "encode/Encoders.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

namespace zelvic {
namespace {

// Quality settings that an encoder may not have: applied where it has them,
// ignored where it has not.
void setIfPresent(AVCodecContext* context, const char* name, std::int64_t value) {
    (void)av_opt_set_int(context, name, value, AV_OPT_SEARCH_CHILDREN);
}

const AVCodec* findH264Encoder() {
    // By id rather than by name: the H.264 encoder is registered as "libx264".
    void* iterator = nullptr;
    while (const AVCodec* codec = av_codec_iterate(&iterator)) {
        if (av_codec_is_encoder(codec) && codec->id == AV_CODEC_ID_H264 &&
            std::string_view(codec->name) == "libx264") {
            return codec;
        }
    }
    return avcodec_find_encoder(AV_CODEC_ID_H264);
}

// MPEG-4 part 2 stores the time base denominator in 16 bits.
AVRational encoderTimeBase(AVRational frameRate) {
    AVRational base = av_inv_q(frameRate);
    if (base.den > 65535) {
        base = av_inv_q(av_d2q(av_q2d(frameRate), 65535));
    }
    return base;
}

void applyCommonVideoSettings(AVCodecContext* context, const LavcSettings& settings,
                              const VideoEncoderInput& input) {
    context->width = input.width;
    context->height = input.height;
    context->pix_fmt = AV_PIX_FMT_YUV420P;
    context->sample_aspect_ratio = input.sampleAspect;
    context->framerate = input.frameRate;
    context->time_base = encoderTimeBase(input.frameRate);
    context->bit_rate =
        static_cast<std::int64_t>(settings.vbitrate > 0 ? settings.vbitrate : 800) * 1000;
    context->gop_size = settings.keyint > 0 ? settings.keyint : 250;
    context->max_b_frames = 0;
    if (settings.vqmin >= 0) {
        context->qmin = settings.vqmin;
    }
    if (settings.vqmax >= 0) {
        context->qmax = settings.vqmax;
    }
    if (settings.vratetol > 0) {
        context->bit_rate_tolerance = settings.vratetol * 1000;
    }
    if (settings.bitExact) {
        context->flags |= AV_CODEC_FLAG_BITEXACT;
    }
    if (input.globalHeader) {
        context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    if (settings.mbd >= 0) {
        setIfPresent(context, "mbd", settings.mbd);
    }
    if (settings.cmp >= 0) {
        setIfPresent(context, "cmp", settings.cmp);
    }
    if (settings.subcmp >= 0) {
        setIfPresent(context, "subcmp", settings.subcmp);
    }
    if (settings.trell > 0) {
        setIfPresent(context, "trellis", settings.trell);
    }
}

// Same command line, same bytes: the encoders run on a fixed number of
// threads, since their output depends on it (the MPEG-4 encoder cuts the
// picture into one slice per thread, x264 limits motion search across frames
// encoded side by side). x264 with a VBV buffer runs on one thread: on
// several, its rate control reads the sizes of frames other threads are still
// encoding, which changes the result from run to run. The source's decoder
// keeps its own threads; decoding gives the same pictures whatever their number.
int encoderThreads(const AVCodecContext* context) {
    if (context->codec_id == AV_CODEC_ID_H264 && context->rc_max_rate > 0) {
        return 1;
    }
    return 2;
}

// The most a level of H.264 Main profile lets a stream carry (Table A-1):
// bits a second and the coded picture buffer, in kbit.
struct LevelLimits {
    int level;  // as -lavcopts writes it: 13 is 1.3, 9 is 1b
    int maxRate;
    int maxBuffer;
};
constexpr LevelLimits kLevelLimits[] = {
    {9, 128, 350},        {10, 64, 175},      {11, 192, 500},       {12, 384, 1000},
    {13, 768, 2000},      {20, 2000, 2000},   {21, 4000, 4000},     {22, 4000, 4000},
    {30, 10000, 10000},   {31, 14000, 14000}, {32, 20000, 20000},   {40, 20000, 25000},
    {41, 50000, 62500},   {42, 50000, 62500}, {50, 135000, 135000}, {51, 240000, 240000},
    {52, 240000, 240000},
};

const LevelLimits* levelLimits(int level) {
    for (const LevelLimits& limits : kLevelLimits) {
        if (limits.level == level) {
            return &limits;
        }
    }
    return nullptr;
}

// The H.264 stream's rate: the maximum asked for with a buffer of two
// seconds of it, both within what the level asked for allows, which also
// bounds a stream asked for no maximum; the average no higher than the
// maximum. A stream marked with a level carries no more than it allows.
void applyH264Rate(AVCodecContext* context, const LavcSettings& settings) {
    std::int64_t maxRate = static_cast<std::int64_t>(settings.vrcMaxrate) * 1000;
    std::int64_t buffer = 2 * maxRate;
    if (const LevelLimits* limits = levelLimits(settings.level)) {
        const std::int64_t levelRate = static_cast<std::int64_t>(limits->maxRate) * 1000;
        if (maxRate <= 0 || maxRate > levelRate) {
            std::printf("video: level %d.%d carries at most %d kbit/s; the maximum rate is that\n",
                        settings.level / 10, settings.level % 10, limits->maxRate);
            maxRate = levelRate;
            buffer = 2 * maxRate;
        }
        buffer =
            std::min<std::int64_t>(buffer, static_cast<std::int64_t>(limits->maxBuffer) * 1000);
        context->bit_rate = std::min(context->bit_rate, maxRate);
    }
    if (maxRate > 0) {
        context->rc_max_rate = maxRate;
        context->rc_buffer_size = static_cast<int>(std::min<std::int64_t>(buffer, INT_MAX));
    }
}

void applyH264Settings(AVCodecContext* context, const LavcSettings& settings, Dictionary& options) {
    // Without an explicit profile x264 picks High, which the handheld refuses.
    context->profile = FF_PROFILE_H264_MAIN;
    options.set("profile", "main");
    if (settings.level > 0) {
        context->level = settings.level;
    }
    context->refs = 2;
    if (settings.coder >= 0) {
        options.set("coder", settings.coder == 0 ? "cavlc" : "cabac");
    }
    // One slice per picture and no B-frames, whatever the preset says.
    options.set("x264-params", "bframes=0:ref=2:slices=1:sliced-threads=0");
    applyH264Rate(context, settings);
}

void applyMpeg4Settings(AVCodecContext* context, const LavcSettings& settings) {
    context->profile = FF_PROFILE_MPEG4_SIMPLE;
    if (settings.v4mv) {
        context->flags |= AV_CODEC_FLAG_4MV;
    }
    // Quarter-pel and AC prediction flags would leave Simple Profile or do
    // not apply to this encoder: accepted and ignored.
    if (settings.vrcMaxrate > 0) {
        context->rc_max_rate = static_cast<std::int64_t>(settings.vrcMaxrate) * 1000;
        context->rc_buffer_size =
            static_cast<int>(std::min<std::int64_t>(context->rc_max_rate, INT_MAX));
    }
}

}  // namespace

Result<CodecContextPtr> openVideoEncoder(const LavcSettings& settings,
                                         const VideoEncoderInput& input) {
    const bool h264 = settings.vcodec == "h264";
    const AVCodec* codec = h264 ? findH264Encoder() : avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    if (!codec) {
        return conversionFailed(std::string("no encoder for ") + settings.vcodec);
    }
    CodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context) {
        return conversionFailed("out of memory for the video encoder");
    }
    applyCommonVideoSettings(context.get(), settings, input);
    Dictionary options;
    if (h264) {
        applyH264Settings(context.get(), settings, options);
    } else {
        applyMpeg4Settings(context.get(), settings);
    }
    context->thread_count = encoderThreads(context.get());
    const int result = avcodec_open2(context.get(), codec, options.get());
    if (result < 0) {
        return conversionFailed(std::string("cannot open the ") + codec->name +
                                " encoder: " + avErrorText(result));
    }
    return context;
}

Result<const AVCodec*> findAudioEncoder(const Options& options) {
    const AVCodec* codec = options.audioEncoder == AudioEncoder::Mp3Lame
                               ? avcodec_find_encoder_by_name("libmp3lame")
                               : avcodec_find_encoder(AV_CODEC_ID_AAC);
    if (!codec) {
        return conversionFailed(options.audioEncoder == AudioEncoder::Mp3Lame
                                    ? "no MP3 encoder (libmp3lame)"
                                    : "no AAC encoder");
    }
    return codec;
}

int supportedSampleRate(const AVCodec* codec, int rate) {
    if (!codec->supported_samplerates) {
        return rate;
    }
    int best = codec->supported_samplerates[0];
    for (const int* candidate = codec->supported_samplerates; *candidate; ++candidate) {
        if (*candidate == rate) {
            return rate;
        }
        if (std::abs(*candidate - rate) < std::abs(best - rate)) {
            best = *candidate;
        }
    }
    return best;
}

int maxAudioChannels(const Options& options) {
    if (options.audioEncoder == AudioEncoder::Mp3Lame && options.lame.mode == 3) {
        return 1;
    }
    return 2;
}

AVSampleFormat encoderSampleFormat(const AVCodec* codec) {
    if (!codec->sample_fmts) {
        return AV_SAMPLE_FMT_FLTP;
    }
    for (const AVSampleFormat* format = codec->sample_fmts; *format != AV_SAMPLE_FMT_NONE;
         ++format) {
        if (*format == AV_SAMPLE_FMT_FLTP) {
            return *format;
        }
    }
    return codec->sample_fmts[0];
}

Result<CodecContextPtr> openAudioEncoder(const AVCodec* codec, const Options& options,
                                         const AudioEncoderInput& input) {
    CodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context) {
        return conversionFailed("out of memory for the audio encoder");
    }
    context->sample_rate = input.sampleRate;
    context->sample_fmt = encoderSampleFormat(codec);
    av_channel_layout_default(&context->ch_layout, input.channels);
    context->time_base = {1, input.sampleRate};
    if (input.globalHeader) {
        context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    Dictionary settings;
    if (options.audioEncoder == AudioEncoder::Mp3Lame) {
        context->bit_rate = static_cast<std::int64_t>(options.lame.bitrate) * 1000;
        if (options.lame.mode == 0 || options.lame.mode == 1) {
            settings.set("joint_stereo", options.lame.mode == 1 ? "1" : "0");
        }
    } else {
        context->profile = FF_PROFILE_AAC_LOW;
        context->bit_rate =
            static_cast<std::int64_t>(options.lavc.abitrate > 0 ? options.lavc.abitrate : 128) *
            1000;
        if (options.lavc.bitExact) {
            context->flags |= AV_CODEC_FLAG_BITEXACT;
        }
    }
    const int result = avcodec_open2(context.get(), codec, settings.get());
    if (result < 0) {
        return conversionFailed(std::string("cannot open the ") + codec->name +
                                " encoder: " + avErrorText(result));
    }
    return context;
}

}  // namespace zelvic
