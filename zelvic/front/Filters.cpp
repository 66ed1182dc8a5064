#include "front/Filters.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/channel_layout.h>
#include <libavutil/pixdesc.h>
}

namespace zelvic {
namespace {

template <typename... Values>
std::string format(const char* pattern, Values... values) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, pattern, values...);
    return buffer;
}

std::string join(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) {
        if (!text.empty()) {
            text += ',';
        }
        text += part;
    }
    return text;
}

// 4:2:0 pictures need even sides.
int evenSide(double value) {
    return std::max(2, static_cast<int>(std::lround(value / 2.0)) * 2);
}
int evenFloor(int value) {
    return std::max(2, value & ~1);
}

bool usableRate(AVRational rate) {
    return rate.num > 0 && rate.den > 0 && av_q2d(rate) >= 1 && av_q2d(rate) <= 1000;
}

}  // namespace

std::string layoutName(int channels) {
    AVChannelLayout layout{};
    av_channel_layout_default(&layout, channels);
    char text[64] = {};
    av_channel_layout_describe(&layout, text, sizeof text);
    av_channel_layout_uninit(&layout);
    return text;
}

AVRational defaultFrameRate(const VideoInputFormat& input) {
    AVRational rate = usableRate(input.frameRate) ? input.frameRate : AVRational{25, 1};
    const bool varies = usableRate(input.averageRate) && usableRate(input.frameRate) &&
                        std::abs(av_q2d(input.frameRate) / av_q2d(input.averageRate) - 1) > 0.01;
    if (varies || (!usableRate(input.frameRate) && usableRate(input.averageRate))) {
        // A variable rate: its average, to the millisecond.
        rate = av_d2q(av_q2d(input.averageRate), 1001000);
    }
    const int divisor = static_cast<int>(std::ceil(av_q2d(rate) / kMostFramesPerSecond - 1e-6));
    if (divisor > 1) {
        rate = av_mul_q(rate, AVRational{1, divisor});
    }
    return rate;
}

