#pragma once
// Where the decoding front delivers the pictures and the sound it decoded and
// filtered: the encoders and the muxer in encode mode, the screen and the
// sound device in play mode.
//
// The front calls, in this order: audioTarget (when it delivers audio), open,
// then frames, pauses and end requests as they come, then finish and end once
// every stream has ended. After a failure it calls discard instead.

#include <cstdint>
#include <optional>
#include <string>

#include "common/Errors.h"
#include "common/FFmpeg.h"
#include "front/Filters.h"

namespace zelvic {

// What the front will deliver, as planned from the source and the options.
struct SinkStreams {
    std::optional<VideoPlan> video;
    std::optional<AudioPlan> audio;
    std::string sourceTitle;  // the source's own title (its "title" metadata), or empty
    double length = 0;        // the output's expected length in seconds; 0 when unknown
};

// How many frames reached the sink, for the log and for telling an empty run.
struct SinkCounts {
    std::int64_t videoFrames = 0;
    std::int64_t audioFrames = 0;
    std::int64_t total() const { return videoFrames + audioFrames; }
};

class FrameSink {
public:
    virtual ~FrameSink() = default;

    // The sound the sink takes (rate, channels, sample format); the front's
    // audio chain converts to it. `input` is what the decoder delivers.
    virtual Result<AudioTarget> audioTarget(const AudioInputFormat& input) = 0;

    // Prepares for the streams; nothing has been delivered yet.
    virtual Outcome open(const SinkStreams& streams) = 0;

    // Samples per audio frame the sink needs, after open; 0 takes any size.
    virtual int audioFrameSize() const { return 0; }

    // One filtered frame. Its pts counts from the start asked for (-ss), in
    // `timeBase`; video frames of a constant-rate plan come one per slot. The
    // sink may change and take references to the frame, not keep it.
    virtual Outcome videoFrame(AVFrame* frame, AVRational timeBase) = 0;
    virtual Outcome audioFrame(AVFrame* frame, AVRational timeBase) = 0;

    // The control file asked to hold (true) or to go on (false). The front
    // delivers nothing while paused.
    virtual void setPaused(bool paused) { (void)paused; }
    // Called every few tens of milliseconds while the front holds a pause,
    // so that a sink with a window keeps it painted.
    virtual void whilePaused() {}

    // Where the sink's output is being played now, in seconds in the source
    // (counted as the front counts its position); nothing for a sink whose
    // position is where the front has read.
    virtual std::optional<double> playingPosition() const { return std::nullopt; }

    // Asked between packets. EndTogether: the sink is nearly full (an output
    // size limit); the front ends every stream at one time and calls endAt.
    // Quit: the sink cannot go on (its window was closed) and the run ends
    // as if quit were asked.
    enum class Request { None, EndTogether, Quit };
    virtual Request request() const { return Request::None; }

    // Nothing that begins at or after `seconds` (from the start) is kept any
    // more; audio frames that cross it are cut there.
    virtual void endAt(double seconds) = 0;

    // Every stream has ended: the sink completes its work (encoders flushed,
    // trailer written; or everything played out) and returns where what it
    // made ends, in seconds from the start.
    virtual Result<double> finish() = 0;

    // The run ends with `status` (Done or Quit) at `position`, the position
    // in the source where the output ends; the sink puts what it made where it
    // belongs. Called once, after finish.
    virtual Outcome end(ExitStatus status, double position) = 0;

    // The run failed or made nothing: leave nothing behind.
    virtual void discard() = 0;

    virtual SinkCounts counts() const = 0;
    // A few words on the sink's progress for the log ("1234 bytes written").
    virtual std::string progressNote() const { return {}; }
};

}  // namespace zelvic
