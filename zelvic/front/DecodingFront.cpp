#include "front/DecodingFront.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <thread>

#include "front/Input.h"
#include "front/SourceStreams.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
}

namespace zelvic {
namespace {

using pelorine::channel::Command;
using Clock = std::chrono::steady_clock;

// Pulls results from a producer (decoder, filter sink) until it needs more
// input or has ended; both are normal flow, not errors.
template <typename Receive, typename Consume>
Outcome drain(Receive receive, Consume consume, const char* what) {
    while (true) {
        const int result = receive();
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) {
            return success();
        }
        if (result < 0) {
            return conversionFailed(std::string(what) + ": " + avErrorText(result));
        }
        if (auto consumed = consume(); !consumed) {
            return consumed;
        }
    }
}

enum class StopReason { EndOfSource, EndPosition, SizeLimit, Quit };

class DecodingFront {
public:
    DecodingFront(const Options& options, Channel& channel, FrameSink& sink)
        : options_(options), channel_(channel), sink_(sink), source_(options) {}

    ExitStatus run();

private:
    Outcome start();
    Outcome readSource();
    Outcome readPacket(bool& ended);
    Outcome decodePacket(DecodedStream& stream, const AVPacket* packet);
    Outcome filterFrame(DecodedStream& stream, AVFrame* frame);
    Outcome feedFrame(DecodedStream& stream, AVFrame* frame, std::int64_t pts);
    Outcome releasePictures(bool all);
    Outcome drainFilters(DecodedStream& stream);
    Outcome endStream(DecodedStream& stream, std::int64_t endPts);
    void endStreamsTogether();
    Outcome endStreamsLeftBehind(const AVPacket* packet);
    Outcome flush();
    std::int64_t endOf(const DecodedStream& stream) const;
    ExitStatus finish();
    bool holdWhilePaused();
    // The position the progress file tells: where the sink plays, or else
    // where the front has read.
    double reportedPosition() const { return sink_.playingPosition().value_or(position_); }
    void reportProgress(const AVPacket* packet);
    bool everyStreamEnded() const;
    bool frameMatchesGraph(const DecodedStream& stream, const AVFrame* frame) const;
    std::vector<DecodedStream*> streams() { return source_.streams(); }