namespace {

// The picture as the chain has made it so far, and the chain.
struct ChainPicture {
    std::vector<std::string> chain;
    int width = 0;
    int height = 0;
    AVRational aspect{1, 1};
    bool scaled = false;
    std::size_t lastScale = std::string::npos;  // index in `chain`
    // The source's picture within the frame (not the border expand adds).
    double areaX = 0, areaY = 0, areaWidth = 0, areaHeight = 0;
    double displayAspect() const { return width * av_q2d(aspect) / height; }
    // The frame scaled to `newWidth` x `newHeight`, the picture with it.
    void resize(int newWidth, int newHeight) {
        const double across = static_cast<double>(newWidth) / width;
        const double down = static_cast<double>(newHeight) / height;
        areaX *= across, areaWidth *= across;
        areaY *= down, areaHeight *= down;
        width = newWidth;
        height = newHeight;
    }
};

// Interlaced pictures are made whole before anything else, each from its two
// fields in the order the stream gives (yadif reads it per frame);
// progressive pictures are left alone. Then the picture is turned as it is
// displayed, before it is scaled.
void makeUpright(const VideoInputFormat& input, ChainPicture& picture) {
    if (input.interlaced) {
        picture.chain.push_back("yadif=mode=send_frame:parity=auto:deint=interlaced");
    }
    if (input.mirrored) {
        picture.chain.push_back("hflip");
    }
    if (input.clockwise == 90 || input.clockwise == 270) {
        picture.chain.push_back(input.clockwise == 90 ? "transpose=clock" : "transpose=cclock");
        std::swap(picture.width, picture.height);
        std::swap(picture.areaWidth, picture.areaHeight);
        picture.aspect = av_inv_q(picture.aspect);
    } else if (input.clockwise == 180) {
        picture.chain.push_back("hflip,vflip");
    }
}

// scale=W:H, a side of -1 or -2 computed from the other keeping the display
// aspect, 0 keeping that side.
void addScale(const ScaleStep& scale, ChainPicture& picture) {
    const double displayAspect = picture.displayAspect();
    int width = scale.width;
    int height = scale.height;
    if (width > 0 && height < 0) {
        height = evenSide(width / displayAspect);
    } else if (height > 0 && width < 0) {
        width = evenSide(height * displayAspect);
    } else if (width < 0 && height < 0) {
        width = evenSide(picture.height * displayAspect);
        height = picture.height;
    }
    width = width == 0 ? picture.width : width;
    height = height == 0 ? picture.height : height;
    picture.chain.push_back(format("scale=%d:%d", width, height));
    picture.lastScale = picture.chain.size() - 1;
    picture.resize(width, height);
    picture.aspect = {1, 1};
    picture.scaled = true;
}

// Rounding may leave the picture a little larger than its frame: it is
// fitted (by redoing the scale just made, if there is one) rather than cut.
void fitInto(int frameWidth, int frameHeight, ChainPicture& picture) {
    const double displayAspect = picture.displayAspect();
    if (displayAspect > static_cast<double>(frameWidth) / frameHeight) {
        picture.resize(frameWidth, std::min(frameHeight, evenSide(frameWidth / displayAspect)));
    } else {
        picture.resize(std::min(frameWidth, evenSide(frameHeight * displayAspect)), frameHeight);
    }
    const std::string fitted = format("scale=%d:%d", picture.width, picture.height);
    if (picture.lastScale == picture.chain.size() - 1) {
        picture.chain.back() = fitted;
    } else {
        picture.chain.push_back(fitted);
    }
    picture.aspect = {1, 1};
    picture.scaled = true;
}

// expand=W:H:X:Y: the picture padded with black to W x H, an offset of -1
// centring it on that axis (on even offsets).
void addExpand(const ExpandStep& expand, ChainPicture& picture) {
    const int frameWidth = expand.width > 0 ? expand.width : picture.width;
    const int frameHeight = expand.height > 0 ? expand.height : picture.height;
    if (picture.width > frameWidth || picture.height > frameHeight) {
        fitInto(frameWidth, frameHeight, picture);
    }
    const int x = expand.x < 0 ? ((frameWidth - picture.width) / 2) & ~1
                               : std::min(expand.x, frameWidth - picture.width);
    const int y = expand.y < 0 ? ((frameHeight - picture.height) / 2) & ~1
                               : std::min(expand.y, frameHeight - picture.height);
    picture.chain.push_back(format("pad=%d:%d:%d:%d:black", frameWidth, frameHeight, x, y));
    picture.areaX += x;
    picture.areaY += y;
    picture.width = frameWidth;
    picture.height = frameHeight;
}

}  // namespace

VideoPlan planVideo(const std::vector<VideoStep>& steps, const std::optional<FrameRate>& outputRate,
                    const VideoInputFormat& input) {
    VideoPlan plan;
    plan.constantRate = outputRate.has_value() ||
                        std::any_of(steps.begin(), steps.end(), [](const VideoStep& step) {
                            return std::holds_alternative<HardDupStep>(step);
                        });
    plan.frameRate =
        outputRate ? AVRational{outputRate->num, outputRate->den} : defaultFrameRate(input);
    ChainPicture picture;
    picture.width = input.width;
    picture.height = input.height;
    picture.areaWidth = input.width;
    picture.areaHeight = input.height;
    if (input.sampleAspect.num > 0 && input.sampleAspect.den > 0) {
        picture.aspect = input.sampleAspect;
    }
    makeUpright(input, picture);
    // The rate filter comes before the steps: frames it drops are never
    // scaled, and the copies it makes are references until the encoder reads
    // them. Rounding up gives each output slot the frame on screen at its
    // time (the last one that began at or before it); the caller moves frames
    // a hair earlier so that millisecond timestamps do not fall just after
    // their own slot.
    if (plan.constantRate) {
        picture.chain.push_back(
            format("fps=fps=%d/%d:start_time=0:round=up", plan.frameRate.num, plan.frameRate.den));
    } else {
        picture.chain.push_back("trim=start=0");
    }
    for (const VideoStep& step : steps) {
        if (const auto* scale = std::get_if<ScaleStep>(&step)) {
            addScale(*scale, picture);
        } else if (const auto* expand = std::get_if<ExpandStep>(&step)) {
            addExpand(*expand, picture);
        }
    }
    if (picture.width % 2 != 0 || picture.height % 2 != 0) {
        picture.resize(evenFloor(picture.width), evenFloor(picture.height));
        picture.chain.push_back(format("scale=%d:%d", picture.width, picture.height));
    }
    if (picture.scaled) {
        picture.chain.push_back("setsar=1");
        picture.aspect = {1, 1};
    }
    picture.chain.push_back("format=yuv420p");
    plan.description = join(picture.chain);
    plan.width = picture.width;
    plan.height = picture.height;
    plan.sampleAspect = picture.aspect;
    plan.pictureX = static_cast<int>(std::lround(picture.areaX));
    plan.pictureY = static_cast<int>(std::lround(picture.areaY));
    plan.pictureWidth = static_cast<int>(std::lround(picture.areaWidth));
    plan.pictureHeight = static_cast<int>(std::lround(picture.areaHeight));
    return plan;
}

