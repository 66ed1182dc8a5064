#include "Pipeline.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <thread>

#include "Encoders.h"
#include "Filters.h"
#include "Input.h"
#include "Output.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/channel_layout.h>
#include <libavutil/pixdesc.h>
}

namespace zelvic {
namespace {

using pelorine::channel::Command;
using Clock = std::chrono::steady_clock;

// Everything about one stream on its way from the source to the output.
struct StreamContext {
    AVStream* input = nullptr;
    CodecContextPtr decoder;
    FilterGraph filters;
    CodecContextPtr encoder;
    AVStream* output = nullptr;
    VideoInputFormat videoFormat;  // what the filter graph was built for
    AudioInputFormat audioFormat;
    std::int64_t shift = 0;              // the start asked for, in input time base
    std::int64_t tolerance = 0;          // kFrameTimeTolerance in input time base
    std::optional<std::int64_t> endPts;  // the end asked for, shifted, input time base
    std::int64_t lastEnd = 0;            // end of the last frame fed, shifted
    std::int64_t nextPts = AV_NOPTS_VALUE;
    std::int64_t lastEncodedPts = AV_NOPTS_VALUE;
    std::optional<std::int64_t> cutAt;  // nothing from here on is encoded (encoder time base)
    bool waitForKeyFrame = false;
    bool inputEnded = false;  // nothing more goes into the filters
    std::int64_t framesEncoded = 0;
    std::int64_t packetsOut = 0;  // what the encoder gave back so far
    std::int64_t bytesOut = 0;
};

// Pulls results from a producer (decoder, filter sink, encoder) until it needs
// more input or has ended; both are normal flow, not errors.
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

class Encoding {
public:
    Encoding(const Options& options, Channel& channel) : options_(options), channel_(channel) {}

    ExitCode run();

private:
    Outcome openSource();
    Outcome openDecoder(StreamContext& stream);
    Outcome setUpVideo();
    Outcome setUpAudio();
    Outcome openOutput();
    void seekToStart();
    Outcome transcode();
    Outcome decodePacket(StreamContext& stream, const AVPacket* packet);
    Outcome filterFrame(StreamContext& stream, AVFrame* frame);
    Outcome drainFilters(StreamContext& stream);
    Outcome encodeFrame(StreamContext& stream, AVFrame* frame);
    Outcome endStream(StreamContext& stream, std::int64_t endPts);
    Outcome endStreamsTogether();
    std::int64_t pendingBytes() const;
    Outcome flush();
    bool holdWhilePaused();
    void reportProgress(const AVPacket* packet);
    bool everyStreamEnded() const;
    bool frameMatchesGraph(const StreamContext& stream, const AVFrame* frame) const;

