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

VideoPlan planVideo(const std::vector<VideoStep>& steps, const std::optional<FrameRate>& outputRate,
                    const VideoInputFormat& input) {
    VideoPlan plan;
    std::vector<std::string> chain;
    int width = input.width;
    int height = input.height;
    AVRational aspect = input.sampleAspect.num > 0 && input.sampleAspect.den > 0
                            ? input.sampleAspect
                            : AVRational{1, 1};
    bool scaled = false;
    std::size_t lastScale = std::string::npos;  // index in `chain`

    plan.constantRate = outputRate.has_value() ||
                        std::any_of(steps.begin(), steps.end(), [](const VideoStep& step) {
                            return std::holds_alternative<HardDupStep>(step);
                        });
    plan.frameRate =
        outputRate ? AVRational{outputRate->num, outputRate->den} : defaultFrameRate(input);
    // The rate filter goes first: frames it drops are never scaled, and the
    // copies it makes are references until the encoder reads them. Rounding
    // up gives each output slot the frame on screen at its time (the last one
    // that began at or before it); the caller moves frames a hair earlier so
    // that millisecond timestamps do not fall just after their own slot.
    // Interlaced pictures are made whole before anything else, each from its
    // two fields in the order the stream gives (yadif reads it per frame);
    // progressive pictures are left alone.
    if (input.interlaced) {
        chain.push_back("yadif=mode=send_frame:parity=auto:deint=interlaced");
    }
    // Turned as it is displayed, before it is scaled.
    if (input.mirrored) {
        chain.push_back("hflip");
    }
    if (input.clockwise == 90 || input.clockwise == 270) {
        chain.push_back(input.clockwise == 90 ? "transpose=clock" : "transpose=cclock");
        std::swap(width, height);
        aspect = av_inv_q(aspect);
    } else if (input.clockwise == 180) {
        chain.push_back("hflip,vflip");
    }
    if (plan.constantRate) {
        chain.push_back(
            format("fps=fps=%d/%d:start_time=0:round=up", plan.frameRate.num, plan.frameRate.den));
    } else {
        chain.push_back("trim=start=0");
    }

    for (const VideoStep& step : steps) {
        if (const auto* scale = std::get_if<ScaleStep>(&step)) {
            const double displayAspect = width * av_q2d(aspect) / height;
            int newWidth = scale->width;
            int newHeight = scale->height;
            if (newWidth > 0 && newHeight < 0) {
                newHeight = evenSide(newWidth / displayAspect);
            } else if (newHeight > 0 && newWidth < 0) {
                newWidth = evenSide(newHeight * displayAspect);
            } else if (newWidth < 0 && newHeight < 0) {
                newWidth = evenSide(height * displayAspect);
                newHeight = height;
            }
            newWidth = newWidth == 0 ? width : newWidth;
            newHeight = newHeight == 0 ? height : newHeight;
            chain.push_back(format("scale=%d:%d", newWidth, newHeight));
            lastScale = chain.size() - 1;
            width = newWidth;
            height = newHeight;
            aspect = {1, 1};
            scaled = true;
        } else if (const auto* expand = std::get_if<ExpandStep>(&step)) {
            const int frameWidth = expand->width > 0 ? expand->width : width;
            const int frameHeight = expand->height > 0 ? expand->height : height;
            if (width > frameWidth || height > frameHeight) {
                // Rounding may leave the picture a little larger than its frame:
                // fit it (by redoing the scale just made, if there is one)
                // rather than cut it.
                const double displayAspect = width * av_q2d(aspect) / height;
                if (displayAspect > static_cast<double>(frameWidth) / frameHeight) {
                    width = frameWidth;
                    height = std::min(frameHeight, evenSide(frameWidth / displayAspect));
                } else {
                    height = frameHeight;
                    width = std::min(frameWidth, evenSide(frameHeight * displayAspect));
                }
                const std::string fitted = format("scale=%d:%d", width, height);
                if (lastScale == chain.size() - 1) {
                    chain.back() = fitted;
                } else {
                    chain.push_back(fitted);
                }
                aspect = {1, 1};
                scaled = true;
            }
            const int x = expand->x < 0 ? ((frameWidth - width) / 2) & ~1
                                        : std::min(expand->x, frameWidth - width);
            const int y = expand->y < 0 ? ((frameHeight - height) / 2) & ~1
                                        : std::min(expand->y, frameHeight - height);
            chain.push_back(format("pad=%d:%d:%d:%d:black", frameWidth, frameHeight, x, y));
            width = frameWidth;
            height = frameHeight;
        }
    }
    if (width % 2 != 0 || height % 2 != 0) {
        width = evenFloor(width);
        height = evenFloor(height);
        chain.push_back(format("scale=%d:%d", width, height));
    }
    if (scaled) {
        chain.push_back("setsar=1");
        aspect = {1, 1};
    }
    chain.push_back("format=yuv420p");
    plan.description = join(chain);
    plan.width = width;
    plan.height = height;
    plan.sampleAspect = aspect;
    return plan;
}

AudioPlan planAudio(const std::vector<AudioStep>& steps, const AudioInputFormat& input,
                    const AudioTarget& target) {
    std::vector<std::string> chain;
    chain.push_back(target.length ? format("atrim=start=0:end=%.6f", *target.length)
                                  : std::string("atrim=start=0"));
    int channels = std::max(1, input.channels);
    const auto inputChannel = [&](int index) { return std::min(index, channels - 1); };

    for (const AudioStep& step : steps) {
        if (const auto* routing = std::get_if<ChannelsStep>(&step)) {
            std::vector<ChannelRoute> routes = routing->routes;
            if (routes.empty()) {
                for (int i = 0; i < routing->outputs; ++i) {
                    routes.push_back({i, i});
                }
            }
            std::string pan = "pan=" + layoutName(routing->outputs);
            for (int out = 0; out < routing->outputs; ++out) {
                std::string terms;
                for (const ChannelRoute& route : routes) {
                    if (route.to == out) {
                        terms +=
                            (terms.empty() ? "c" : "+c") + std::to_string(inputChannel(route.from));
                    }
                }
                if (!terms.empty()) {
                    pan += format("|c%d=", out) + terms;
                }
            }
            chain.push_back(pan);
            channels = routing->outputs;
        } else if (const auto* mix = std::get_if<PanStep>(&step)) {
            const int inputs = static_cast<int>(mix->gains.size()) / mix->outputs;
            std::string pan = "pan=" + layoutName(mix->outputs);
            for (int out = 0; out < mix->outputs; ++out) {
                std::string terms;
                for (int in = 0; in < inputs && in < channels; ++in) {
                    const double gain = mix->gains[in * mix->outputs + out];
                    terms += format(terms.empty() ? "%g*c%d" : "+%g*c%d", gain, in);
                }
                pan += format("|c%d=", out) + (terms.empty() ? std::string("0*c0") : terms);
            }
            chain.push_back(pan);
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

struct InOutDeleter {
    void operator()(AVFilterInOut* inOut) const { avfilter_inout_free(&inOut); }
};
using InOutPtr = std::unique_ptr<AVFilterInOut, InOutDeleter>;

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