namespace {

// channels=N:R:f:t…: output t takes input f (the last input channel where
// there are fewer); without routes output i takes input i.
std::string routeChannels(const ChannelsStep& routing, int channels) {
    std::vector<ChannelRoute> routes = routing.routes;
    if (routes.empty()) {
        for (int i = 0; i < routing.outputs; ++i) {
            routes.push_back({i, i});
        }
    }
    std::string pan = "pan=" + layoutName(routing.outputs);
    for (int out = 0; out < routing.outputs; ++out) {
        std::string terms;
        for (const ChannelRoute& route : routes) {
            if (route.to == out) {
                terms += (terms.empty() ? "c" : "+c") +
                         std::to_string(std::min(route.from, channels - 1));
            }
        }
        if (!terms.empty()) {
            pan += format("|c%d=", out) + terms;
        }
    }
    return pan;
}

// pan=N:g…: each output the sum of the inputs at their gains.
std::string mixChannels(const PanStep& mix, int channels) {
    const int inputs = static_cast<int>(mix.gains.size()) / mix.outputs;
    std::string pan = "pan=" + layoutName(mix.outputs);
    for (int out = 0; out < mix.outputs; ++out) {
        std::string terms;
        for (int in = 0; in < inputs && in < channels; ++in) {
            const double gain = mix.gains[in * mix.outputs + out];
            terms += format(terms.empty() ? "%g*c%d" : "+%g*c%d", gain, in);
        }
        pan += format("|c%d=", out) + (terms.empty() ? std::string("0*c0") : terms);
    }
    return pan;
}

}  // namespace

AudioPlan planAudio(const std::vector<AudioStep>& steps, const AudioInputFormat& input,
                    const AudioTarget& target) {
    std::vector<std::string> chain;
    chain.push_back(target.length ? format("atrim=start=0:end=%.6f", *target.length)
                                  : std::string("atrim=start=0"));
    int channels = std::max(1, input.channels);
    for (const AudioStep& step : steps) {
        if (const auto* routing = std::get_if<ChannelsStep>(&step)) {
            chain.push_back(routeChannels(*routing, channels));
            channels = routing->outputs;
        } else if (const auto* mix = std::get_if<PanStep>(&step)) {
            chain.push_back(mixChannels(*mix, channels));
            channels = mix->outputs;
        } else if (const auto* volume = std::get_if<VolumeStep>(&step)) {
            chain.push_back(format("volume=%.3fdB", volume->decibels));
            // Only a gain can push peaks past full scale; tanh rounds them off.
            if (volume->softClip && volume->decibels > 0) {
                chain.push_back("asoftclip=type=tanh");
            }
        } else if (std::holds_alternative<VolNormStep>(step)) {
            // loudnorm works at 192 kHz; the resampler below brings the rate back.
            chain.push_back("loudnorm");
        }
    }
    AudioPlan plan;
    plan.sampleRate = target.sampleRate;
    plan.channels = std::min(channels, target.maxChannels);
    // The sound keeps to its timestamps: a gap (lost packets) is filled with
    // silence and an overlap dropped, from the start on, so that sound and
    // picture stay in step and the sound keeps the source's length.
    chain.push_back(format("aresample=%d:async=1:min_hard_comp=%.3f:first_pts=0", plan.sampleRate,
                           kAudioGapTolerance));
    chain.push_back(format("aformat=sample_fmts=%s:sample_rates=%d:channel_layouts=%s",
                           av_get_sample_fmt_name(target.sampleFormat), plan.sampleRate,
                           layoutName(plan.channels).c_str()));
    plan.description = join(chain);
    return plan;
}

