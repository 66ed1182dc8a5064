#include "encode/Output.h"

#include <algorithm>
#include <cstdio>

#include "encode/OutputTitle.h"
#include "platform/FileSystem.h"

namespace zelvic {
namespace {

bool endsWithNoCase(const std::string& text, std::string_view suffix) {
    if (text.size() < suffix.size()) {
        return false;
    }
    return std::equal(suffix.begin(), suffix.end(), text.end() - suffix.size(),
                      [](char a, char b) { return std::tolower(a) == std::tolower(b); });
}

}  // namespace

std::string chooseMuxer(const Options& options, bool hasVideo, bool hasAudio,
                        AVCodecID audioCodec) {
    if (options.container == Container::RawAudio) {
        // The file should be what its name says: an .mp4 or .m4a name gets an
        // audio-only MP4 rather than a bare stream.
        if (endsWithNoCase(options.output, ".mp4") || endsWithNoCase(options.output, ".m4a")) {
            return "mp4";
        }
        return audioCodec == AV_CODEC_ID_MP3 ? "mp3" : "adts";
    }
    // The handheld's own flavour holds exactly one video and one audio stream.
    if (options.lavfFormat == "psp" && !(hasVideo && hasAudio)) {
        return "mp4";
    }
    return options.lavfFormat;
}

std::int64_t containerOverhead(const std::string& muxer, std::int64_t packets) {
    if (muxer == "mp3") {
        return 0;
    }
    if (muxer == "adts") {
        return 7 * packets;  // the header in front of every frame
    }
    // MP4 family: file, movie and track headers, then per sample its size, its
    // chunk offset (worst case a chunk per sample), time and sync entries.
    return 8192 + 20 * packets;
}

Result<Output> Output::create(const std::string& path, const std::string& muxer,
                              std::optional<std::int64_t> sizeLimit, Disk disk) {
    Output output(disk);
    AVFormatContext* raw = nullptr;
    const int result = avformat_alloc_output_context2(&raw, nullptr, muxer.c_str(), path.c_str());
    if (result < 0 || !raw) {
        return conversionFailed("no muxer \"" + muxer + "\": " + avErrorText(result));
    }
    output.context_.reset(raw);
    output.path_ = path;
    output.muxer_ = muxer;
    output.sizeLimit_ = sizeLimit;
    return output;
}

Output::~Output() {
    if (context_ && created_ && !finished_) {
        discard();
    }
}

bool Output::needsGlobalHeader() const {
    return (context_->oformat->flags & AVFMT_GLOBALHEADER) != 0;
}

Result<AVStream*> Output::addStream(const AVCodecContext* encoder, const std::string& fourcc) {
    AVStream* stream = avformat_new_stream(context_.get(), nullptr);
    if (!stream) {
        return conversionFailed("out of memory for an output stream");
    }
    int result = avcodec_parameters_from_context(stream->codecpar, encoder);
    if (result < 0) {
        return conversionFailed("cannot describe an output stream: " + avErrorText(result));
    }
    stream->time_base = encoder->time_base;
    stream->codecpar->codec_tag = 0;
    if (fourcc.size() == 4 && encoder->codec_type == AVMEDIA_TYPE_VIDEO &&
        context_->oformat->codec_tag) {
        const unsigned tag = MKTAG(fourcc[0], fourcc[1], fourcc[2], fourcc[3]);
        if (av_codec_get_id(context_->oformat->codec_tag, tag) == encoder->codec_id) {
            stream->codecpar->codec_tag = tag;
        }
    }
    if (encoder->codec_type == AVMEDIA_TYPE_VIDEO) {
        stream->sample_aspect_ratio = encoder->sample_aspect_ratio;
        stream->avg_frame_rate = encoder->framerate;
    }
    return stream;
}

void Output::setTitle(const std::string& title) {
    title_ = cleanTitle(title);
    if (title_.empty() || !(muxer_ == "psp" || muxer_ == "mp4" || muxer_ == "mov")) {
        title_.clear();
        return;
    }
    av_dict_set(&context_->metadata, "title", title_.c_str(), 0);
    // The handheld's box holds it in UTF-16 (at most twice the bytes), the
    // common box as it is.
    titleBytes_ = static_cast<std::int64_t>(3 * title_.size() + titleBox(title_).size() + 64);
}

Outcome Output::start() {
    if (!(context_->oformat->flags & AVFMT_NOFILE)) {
        const int result = avio_open(&context_->pb, path_.c_str(), AVIO_FLAG_WRITE);
        if (result < 0) {
            return conversionFailed("cannot create \"" + path_ + "\": " + avErrorText(result));
        }
        created_ = true;
    }
    Dictionary options;
    if (muxer_ == "mp3") {
        // Bare MP3 frames: no tag in front, no VBR header frame.
        options.set("id3v2_version", "0");
        options.set("write_xing", "0");
    }
    const int result = avformat_write_header(context_.get(), options.get());
    if (result < 0) {
        return conversionFailed("cannot write the header of \"" + path_ +
                                "\": " + avErrorText(result));
    }
    return success();
}

Outcome Output::write(AVPacket* packet, AVStream* stream, AVRational encoderTimeBase) {
    if (full_) {
        av_packet_unref(packet);
        return success();
    }
    if (sizeLimit_) {
        // The file on disk lags behind what the muxer was given, so count the
        // bytes handed over plus what the trailer will add.
        const std::int64_t after =
            bytes_ + packet->size + containerOverhead(muxer_, packets_ + 1) + titleBytes_;
        if (after > *sizeLimit_) {
            if (!full_) {
                std::printf("output: full; packets from here on are dropped\n");
            }
            full_ = true;
            av_packet_unref(packet);
            return success();
        }
    }
    bytes_ += packet->size;
    ++packets_;
    av_packet_rescale_ts(packet, encoderTimeBase, stream->time_base);
    packet->stream_index = stream->index;
    const int result = av_interleaved_write_frame(context_.get(), packet);
    if (result < 0) {
        return conversionFailed("cannot write to \"" + path_ + "\": " + avErrorText(result));
    }
    return success();
}

bool Output::nearlyFull(std::int64_t pending) const {
    if (!sizeLimit_) {
        return false;
    }
    return full_ ||
           bytes_ + pending + containerOverhead(muxer_, packets_) + titleBytes_ + reserve_ >=
               *sizeLimit_;
}

Outcome Output::finish() {
    const int result = av_write_trailer(context_.get());
    if (!(context_->oformat->flags & AVFMT_NOFILE)) {
        avio_closep(&context_->pb);
    }
    finished_ = true;
    if (result < 0) {
        return conversionFailed("cannot finish \"" + path_ + "\": " + avErrorText(result));
    }
    if (muxer_ == "psp" && !title_.empty()) {
        return appendTitleBox(path_, title_, disk_.largeFiles);
    }
    return success();
}

void Output::discard() {
    if (!(context_->oformat->flags & AVFMT_NOFILE)) {
        avio_closep(&context_->pb);
    }
    finished_ = true;
    if (created_) {
        (void)disk_.files.removeFile(path_, 3);
        created_ = false;
    }
}

}  // namespace zelvic