    const Options& options_;
    Channel& channel_;
    FrameSink& sink_;
    SourceStreams source_;
    DecodedStream* video_ = nullptr;
    DecodedStream* audio_ = nullptr;
    FramePtr decoded_ = makeFrame();
    FramePtr filtered_ = makeFrame();
    PacketPtr packet_ = makePacket();
    double position_ = 0;             // in the source, from its own start
    std::optional<double> endingAt_;  // the end chosen when the sink asked to end
    // Pictures that wait for the sub-pictures shown on them (see filterFrame).
    struct HeldPicture {
        FramePtr frame;
        std::int64_t pts = 0;
        std::int64_t shifted = 0;
    };
    std::deque<HeldPicture> held_;
    double readUpTo_ = 0;   // the latest decoding time read, in seconds of the source
    double soundUpTo_ = 0;  // the same, of the sound stream
    StopReason stop_ = StopReason::EndOfSource;
    Clock::time_point nextLog_ = Clock::now();
};

bool DecodingFront::frameMatchesGraph(const DecodedStream& stream, const AVFrame* frame) const {
    if (stream.isVideo) {
        return frame->width == stream.videoFormat.width &&
               frame->height == stream.videoFormat.height &&
               frame->format == stream.videoFormat.pixelFormat;
    }
    return frame->sample_rate == stream.audioFormat.sampleRate &&
           frame->ch_layout.nb_channels == stream.audioFormat.channels &&
           frame->format == stream.audioFormat.sampleFormat;
}

Outcome DecodingFront::drainFilters(DecodedStream& stream) {
    const AVRational base = av_buffersink_get_time_base(stream.filters.sink);
    TextRenderer* text = stream.isVideo ? source_.textSubtitles() : nullptr;
    return drain([&] { return av_buffersink_get_frame(stream.filters.sink, filtered_.get()); },
                 [&] {
                     // At the output's size: the letters are drawn as sharp as it allows.
                     Outcome delivered = text ? text->burn(filtered_.get(),
                                                           source_.textTimeOf(filtered_->pts, base))
                                              : success();
                     if (delivered) {
                         delivered = stream.isVideo ? sink_.videoFrame(filtered_.get(), base)
                                                    : sink_.audioFrame(filtered_.get(), base);
                     }
                     av_frame_unref(filtered_.get());
                     return delivered;
                 },
                 "filtering failed");
}

Outcome DecodingFront::filterFrame(DecodedStream& stream, AVFrame* frame) {
    if (!stream.takesPicture(frame)) {
        return success();
    }
    std::int64_t pts = frame->best_effort_timestamp;
    if (pts == AV_NOPTS_VALUE) {
        pts = stream.nextPts;
    }
    if (pts == AV_NOPTS_VALUE) {
        return success();  // nothing to place it by
    }
    const AVRational base = stream.input->time_base;
    std::int64_t duration = 0;
    if (stream.isVideo) {
        const AVRational rate =
            stream.videoFormat.frameRate.num > 0 ? stream.videoFormat.frameRate : AVRational{25, 1};
        duration = std::max<std::int64_t>(1, av_rescale_q(1, av_inv_q(rate), base));
    } else {
        duration = av_rescale_q(frame->nb_samples, AVRational{1, frame->sample_rate}, base);
    }
    stream.nextPts = pts + duration;
    const std::int64_t shifted = pts - stream.shift;
    if (stream.endPts && shifted >= *stream.endPts) {
        return endStream(stream, *stream.endPts);
    }
    if (!frameMatchesGraph(stream, frame)) {
        return success();  // a mid-stream format change we cannot follow: skip the frame
    }
    stream.lastEnd = std::max(stream.lastEnd, shifted + duration);
    if (source_.subtitles() && source_.subtitles()->comeWithPictures() && stream.isVideo) {
        // A program stream carries a sub-picture shortly before it shows, and
        // the sound about as early, but the pictures up to a second before
        // that: a picture waits until what was read has gone past it.
        FramePtr held(av_frame_clone(frame));
        if (!held) {
            return conversionFailed("out of memory for the pictures waiting for subtitles");
        }
        held_.push_back({std::move(held), pts, shifted});
        return releasePictures(false);
    }
    return feedFrame(stream, frame, pts);
}

// Pictures held for their sub-pictures go on once the sound has been read a
// little past them or anything a second past them, or all of them (`all`)
// when the picture ends.
Outcome DecodingFront::releasePictures(bool all) {
    constexpr double kSoundLead = 0.3;
    constexpr double kPictureLead = 1.0;
    while (!held_.empty()) {
        HeldPicture& picture = held_.front();
        const double at = static_cast<double>(picture.pts) * av_q2d(video_->input->time_base);
        if (!all && at + kSoundLead >= soundUpTo_ && at + kPictureLead >= readUpTo_) {
            break;
        }
        // An end chosen meanwhile (a part cut by size) drops what lies past it.
        Outcome fed = video_->endPts && picture.shifted >= *video_->endPts
                          ? success()
                          : feedFrame(*video_, picture.frame.get(), picture.pts);
        held_.pop_front();
        if (!fed) {
            return fed;
        }
    }
    return success();
}

Outcome DecodingFront::feedFrame(DecodedStream& stream, AVFrame* frame, std::int64_t pts) {
    if (BurnedSubtitles* subtitles = source_.subtitles(); subtitles && stream.isVideo) {
        // Before any scaling: the subtitle scales with the picture.
        if (auto burned = subtitles->burn(frame, pts, stream.input->time_base); !burned) {
            return burned;
        }
    }
    frame->pts = stream.filterPts(pts);
    const int result =
        av_buffersrc_add_frame_flags(stream.filters.source, frame, AV_BUFFERSRC_FLAG_KEEP_REF);
    if (result < 0) {
        return conversionFailed(std::string("filtering failed: ") + avErrorText(result));
    }
    return drainFilters(stream);
}

Outcome DecodingFront::decodePacket(DecodedStream& stream, const AVPacket* packet) {
    // A damaged packet costs its frames, not the conversion.
    const int result = avcodec_send_packet(stream.decoder.get(), packet);
    if (result == AVERROR(ENOMEM)) {
        return conversionFailed("decoding failed: " + avErrorText(result));
    }
    return drain(
        [&] {
            // A frame the decoder could not rebuild is skipped; it goes on with the next.
            int received = avcodec_receive_frame(stream.decoder.get(), decoded_.get());
            while (received < 0 && received != AVERROR(EAGAIN) && received != AVERROR_EOF &&
                   received != AVERROR(ENOMEM)) {
                received = avcodec_receive_frame(stream.decoder.get(), decoded_.get());
            }
            return received;
        },
        [&] {
            auto filtered = stream.inputEnded ? success() : filterFrame(stream, decoded_.get());
            av_frame_unref(decoded_.get());
            return filtered;
        },
        "decoding failed");
}

Outcome DecodingFront::endStream(DecodedStream& stream, std::int64_t endPts) {
    if (stream.inputEnded) {
        return success();
    }
    if (stream.isVideo) {
        if (auto released = releasePictures(true); !released) {
            return released;
        }
    }
    stream.inputEnded = true;
    // Closing with the end time (not with a null frame) lets the constant-rate
    // filter fill the last frame's slot instead of losing it.
    const int result = av_buffersrc_close(
        stream.filters.source, av_rescale_q(endPts, stream.input->time_base, stream.filterBase),
        AV_BUFFERSRC_FLAG_PUSH);
    if (result < 0) {
        return conversionFailed(std::string("filtering failed: ") + avErrorText(result));
    }
    return drainFilters(stream);
}

// The sink is nearly full (a part cut by size): every stream ends at one
// time, so that the next part, which starts where this one ends, continues
// picture and sound alike. That time is where the stream read furthest has
// got to (on the picture's frame grid); the others read on up to it.
void DecodingFront::endStreamsTogether() {
    double end = 0;
    for (const DecodedStream* stream : streams()) {
        end =
            std::max(end, static_cast<double>(stream->lastEnd) * av_q2d(stream->input->time_base));
    }
    end = source_.onFrameGrid(end);
    endingAt_ = end;
    sink_.endAt(end);
    for (DecodedStream* stream : streams()) {
        const std::int64_t endPts = secondsToPts(end, stream->input->time_base);
        stream->endPts = stream->endPts ? std::min(*stream->endPts, endPts) : endPts;
    }
}

// A stream whose packets stay behind the end (its source stream stops, or is
// sparse) does not keep the others reading: a few seconds past the end it is
// ended where it is.
Outcome DecodingFront::endStreamsLeftBehind(const AVPacket* packet) {
    constexpr double kReadPastEnd = 5.0;
    const AVStream* stream = source_.input()->streams[packet->stream_index];
    const std::int64_t timestamp = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
    if (!endingAt_ || timestamp == AV_NOPTS_VALUE) {
        return success();
    }
    const double seconds =
        timestamp * av_q2d(stream->time_base) - source_.inputStart() - options_.start;
    if (seconds < *endingAt_ + kReadPastEnd) {
        return success();
    }
    for (DecodedStream* late : streams()) {
        if (auto ended = endStream(*late, *late->endPts); !ended) {
            return ended;
        }
    }
    return success();
}

bool DecodingFront::everyStreamEnded() const {
    return (!video_ || video_->inputEnded) && (!audio_ || audio_->inputEnded);
}

// Where a stream's input ends when the source has ended. The picture lasts
// as long as the sound: a still picture (a cover, a slide) or a picture that
// stops early is repeated until the sound ends, to the nearest frame.
std::int64_t DecodingFront::endOf(const DecodedStream& stream) const {
    const auto& plan = source_.plans().video;
    if (!stream.isVideo || !audio_ || stop_ == StopReason::Quit || !plan || !plan->constantRate) {
        return stream.lastEnd;
    }
    const double rate = av_q2d(plan->frameRate);
    const double sound = static_cast<double>(audio_->lastEnd) * av_q2d(audio_->input->time_base);
    std::int64_t end = secondsToPts(std::round(sound * rate) / rate, stream.input->time_base);
    if (stream.endPts) {
        end = std::min(end, *stream.endPts);
    }
    return std::max(stream.lastEnd, end);
}

Outcome DecodingFront::flush() {
    // The fixed order: decoders emptied, filter inputs closed, sinks drained;
    // the sink then flushes its encoders and writes the trailer.
    for (DecodedStream* stream : streams()) {
        if (!stream->inputEnded && stop_ != StopReason::Quit) {
            if (auto decoded = decodePacket(*stream, nullptr); !decoded) {
                return decoded;
            }
        }
    }
    for (DecodedStream* stream : {audio_, video_}) {
        if (stream) {
            if (auto ended = endStream(*stream, endOf(*stream)); !ended) {
                return ended;
            }
        }
    }
    return success();
}

bool DecodingFront::holdWhilePaused() {
    Command command = channel_.pollCommand(Clock::now());
    if (command == Command::Pause) {
        std::printf("paused\n");
        std::fflush(stdout);
        sink_.setPaused(true);
        while (command == Command::Pause) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            sink_.whilePaused();
            command = sink_.request() == FrameSink::Request::Quit ? Command::Quit
                                                                  : channel_.readCommand();
            // The position holds, and keeps being told, while paused.
            channel_.reportProgress(reportedPosition(), Clock::now());
        }
        sink_.setPaused(false);
        if (command == Command::Run) {
            std::printf("resumed\n");
        }
    }
    return command != Command::Quit;
}

