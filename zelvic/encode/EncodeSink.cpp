#include "encode/EncodeSink.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "encode/Encoders.h"
#include "encode/OutputTitle.h"
#include "front/DecodingFront.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
}
#include "platform/FileSystem.h"
#include "records/OutputFiles.h"

namespace zelvic {

struct EncodeSink::Encoded {
    CodecContextPtr encoder;
    AVStream* output = nullptr;
    std::int64_t frameTicks = 1;  // one video frame, or one packet's samples, in encoder time base
    std::int64_t lastPts = AV_NOPTS_VALUE;
    std::optional<std::int64_t> cutAt;  // nothing from here on is encoded (encoder time base)
    std::int64_t frames = 0;            // frames given to the encoder
    std::int64_t packets = 0;           // packets it gave back so far
    std::int64_t bytes = 0;
    std::int64_t sentEnd = 0;     // end of the last frame given to the encoder (encoder time base)
    std::int64_t writtenEnd = 0;  // end of the last packet that reached the file (the same)
    // Where this stream's content ends: what was given to the encoder, unless
    // the size limit dropped packets after it.
    std::int64_t end(bool packetsDropped) const {
        return packetsDropped ? std::min(sentEnd, writtenEnd) : sentEnd;
    }
};

EncodeSink::EncodeSink(const Options& options, Disk disk) : options_(options), disk_(disk) {}

EncodeSink::~EncodeSink() = default;

Result<AudioTarget> EncodeSink::audioTarget(const AudioInputFormat& input) {
    auto codec = findAudioEncoder(options_);
    if (!codec) {
        return codec.error();
    }
    audioCodec_ = *codec;
    AudioTarget target;
    target.sampleRate = supportedSampleRate(
        audioCodec_, options_.sampleRate > 0 ? options_.sampleRate : input.sampleRate);
    target.maxChannels = maxAudioChannels(options_);
    target.sampleFormat = encoderSampleFormat(audioCodec_);
    return target;
}

Outcome EncodeSink::openVideo(const VideoPlan& plan) {
    VideoEncoderInput input;
    input.width = plan.width;
    input.height = plan.height;
    input.sampleAspect = plan.sampleAspect;
    input.frameRate = plan.frameRate;
    input.globalHeader = output_->needsGlobalHeader();
    auto encoder = openVideoEncoder(options_.lavc, input);
    if (!encoder) {
        return encoder.error();
    }
    video_ = std::make_unique<Encoded>();
    video_->encoder = std::move(*encoder);
    video_->frameTicks = std::max<std::int64_t>(
        1, av_rescale_q(1, av_inv_q(plan.frameRate), video_->encoder->time_base));
    std::printf("video encoder: %s %dx%d, %lld kbit/s\n", video_->encoder->codec->name, plan.width,
                plan.height, static_cast<long long>(video_->encoder->bit_rate / 1000));
    return success();
}

Outcome EncodeSink::openAudio(const AudioPlan& plan) {
    AudioEncoderInput input;
    input.sampleRate = plan.sampleRate;
    input.channels = plan.channels;
    input.globalHeader = output_->needsGlobalHeader();
    auto encoder = openAudioEncoder(audioCodec_, options_, input);
    if (!encoder) {
        return encoder.error();
    }
    audio_ = std::make_unique<Encoded>();
    audio_->encoder = std::move(*encoder);
    audio_->frameTicks = std::max(1, audio_->encoder->frame_size);
    std::printf("audio encoder: %s %d Hz %d ch, %lld kbit/s\n", audio_->encoder->codec->name,
                plan.sampleRate, plan.channels,
                static_cast<long long>(audio_->encoder->bit_rate / 1000));
    return success();
}

// What the video encoder still holds is counted apart (pendingBytes); the
// reserve covers what is still read once the end is decided (the streams
// catch up with each other) and the estimate's error: half a second of the
// streams' rates, at most a sixteenth of the limit (an eighth below 1 MB),
// so that parts of 1 MB and more come out above 90 % of it. Whatever still would cross the limit
// is dropped by the output, which never grows past it.
void EncodeSink::setReserve() {
    std::int64_t rate = 0;
    for (const Encoded* stream : {video_.get(), audio_.get()}) {
        rate += stream ? stream->encoder->bit_rate : 0;
    }
    const std::int64_t limit = *options_.end.bytes;
    output_->setReserve(std::min(limit >= 1024 * 1024 ? limit / 16 : limit / 8, rate / 16 + 32768));
}

Outcome EncodeSink::open(const SinkStreams& streams) {
    const AVCodecID audioCodec =
        options_.audioEncoder == AudioEncoder::Mp3Lame ? AV_CODEC_ID_MP3 : AV_CODEC_ID_AAC;
    // The muxer follows the final name; the file is written under the partial one.
    const std::string muxer =
        chooseMuxer(options_, streams.video.has_value(),
                    streams.audio.has_value() || silentSoundNeeded(streams), audioCodec);
    auto output = Output::create(pelorine::partialOutputPath(options_.output), muxer,
                                 options_.end.bytes, disk_);
    if (!output) {
        return output.error();
    }
    output_.emplace(std::move(*output));
    output_->setTitle(outputTitle(options_, streams.sourceTitle));
    if (!options_.thumbnail.empty() && streams.video) {
        // The handheld's list shows a picture from a tenth of the way in.
        thumbnail_.emplace(streams.length / 10.0);
    }
    Outcome opened = success();
    if (streams.video) {
        opened = openVideo(*streams.video);
    }
    if (opened && streams.audio) {
        opened = openAudio(*streams.audio);
    } else if (opened && silentSoundNeeded(streams)) {
        opened = openSilentSound();
    }
    for (Encoded* stream : {video_.get(), audio_.get()}) {
        if (opened && stream) {
            auto added = output_->addStream(stream->encoder.get(), options_.fourcc);
            if (!added) {
                return added.error();
            }
            stream->output = *added;
        }
    }
    if (!opened) {
        return opened;
    }
    if (options_.end.bytes) {
        setReserve();
    }
    std::printf("output: \"%s\" (%s)\n", options_.output.c_str(), muxer.c_str());
    return output_->start();
}

// The handheld's own container holds exactly one picture and one sound
// stream: a source without sound gets a silent track as long as its picture.
bool EncodeSink::silentSoundNeeded(const SinkStreams& streams) const {
    const bool soundAsked = !options_.noSound && options_.audioEncoder != AudioEncoder::Unset;
    return streams.video && !streams.audio && soundAsked && options_.container == Container::Lavf &&
           options_.lavfFormat == "psp";
}

Outcome EncodeSink::openSilentSound() {
    auto codec = findAudioEncoder(options_);
    if (!codec) {
        return codec.error();
    }
    audioCodec_ = *codec;
    AudioPlan plan;
    plan.sampleRate =
        supportedSampleRate(audioCodec_, options_.sampleRate > 0 ? options_.sampleRate : 44100);
    plan.channels = std::min(2, maxAudioChannels(options_));
    std::printf("sound: none in the source; a silent track as long as the picture\n");
    silent_ = true;
    return openAudio(plan);
}

// Silence from where the sound track ends up to `end` (audio time base), in
// whole encoder frames; the last one, at the end, may be shorter.
Outcome EncodeSink::addSilence(std::int64_t end, bool last) {
    const AVCodecContext* encoder = audio_->encoder.get();
    const int frameSize = encoder->frame_size > 0 ? encoder->frame_size : 1024;
    while (audio_->sentEnd + (last ? 0 : frameSize) < end) {
        FramePtr frame = makeFrame();
        frame->nb_samples =
            static_cast<int>(std::min<std::int64_t>(frameSize, end - audio_->sentEnd));
        frame->format = encoder->sample_fmt;
        frame->sample_rate = encoder->sample_rate;
        av_channel_layout_copy(&frame->ch_layout, &encoder->ch_layout);
        if (av_frame_get_buffer(frame.get(), 0) < 0) {
            return conversionFailed("out of memory for silence");
        }
        av_samples_set_silence(frame->extended_data, 0, frame->nb_samples,
                               encoder->ch_layout.nb_channels, encoder->sample_fmt);
        frame->pts = audio_->sentEnd;
        const std::int64_t before = audio_->sentEnd;
        if (auto encoded = encode(*audio_, frame.get()); !encoded) {
            return encoded;
        }
        if (audio_->sentEnd == before) {
            break;  // cut off by the end of the part
        }
    }
    return success();
}

Outcome EncodeSink::addSilenceToPicture(bool last) {
    if (!silent_) {
        return success();
    }
    return addSilence(
        av_rescale_q(video_->sentEnd, video_->encoder->time_base, audio_->encoder->time_base),
        last);
}

int EncodeSink::audioFrameSize() const {
    // Encoders without variable frame sizes take exactly frame_size samples.
    if (!audio_ || audio_->encoder->frame_size <= 0 ||
        (audio_->encoder->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE)) {
        return 0;
    }
    return audio_->encoder->frame_size;
}

Outcome EncodeSink::writePackets(Encoded& stream) {
    while (true) {
        const int result = avcodec_receive_packet(stream.encoder.get(), packet_.get());
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) {
            return success();
        }
        if (result < 0) {
            return conversionFailed(std::string("encoding failed: ") + avErrorText(result));
        }
        ++stream.packets;
        stream.bytes += packet_->size;
        const std::int64_t end =
            packet_->pts + (packet_->duration > 0 ? packet_->duration : stream.frameTicks);
        auto written = output_->write(packet_.get(), stream.output, stream.encoder->time_base);
        if (!written) {
            return written;
        }
        if (!output_->full()) {
            stream.writtenEnd = std::max(stream.writtenEnd, end);
        }
    }
}