namespace {

using InOutPtr = Owned<AVFilterInOut, avfilter_inout_free>;

Result<FilterGraph> buildGraph(const char* sourceName, const std::string& sourceArgs,
                               const char* sinkName, const std::string& description) {
    FilterGraph built;
    built.graph.reset(avfilter_graph_alloc());
    if (!built.graph) {
        return conversionFailed("out of memory for a filter graph");
    }
    int result = avfilter_graph_create_filter(&built.source, avfilter_get_by_name(sourceName), "in",
                                              sourceArgs.c_str(), nullptr, built.graph.get());
    if (result >= 0) {
        result = avfilter_graph_create_filter(&built.sink, avfilter_get_by_name(sinkName), "out",
                                              nullptr, nullptr, built.graph.get());
    }
    if (result < 0) {
        return conversionFailed("cannot create the filter ends (" + sourceArgs +
                                "): " + avErrorText(result));
    }
    InOutPtr outputs(avfilter_inout_alloc());
    InOutPtr inputs(avfilter_inout_alloc());
    if (!outputs || !inputs) {
        return conversionFailed("out of memory for a filter graph");
    }
    outputs->name = av_strdup("in");
    outputs->filter_ctx = built.source;
    outputs->pad_idx = 0;
    inputs->name = av_strdup("out");
    inputs->filter_ctx = built.sink;
    inputs->pad_idx = 0;
    AVFilterInOut* openInputs = inputs.release();
    AVFilterInOut* openOutputs = outputs.release();
    result = avfilter_graph_parse_ptr(built.graph.get(), description.c_str(), &openInputs,
                                      &openOutputs, nullptr);
    avfilter_inout_free(&openInputs);
    avfilter_inout_free(&openOutputs);
    if (result >= 0) {
        result = avfilter_graph_config(built.graph.get(), nullptr);
    }
    if (result < 0) {
        return conversionFailed("cannot set up the filters \"" + description +
                                "\": " + avErrorText(result));
    }
    return built;
}

}  // namespace

Result<FilterGraph> buildVideoGraph(const VideoInputFormat& input, const std::string& description) {
    const AVRational aspect = input.sampleAspect.num > 0 ? input.sampleAspect : AVRational{1, 1};
    std::string args = format("video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d",
                              input.width, input.height, static_cast<int>(input.pixelFormat),
                              input.timeBase.num, input.timeBase.den, aspect.num, aspect.den);
    if (usableRate(input.frameRate)) {
        args += format(":frame_rate=%d/%d", input.frameRate.num, input.frameRate.den);
    }
    return buildGraph("buffer", args, "buffersink", description);
}

Result<FilterGraph> buildAudioGraph(const AudioInputFormat& input, const std::string& description) {
    const std::string args =
        format("time_base=%d/%d:sample_rate=%d:sample_fmt=%s:channel_layout=%s", input.timeBase.num,
               input.timeBase.den, input.sampleRate, av_get_sample_fmt_name(input.sampleFormat),
               input.layout.c_str());
    return buildGraph("abuffer", args, "abuffersink", description);
}

}  // namespace zelvic