void DecodingFront::reportProgress(const AVPacket* packet) {
    const AVStream* stream = source_.input()->streams[packet->stream_index];
    const std::int64_t timestamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
    if (timestamp != AV_NOPTS_VALUE) {
        const double seconds = timestamp * av_q2d(stream->time_base) - source_.inputStart();
        if (seconds > position_ && seconds < position_ + 3600) {
            position_ = seconds;
        }
    }
    const auto now = Clock::now();
    const double reported = reportedPosition();
    channel_.reportProgress(reported, now);
    if (now >= nextLog_) {
        nextLog_ = now + std::chrono::seconds(5);
        const std::string note = sink_.progressNote();
        std::printf("position %.1f s%s%s\n", reported, note.empty() ? "" : ", ", note.c_str());
        std::fflush(stdout);
    }
}

// One packet read and decoded; `ended` when the source has nothing more.
Outcome DecodingFront::readPacket(bool& ended) {
    const int result = av_read_frame(source_.input(), packet_.get());
    if (result == AVERROR(EAGAIN)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return success();
    }
    if (result < 0) {
        // A disc that could not be read on makes no output; the end of a
        // file, or damage past which nothing can be read, ends what was
        // read so far.
        if (auto failure = readFailure(source_.input())) {
            return *failure;
        }
        ended = true;
        return success();
    }
    source_.place(packet_.get());
    if (const std::int64_t read = packet_->dts != AV_NOPTS_VALUE ? packet_->dts : packet_->pts;
        read != AV_NOPTS_VALUE) {
        const AVStream* from = source_.input()->streams[packet_->stream_index];
        const double seconds = static_cast<double>(read) * av_q2d(from->time_base);
        readUpTo_ = std::max(readUpTo_, seconds);
        if (audio_ && from == audio_->input) {
            soundUpTo_ = std::max(soundUpTo_, seconds);
        }
    }
    if (BurnedSubtitles* subtitles = source_.subtitles()) {
        const AVStream* from = source_.input()->streams[packet_->stream_index];
        if (subtitles->wants(from)) {
            subtitles->take(from, packet_.get());
        }
    }
    Outcome decoded = endStreamsLeftBehind(packet_.get());
    DecodedStream* stream = source_.streamOf(packet_.get());
    if (decoded && stream && !stream->inputEnded) {
        reportProgress(packet_.get());
        if (stream->takesPacket(packet_.get())) {
            decoded = decodePacket(*stream, packet_.get());
        }
    }
    av_packet_unref(packet_.get());
    return decoded;
}

