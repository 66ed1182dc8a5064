#pragma once
// Filter graphs: the -vf and -af chains turned into libavfilter graphs. The
// planning half is pure (sizes, rates, filter texts) so that geometry and
// channel routing are tested without media; the building half configures a
// graph between a buffer source and a buffer sink.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/Errors.h"
#include "common/Owned.h"
#include "options/Options.h"

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavutil/pixfmt.h>
#include <libavutil/samplefmt.h>
}

namespace zelvic {

// What the decoder delivers.
struct VideoInputFormat {
    int width = 0;
    int height = 0;
    AVRational sampleAspect{0, 1};  // 0/1: square
    AVPixelFormat pixelFormat = AV_PIX_FMT_NONE;
    AVRational timeBase{1, 25};
    AVRational frameRate{0, 1};    // the source's rate, 0/1 when unknown
    AVRational averageRate{0, 1};  // frames over time; differs from frameRate when variable
    bool interlaced = false;       // the stream stores fields
    int clockwise = 0;             // turn for display: 0, 90, 180, 270 degrees
    bool mirrored = false;         // mirror before turning
};

// The handheld plays at most this many frames per second.
inline constexpr double kMostFramesPerSecond = 30.0;

// The output rate when none is asked for: the source's (its average when it
// varies), divided by the smallest whole number that brings it to at most
// kMostFramesPerSecond (60 -> 30, 59.94 -> 29.97, 50 -> 25, 120 -> 30);
// 25 when the source's is unknown.
AVRational defaultFrameRate(const VideoInputFormat& input);

struct VideoPlan {
    std::string description;  // the filter chain, source to sink
    int width = 0;            // the picture that leaves the chain
    int height = 0;
    AVRational sampleAspect{1, 1};
    AVRational frameRate{25, 1};
    bool constantRate = false;  // harddup or -ofps: every output slot holds a frame
    // Where the source's picture lies in that frame; expand's border is the rest.
    int pictureX = 0;
    int pictureY = 0;
    int pictureWidth = 0;
    int pictureHeight = 0;
};

// Input timestamps reach the chain already shifted so that the start asked
// for (-ss) is 0, and video frames kFrameTimeTolerance earlier still; the
// chain drops everything before 0.
inline constexpr double kFrameTimeTolerance = 0.002;  // seconds
VideoPlan planVideo(const std::vector<VideoStep>& steps, const std::optional<FrameRate>& outputRate,
                    const VideoInputFormat& input);

// Gaps and overlaps in the sound shorter than this are left as they are.
inline constexpr double kAudioGapTolerance = 0.03;  // seconds

struct AudioInputFormat {
    int sampleRate = 0;
    int channels = 0;
    std::string layout;  // a layout text abuffer understands
    AVSampleFormat sampleFormat = AV_SAMPLE_FMT_NONE;
    AVRational timeBase{1, 44100};
};

struct AudioTarget {
    int sampleRate = 44100;  // what the encoder gets
    int maxChannels = 2;     // the handheld plays at most stereo; MP3 mono mode asks for 1
    AVSampleFormat sampleFormat = AV_SAMPLE_FMT_FLTP;
    std::optional<double> length;  // seconds after the start, cut exactly
};

struct AudioPlan {
    std::string description;
    int sampleRate = 0;
    int channels = 0;
};

AudioPlan planAudio(const std::vector<AudioStep>& steps, const AudioInputFormat& input,
                    const AudioTarget& target);

// The default layout text for a channel count ("mono", "stereo", "5.1", …).
std::string layoutName(int channels);

// A configured graph: frames go into `source`, come out of `sink`.
struct FilterGraph {
    Owned<AVFilterGraph, avfilter_graph_free> graph;
    AVFilterContext* source = nullptr;
    AVFilterContext* sink = nullptr;
};

Result<FilterGraph> buildVideoGraph(const VideoInputFormat& input, const std::string& description);
Result<FilterGraph> buildAudioGraph(const AudioInputFormat& input, const std::string& description);

}  // namespace zelvic