Outcome EncodeSink::encode(Encoded& stream, AVFrame* frame) {
    if (frame) {
        if (stream.cutAt) {
            if (frame->pts >= *stream.cutAt) {
                return success();
            }
            if (stream.encoder->codec_type == AVMEDIA_TYPE_AUDIO &&
                frame->pts + frame->nb_samples > *stream.cutAt) {
                frame->nb_samples = static_cast<int>(*stream.cutAt - frame->pts);
            }
        }
        if (stream.lastPts != AV_NOPTS_VALUE && frame->pts <= stream.lastPts &&
            stream.encoder->codec_type == AVMEDIA_TYPE_VIDEO) {
            return success();  // two source frames in one output slot
        }
        stream.lastPts = frame->pts;
        const bool audio = stream.encoder->codec_type == AVMEDIA_TYPE_AUDIO;
        stream.sentEnd =
            std::max(stream.sentEnd, frame->pts + (audio ? frame->nb_samples : stream.frameTicks));
        frame->pict_type = AV_PICTURE_TYPE_NONE;
        ++stream.frames;
    }
    const int result = avcodec_send_frame(stream.encoder.get(), frame);
    if (result < 0 && result != AVERROR_EOF) {
        return conversionFailed(std::string("encoding failed: ") + avErrorText(result));
    }
    return writePackets(stream);
}