Outcome DecodingFront::readSource() {
    while (true) {
        if (!holdWhilePaused()) {
            if (channel_.abandoned()) {
                // Nothing of it is kept: the Job is converted again.
                return conversionFailed("the program that started this run has gone");
            }
            stop_ = StopReason::Quit;
            break;
        }
        const FrameSink::Request request = sink_.request();
        if (request == FrameSink::Request::Quit) {
            stop_ = StopReason::Quit;
            break;
        }
        if (request == FrameSink::Request::EndTogether && !endingAt_) {
            endStreamsTogether();
        }
        if (everyStreamEnded()) {
            stop_ = endingAt_ ? StopReason::SizeLimit : StopReason::EndPosition;
            break;
        }
        bool ended = false;
        if (auto read = readPacket(ended); !read) {
            return read;
        }
        if (ended) {
            stop_ = StopReason::EndOfSource;
            break;
        }
    }
    return flush();
}

// The run's end: the sink finishes, the last progress record tells where the
// output ends in the source, and the output gets its name.
ExitStatus DecodingFront::finish() {
    const SinkCounts counts = sink_.counts();
    if (counts.total() == 0) {
        // An output without a single frame plays nowhere: leave none behind.
        sink_.discard();
        if (stop_ == StopReason::Quit) {
            std::printf("quit before the first frame\n");
            channel_.writeProgress(options_.start);
            return ExitStatus::Quit;
        }
        std::printf("failed: nothing could be decoded from the source\n");
        return ExitStatus::Failed;
    }
    if (source_.plans().video && counts.videoFrames == 0 && stop_ != StopReason::Quit) {
        // A picture was asked for and none came: that file is no success.
        sink_.discard();
        std::printf("failed: no picture could be decoded for the part asked for\n");
        return ExitStatus::Failed;
    }
    const auto outputEnd = sink_.finish();
    // A sink that plays what it got may be told to quit while it does.
    if (sink_.request() == FrameSink::Request::Quit) {
        stop_ = StopReason::Quit;
    }
    const ExitStatus status = stop_ == StopReason::Quit ? ExitStatus::Quit : ExitStatus::Done;
    const double position = options_.start + (outputEnd ? *outputEnd : 0.0);
    Outcome ended = outputEnd ? sink_.end(status, position) : Outcome(outputEnd.error());
    if (!ended) {
        std::printf("failed: %s\n", ended.error().message.c_str());
        sink_.discard();
        return ended.error().code;
    }
    channel_.writeProgress(position);
    static constexpr const char* kReasons[] = {"end of the source", "end position reached",
                                               "size limit reached", "quit requested"};
    const std::string note = sink_.progressNote();
    std::printf("done: %s at %.6f s; %lld video frames, %lld audio frames%s%s\n",
                kReasons[static_cast<int>(stop_)], position,
                static_cast<long long>(counts.videoFrames),
                static_cast<long long>(counts.audioFrames), note.empty() ? "" : ", ", note.c_str());
    return status;
}

Outcome DecodingFront::start() {
    if (auto opened = source_.open(); !opened) {
        return opened;
    }
    video_ = source_.video();
    audio_ = source_.audio();
    if (auto planned = source_.plan(sink_); !planned) {
        return planned;
    }
    if (auto built = source_.buildGraphs(sink_); !built) {
        return built;
    }
    source_.seekToStart();
    return success();
}

ExitStatus DecodingFront::run() {
    channel_.writeProgress(0);
    Outcome done = start();
    if (done) {
        done = readSource();
    }
    if (!done) {
        std::printf("failed: %s\n", done.error().message.c_str());
        std::fflush(stdout);
        sink_.discard();
        return done.error().code;
    }
    return finish();
}

}  // namespace

ExitStatus runDecoding(const Options& options, Channel& channel, FrameSink& sink) {
    DecodingFront front(options, channel, sink);
    const ExitStatus status = front.run();
    std::fflush(stdout);
    return status;
}

}  // namespace zelvic