    const Options& options_;
    Channel& channel_;
    InputContextPtr input_;
    std::optional<StreamContext> video_;
    std::optional<StreamContext> audio_;
    std::optional<Output> output_;
    FramePtr decoded_ = makeFrame();
    FramePtr filtered_ = makeFrame();
    PacketPtr packet_ = makePacket();
    PacketPtr encoded_ = makePacket();
    double inputStart_ = 0;
    double position_ = 0;
    StopReason stop_ = StopReason::EndOfSource;
    Clock::time_point nextLog_ = Clock::now();
};

Outcome Encoding::openSource() {
    auto input = openInput(options_, {});
    if (!input) {
        return input.error();
    }
    input_ = std::move(*input);
    inputStart_ = inputStartSeconds(input_.get());
    std::printf("source: \"%s\" (%s), %.3f s\n", options_.source.c_str(), input_->iformat->name,
                inputLengthSeconds(input_.get()));

    if (options_.videoEncoder == VideoEncoder::Lavc) {
        const int index = av_find_best_stream(input_.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        if (index >= 0 && !(input_->streams[index]->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
            video_.emplace();
            video_->input = input_->streams[index];
        }
    }
    const bool wantAudio = !options_.noSound && options_.audioEncoder != AudioEncoder::Unset;
    if (wantAudio) {
        // Engine audio ids count the audio streams in stream order; without
        // -aid the first one plays, as it does in the preview.
        const int wanted = std::max(0, options_.audioId);
        int index = -1;
        int seen = 0;
        for (unsigned i = 0; i < input_->nb_streams && index < 0; ++i) {
            if (input_->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO &&
                seen++ == wanted) {
                index = static_cast<int>(i);
            }
        }
        if (index < 0) {
            index = av_find_best_stream(input_.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
        }
        if (index >= 0) {
            audio_.emplace();
            audio_->input = input_->streams[index];
        }
    }
    if (!video_ && !audio_) {
        return conversionFailed("the source holds none of the streams asked for");
    }
    if (options_.container == Container::RawAudio && !audio_) {
        return conversionFailed("the source holds no audio");
    }
    // Streams we do not convert are not even read where the demuxer can skip them.
    for (unsigned i = 0; i < input_->nb_streams; ++i) {
        const bool used = (video_ && video_->input->index == static_cast<int>(i)) ||
                          (audio_ && audio_->input->index == static_cast<int>(i));
        input_->streams[i]->discard = used ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
    for (StreamContext* stream : {video_ ? &*video_ : nullptr, audio_ ? &*audio_ : nullptr}) {
        if (stream) {
            if (auto opened = openDecoder(*stream); !opened) {
                return opened;
            }
        }
    }
    return success();
}

Outcome Encoding::openDecoder(StreamContext& stream) {
    const AVCodecParameters* parameters = stream.input->codecpar;
    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    if (!codec) {
        return conversionFailed(std::string("no decoder for ") +
                                avcodec_get_name(parameters->codec_id));
    }
    stream.decoder.reset(avcodec_alloc_context3(codec));
    if (!stream.decoder) {
        return conversionFailed("out of memory for a decoder");
    }
    int result = avcodec_parameters_to_context(stream.decoder.get(), parameters);
    if (result >= 0) {
        stream.decoder->pkt_timebase = stream.input->time_base;
        stream.decoder->thread_count = 0;
        result = avcodec_open2(stream.decoder.get(), codec, nullptr);
    }
    if (result < 0) {
        return conversionFailed(std::string("cannot open the ") + codec->name +
                                " decoder: " + avErrorText(result));
    }
    const AVRational base = stream.input->time_base;
    stream.shift = av_rescale_q(
        static_cast<std::int64_t>(std::llround((inputStart_ + options_.start) * AV_TIME_BASE)),
        AV_TIME_BASE_Q, base);
    stream.tolerance = av_rescale_q(static_cast<std::int64_t>(kFrameTimeTolerance * AV_TIME_BASE),
                                    AV_TIME_BASE_Q, base);
    if (options_.end.seconds) {
        stream.endPts = av_rescale_q(
            static_cast<std::int64_t>(std::llround(*options_.end.seconds * AV_TIME_BASE)),
            AV_TIME_BASE_Q, base);
    }
    return success();
}

Outcome Encoding::setUpVideo() {
    StreamContext& stream = *video_;
    const AVCodecContext* decoder = stream.decoder.get();
    if (decoder->width <= 0 || decoder->height <= 0 || decoder->pix_fmt == AV_PIX_FMT_NONE) {
        return conversionFailed("the video stream has no usable picture size or format");
    }
    VideoInputFormat& format = stream.videoFormat;
    format.width = decoder->width;
    format.height = decoder->height;
    format.pixelFormat = decoder->pix_fmt;
    format.sampleAspect = av_guess_sample_aspect_ratio(input_.get(), stream.input, nullptr);
    format.timeBase = stream.input->time_base;
    format.frameRate = av_guess_frame_rate(input_.get(), stream.input, nullptr);
    const VideoPlan plan = planVideo(options_.videoFilters, options_.outputFps, format);

    VideoEncoderInput encoderInput;
    encoderInput.width = plan.width;
    encoderInput.height = plan.height;
    encoderInput.sampleAspect = plan.sampleAspect;
    encoderInput.frameRate = plan.frameRate;
    encoderInput.globalHeader = output_->needsGlobalHeader();
    auto encoder = openVideoEncoder(options_.lavc, encoderInput);
    if (!encoder) {
        return encoder.error();
    }
    stream.encoder = std::move(*encoder);
    auto filters = buildVideoGraph(format, plan.description);
    if (!filters) {
        return filters.error();
    }
    stream.filters = std::move(*filters);
    std::printf("video: %s %dx%d → %s %dx%d at %d/%d fps, %lld kbit/s (%s)\n",
                avcodec_get_name(decoder->codec_id), format.width, format.height,
                stream.encoder->codec->name, plan.width, plan.height, plan.frameRate.num,
                plan.frameRate.den, static_cast<long long>(stream.encoder->bit_rate / 1000),
                plan.description.c_str());
    return success();
}

Outcome Encoding::setUpAudio() {
    StreamContext& stream = *audio_;
    const AVCodecContext* decoder = stream.decoder.get();
    if (decoder->sample_rate <= 0 || decoder->ch_layout.nb_channels <= 0 ||
        decoder->sample_fmt == AV_SAMPLE_FMT_NONE) {
        return conversionFailed("the audio stream has no usable format");
    }
    AudioInputFormat& format = stream.audioFormat;
    format.sampleRate = decoder->sample_rate;
    format.channels = decoder->ch_layout.nb_channels;
    format.sampleFormat = decoder->sample_fmt;
    format.timeBase = stream.input->time_base;
    if (decoder->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
        format.layout = layoutName(format.channels);
    } else {
        char text[128] = {};
        av_channel_layout_describe(&decoder->ch_layout, text, sizeof text);
        format.layout = text;
    }

    auto codec = findAudioEncoder(options_);
    if (!codec) {
        return codec.error();
    }
    AudioTarget target;
    target.sampleRate = supportedSampleRate(
        *codec, options_.sampleRate > 0 ? options_.sampleRate : format.sampleRate);
    target.maxChannels = maxAudioChannels(options_);
    target.sampleFormat = encoderSampleFormat(*codec);
    target.length = options_.end.seconds;
    const AudioPlan plan = planAudio(options_.audioFilters, format, target);

    AudioEncoderInput encoderInput;
    encoderInput.sampleRate = plan.sampleRate;
    encoderInput.channels = plan.channels;
    encoderInput.globalHeader = output_->needsGlobalHeader();
    auto encoder = openAudioEncoder(*codec, options_, encoderInput);
    if (!encoder) {
        return encoder.error();
    }
    stream.encoder = std::move(*encoder);
    auto filters = buildAudioGraph(format, plan.description);
    if (!filters) {
        return filters.error();
    }
    stream.filters = std::move(*filters);
    // Encoders without variable frame sizes take exactly frame_size samples.
    if (stream.encoder->frame_size > 0 &&
        !(stream.encoder->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE)) {
        av_buffersink_set_frame_size(stream.filters.sink,
                                     static_cast<unsigned>(stream.encoder->frame_size));
    }
    std::printf("audio: %s %d Hz %d ch → %s %d Hz %d ch, %lld kbit/s (%s)\n",
                avcodec_get_name(decoder->codec_id), format.sampleRate, format.channels,
                stream.encoder->codec->name, plan.sampleRate, plan.channels,
                static_cast<long long>(stream.encoder->bit_rate / 1000), plan.description.c_str());
    return success();
}

Outcome Encoding::openOutput() {
    const AVCodecID audioCodec =
        options_.audioEncoder == AudioEncoder::Mp3Lame ? AV_CODEC_ID_MP3 : AV_CODEC_ID_AAC;
    const std::string muxer =
        chooseMuxer(options_, video_.has_value(), audio_.has_value(), audioCodec);
    auto output = Output::create(options_.output, muxer, options_.end.bytes);
    if (!output) {
        return output.error();
    }
    output_.emplace(std::move(*output));
    if (video_) {
        if (auto ready = setUpVideo(); !ready) {
            return ready;
        }
    }
    if (audio_) {
        if (auto ready = setUpAudio(); !ready) {
            return ready;
        }
    }
    for (StreamContext* stream : {video_ ? &*video_ : nullptr, audio_ ? &*audio_ : nullptr}) {
        if (stream) {
            auto added = output_->addStream(stream->encoder.get(), options_.fourcc);
            if (!added) {
                return added.error();
            }
            stream->output = *added;
        }
    }
    if (options_.end.bytes) {
        // Two seconds of the streams' rates cover what the encoders still hold
        // (x264 looks ahead) when the end is decided; a small limit keeps most
        // of its room for the picture and is cut hard instead.
        std::int64_t rate = 0;
        for (const StreamContext* stream :
             {video_ ? &*video_ : nullptr, audio_ ? &*audio_ : nullptr}) {
            rate += stream ? stream->encoder->bit_rate : 0;
        }
        output_->setReserve(std::min(*options_.end.bytes / 8, 2 * rate / 8 + 65536));
    }
    std::printf("output: \"%s\" (%s)\n", options_.output.c_str(), muxer.c_str());
    return output_->start();
}

void Encoding::seekToStart() {
    if (options_.start <= 0) {
        return;
    }
    // Containers without an index (MPEG program and transport streams) land
    // somewhere before a key frame: go back further, decode and drop.
    const std::string_view name = input_->iformat->name;
    const bool indexed = name.find("mpeg") == std::string_view::npos;
    const double margin = indexed ? 0.0 : 3.0;
    const double target = std::max(inputStart_, inputStart_ + options_.start - margin);
    const auto timestamp = static_cast<std::int64_t>(std::llround(target * AV_TIME_BASE));
    const int result = avformat_seek_file(input_.get(), -1, INT64_MIN, timestamp, timestamp, 0);
    if (result < 0) {
        std::printf("seek: cannot seek (%s); decoding from the start\n",
                    avErrorText(result).c_str());
        return;
    }
    if (video_) {
        video_->waitForKeyFrame = true;
    }
}

bool Encoding::frameMatchesGraph(const StreamContext& stream, const AVFrame* frame) const {
    if (&stream == (video_ ? &*video_ : nullptr)) {
        return frame->width == stream.videoFormat.width &&
               frame->height == stream.videoFormat.height &&
               frame->format == stream.videoFormat.pixelFormat;
    }
    return frame->sample_rate == stream.audioFormat.sampleRate &&
           frame->ch_layout.nb_channels == stream.audioFormat.channels &&
           frame->format == stream.audioFormat.sampleFormat;
}

Outcome Encoding::encodeFrame(StreamContext& stream, AVFrame* frame) {
    if (frame) {
        const AVRational sinkBase = av_buffersink_get_time_base(stream.filters.sink);
        frame->pts = av_rescale_q(frame->pts, sinkBase, stream.encoder->time_base);
        if (stream.cutAt) {
            if (frame->pts >= *stream.cutAt) {
                return success();
            }
            if (stream.encoder->codec_type == AVMEDIA_TYPE_AUDIO &&
                frame->pts + frame->nb_samples > *stream.cutAt) {
                frame->nb_samples = static_cast<int>(*stream.cutAt - frame->pts);
            }
        }
        if (stream.lastEncodedPts != AV_NOPTS_VALUE && frame->pts <= stream.lastEncodedPts &&
            stream.encoder->codec_type == AVMEDIA_TYPE_VIDEO) {
            return success();  // two source frames in one output slot
        }
        stream.lastEncodedPts = frame->pts;
        frame->pict_type = AV_PICTURE_TYPE_NONE;
        ++stream.framesEncoded;
    }
    const int result = avcodec_send_frame(stream.encoder.get(), frame);
    if (result < 0 && result != AVERROR_EOF) {
        return conversionFailed(std::string("encoding failed: ") + avErrorText(result));
    }
    return drain([&] { return avcodec_receive_packet(stream.encoder.get(), encoded_.get()); },
                 [&] {
                     ++stream.packetsOut;
                     stream.bytesOut += encoded_->size;
                     return output_->write(encoded_.get(), stream.output,
                                           stream.encoder->time_base);
                 },
                 "encoding failed");
}

Outcome Encoding::drainFilters(StreamContext& stream) {
    return drain([&] { return av_buffersink_get_frame(stream.filters.sink, filtered_.get()); },
                 [&] {
                     auto encoded = encodeFrame(stream, filtered_.get());
                     av_frame_unref(filtered_.get());
                     return encoded;
                 },
                 "filtering failed");
}

Outcome Encoding::filterFrame(StreamContext& stream, AVFrame* frame) {
    const bool isVideo = stream.decoder->codec_type == AVMEDIA_TYPE_VIDEO;
    if (stream.waitForKeyFrame) {
        if (!frame->key_frame && frame->pict_type != AV_PICTURE_TYPE_I) {
            return success();
        }
        stream.waitForKeyFrame = false;
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
    if (isVideo) {
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
    frame->pts = isVideo ? shifted - stream.tolerance : shifted;
    stream.lastEnd = std::max(stream.lastEnd, shifted + duration);
    const int result =
        av_buffersrc_add_frame_flags(stream.filters.source, frame, AV_BUFFERSRC_FLAG_KEEP_REF);
    if (result < 0) {
        return conversionFailed(std::string("filtering failed: ") + avErrorText(result));
    }
    return drainFilters(stream);
}

Outcome Encoding::decodePacket(StreamContext& stream, const AVPacket* packet) {
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

Outcome Encoding::endStream(StreamContext& stream, std::int64_t endPts) {
    if (stream.inputEnded) {
        return success();
    }
    stream.inputEnded = true;
    // Closing with the end time (not with a null frame) lets the constant-rate
    // filter fill the last frame's slot instead of losing it.
    const int result = av_buffersrc_close(stream.filters.source, endPts, AV_BUFFERSRC_FLAG_PUSH);
    if (result < 0) {
        return conversionFailed(std::string("filtering failed: ") + avErrorText(result));
    }
    return drainFilters(stream);
}

// What the video encoder holds (x264 looks ahead many frames), at the size
// of the packets it gave so far.
std::int64_t Encoding::pendingBytes() const {
    if (!video_ || video_->packetsOut == 0) {
        return 0;
    }
    const std::int64_t pending =
        std::max<std::int64_t>(0, video_->framesEncoded - video_->packetsOut);
    return pending * (video_->bytesOut / video_->packetsOut);
}

// A part cut by size ends its audio where its picture ends, so that the next
// part, which starts at this one's length, continues both seamlessly.
Outcome Encoding::endStreamsTogether() {
    // The frames still inside the video decoder come out first; they were
    // read along with audio that is already in the file.
    if (video_ && !video_->inputEnded) {
        if (auto decoded = decodePacket(*video_, nullptr); !decoded) {
            return decoded;
        }
    }
    double end = 0;
    for (const StreamContext* stream : {video_ ? &*video_ : nullptr, audio_ ? &*audio_ : nullptr}) {
        if (stream) {
            end = std::max(end,
                           static_cast<double>(stream->lastEnd) * av_q2d(stream->input->time_base));
        }
    }
    for (StreamContext* stream : {video_ ? &*video_ : nullptr, audio_ ? &*audio_ : nullptr}) {
        if (!stream) {
            continue;
        }
        const AVRational base = stream->input->time_base;
        const auto endPts = static_cast<std::int64_t>(std::llround(end / av_q2d(base)));
        // What was read ahead of the end is still cut off before the encoder.
        stream->cutAt =
            static_cast<std::int64_t>(std::llround(end / av_q2d(stream->encoder->time_base)));
        if (auto ended = endStream(*stream, endPts); !ended) {
            return ended;
        }
    }
    return success();
}

bool Encoding::everyStreamEnded() const {
    return (!video_ || video_->inputEnded) && (!audio_ || audio_->inputEnded);
}

Outcome Encoding::flush() {
    for (StreamContext* stream : {video_ ? &*video_ : nullptr, audio_ ? &*audio_ : nullptr}) {
        if (!stream) {
            continue;
        }
        // The fixed order: decoder emptied, filter input closed, sink drained,
        // encoder flushed and drained; the trailer follows.
        if (!stream->inputEnded && stop_ != StopReason::Quit && stop_ != StopReason::SizeLimit) {
            if (auto decoded = decodePacket(*stream, nullptr); !decoded) {
                return decoded;
            }
        }
        if (auto ended = endStream(*stream, stream->lastEnd); !ended) {
            return ended;
        }
        if (auto flushed = encodeFrame(*stream, nullptr); !flushed) {
            return flushed;
        }
    }
    return output_->finish();
}

bool Encoding::holdWhilePaused() {
    Command command = channel_.pollCommand(Clock::now());
    if (command == Command::Pause) {
        std::printf("paused\n");
        std::fflush(stdout);
        while (command == Command::Pause) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            command = channel_.readCommand();
            // The position holds, and keeps being told, while paused.
            channel_.reportProgress(position_, Clock::now());
        }
        if (command == Command::Run) {
            std::printf("resumed\n");
        }
    }
    return command != Command::Quit;
}

void Encoding::reportProgress(const AVPacket* packet) {
    const AVStream* stream = input_->streams[packet->stream_index];
    const std::int64_t timestamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
    if (timestamp != AV_NOPTS_VALUE) {
        const double seconds = timestamp * av_q2d(stream->time_base) - inputStart_;
        if (seconds > position_ && seconds < position_ + 3600) {
            position_ = seconds;
        }
    }
    const auto now = Clock::now();
    channel_.reportProgress(position_, now);
    if (now >= nextLog_) {
        nextLog_ = now + std::chrono::seconds(5);
        std::printf("position %.1f s, %lld bytes written\n", position_,
                    static_cast<long long>(output_->bytesWritten()));
        std::fflush(stdout);
    }
}

Outcome Encoding::transcode() {
    while (true) {
        if (!holdWhilePaused()) {
            stop_ = StopReason::Quit;
            break;
        }
        if (output_->nearlyFull(pendingBytes())) {
            stop_ = StopReason::SizeLimit;
            if (auto ended = endStreamsTogether(); !ended) {
                return ended;
            }
            break;
        }
        if (everyStreamEnded()) {
            stop_ = StopReason::EndPosition;
            break;
        }
        const int result = av_read_frame(input_.get(), packet_.get());
        if (result == AVERROR(EAGAIN)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        if (result < 0) {
            // The end of the file, or damage past which nothing can be read:
            // either way what was read so far makes the output.
            stop_ = StopReason::EndOfSource;
            break;
        }
        StreamContext* stream = nullptr;
        if (video_ && packet_->stream_index == video_->input->index) {
            stream = &*video_;
        } else if (audio_ && packet_->stream_index == audio_->input->index) {
            stream = &*audio_;
        }
        Outcome decoded = success();
        if (stream && !stream->inputEnded) {
            reportProgress(packet_.get());
            decoded = decodePacket(*stream, packet_.get());
        }
        av_packet_unref(packet_.get());
        if (!decoded) {
            return decoded;
        }
    }
    return flush();
}

ExitCode Encoding::run() {
    channel_.writeProgress(0);
    auto fail = [&](const Error& error) {
        std::printf("failed: %s\n", error.message.c_str());
        std::fflush(stdout);
        if (output_) {
            output_->discard();
        }
        return error.code;
    };
    if (auto opened = openSource(); !opened) {
        return fail(opened.error());
    }
    if (auto opened = openOutput(); !opened) {
        return fail(opened.error());
    }
    seekToStart();
    if (auto done = transcode(); !done) {
        return fail(done.error());
    }
    const std::int64_t frames =
        (video_ ? video_->framesEncoded : 0) + (audio_ ? audio_->framesEncoded : 0);
    if (frames == 0) {
        // An output without a single frame plays nowhere: leave none behind.
        if (stop_ == StopReason::Quit) {
            std::printf("quit before the first frame\n");
            output_->discard();
            return ExitCode::Quit;
        }
        return fail(conversionFailed("nothing could be decoded from the source"));
    }
    channel_.writeProgress(position_);
    static constexpr const char* kReasons[] = {"end of the source", "end position reached",
                                               "size limit reached", "quit requested"};
    std::printf("done: %s; %lld video frames, %lld audio frames, %lld bytes\n",
                kReasons[static_cast<int>(stop_)],
                static_cast<long long>(video_ ? video_->framesEncoded : 0),
                static_cast<long long>(audio_ ? audio_->framesEncoded : 0),
                static_cast<long long>(output_->bytesWritten()));
    return stop_ == StopReason::Quit ? ExitCode::Quit : ExitCode::Done;
}

}  // namespace

ExitCode runEncode(const Options& options, Channel& channel) {
    Encoding encoding(options, channel);
    return encoding.run();
}

}  // namespace zelvic