Outcome EncodeSink::videoFrame(AVFrame* frame, AVRational timeBase) {
    if (thumbnail_) {
        thumbnail_->offer(frame, static_cast<double>(frame->pts) * av_q2d(timeBase));
    }
    frame->pts = av_rescale_q(frame->pts, timeBase, video_->encoder->time_base);
    if (auto encoded = encode(*video_, frame); !encoded) {
        return encoded;
    }
    return addSilenceToPicture(false);
}

Outcome EncodeSink::audioFrame(AVFrame* frame, AVRational timeBase) {
    frame->pts = av_rescale_q(frame->pts, timeBase, audio_->encoder->time_base);
    return encode(*audio_, frame);
}

// What the video encoder holds (x264 looks ahead many frames), at the size
// of the packets it gave so far.
std::int64_t EncodeSink::pendingBytes() const {
    if (!video_ || video_->packets == 0) {
        return 0;
    }
    const std::int64_t pending = std::max<std::int64_t>(0, video_->frames - video_->packets);
    return pending * (video_->bytes / video_->packets);
}

FrameSink::Request EncodeSink::request() const {
    return output_->nearlyFull(pendingBytes()) ? Request::EndTogether : Request::None;
}

void EncodeSink::endAt(double seconds) {
    for (Encoded* stream : {video_.get(), audio_.get()}) {
        if (stream) {
            stream->cutAt = static_cast<std::int64_t>(
                std::llround(seconds / av_q2d(stream->encoder->time_base)));
        }
    }
}

Result<double> EncodeSink::finish() {
    if (auto added = addSilenceToPicture(true); !added) {
        return added.error();
    }
    double end = 0;
    for (Encoded* stream : {video_.get(), audio_.get()}) {
        if (!stream) {
            continue;
        }
        if (auto flushed = encode(*stream, nullptr); !flushed) {
            return flushed.error();
        }
        end = std::max(end, static_cast<double>(stream->end(output_->full())) *
                                av_q2d(stream->encoder->time_base));
    }
    if (auto finished = output_->finish(); !finished) {
        return finished.error();
    }
    return end;
}

// Only a whole output gets its picture; a missing picture costs the
// conversion nothing, the log says why.
void EncodeSink::writeThumbnail() {
    if (!options_.thumbnail.empty() && !thumbnail_) {
        std::printf("thumbnail: none, the output has no picture\n");
        return;
    }
    if (thumbnail_) {
        const Outcome written = thumbnail_->write(options_.thumbnail, disk_);
        std::printf("thumbnail: %s\n", written ? ("\"" + options_.thumbnail + "\"").c_str()
                                               : written.error().message.c_str());
    }
}

Outcome EncodeSink::end(ExitStatus status, double position) {
    if (status == ExitStatus::Done) {
        writeThumbnail();
    }
    const std::string name = status == ExitStatus::Quit
                                 ? pelorine::stoppedOutputPath(options_.output, position)
                                 : options_.output;
    const auto renamed =
        disk_.files.renameDurably(pelorine::partialOutputPath(options_.output), name);
    if (!renamed) {
        return conversionFailed(renamed.message());
    }
    std::printf("output: \"%s\"\n", name.c_str());
    return success();
}

void EncodeSink::discard() {
    if (output_) {
        output_->discard();
    }
}

SinkCounts EncodeSink::counts() const {
    SinkCounts counts;
    counts.videoFrames = video_ ? video_->frames : 0;
    counts.audioFrames = audio_ ? audio_->frames : 0;
    return counts;
}

std::string EncodeSink::progressNote() const {
    return output_ ? std::to_string(output_->bytesWritten()) + " bytes written" : std::string();
}

ExitStatus runEncode(const Options& options, Channel& channel, Disk disk) {
    EncodeSink sink(options, disk);
    return runDecoding(options, channel, sink);
}

}  // namespace zelvic
