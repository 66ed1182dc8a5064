#include "front/SourceStreams.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

#include "dvd/DvdInput.h"
#include "front/Input.h"
#include "front/StartSeek.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavutil/channel_layout.h>
}

namespace zelvic {

std::int64_t secondsToPts(double seconds, AVRational base) {
    return av_rescale_q(static_cast<std::int64_t>(std::llround(seconds * AV_TIME_BASE)),
                        AV_TIME_BASE_Q, base);
}

AVRational filterTimeBase(AVRational streamBase) {
    constexpr std::int64_t kFinestTick = 1000;  // per second
    const std::int64_t parts = (kFinestTick * streamBase.num + streamBase.den - 1) / streamBase.den;
    if (parts <= 1 || streamBase.den > INT_MAX / parts) {
        return streamBase;
    }
    return AVRational{streamBase.num, static_cast<int>(streamBase.den * parts)};
}

std::vector<DecodedStream*> SourceStreams::streams() {
    std::vector<DecodedStream*> all;
    for (std::optional<DecodedStream>* stream : {&video_, &audio_}) {
        if (*stream) {
            all.push_back(&**stream);
        }
    }
    return all;
}

DecodedStream* SourceStreams::streamOf(const AVPacket* packet) {
    // Called for every packet: no list built.
    if (video_ && packet->stream_index == video_->input->index) {
        return &*video_;
    }
    if (audio_ && packet->stream_index == audio_->input->index) {
        return &*audio_;
    }
    return nullptr;
}

namespace {

// A track the command line names that a file does not have is no reason to
// convert something else: the run fails before anything is written. (A DVD
// Job may have been kept from another disc; there some sound beats none.)
Outcome checkFileTrack(const AVFormatContext* input, AVMediaType type, int id,
                       const std::string& source) {
    if (id < 0 || dvdSourceOf(input) || nthStreamOf(input, type, id) >= 0) {
        return success();
    }
    const bool audio = type == AVMEDIA_TYPE_AUDIO;
    const int count = streamCountOf(input, type);
    return conversionFailed(source + " has no " + (audio ? "audio" : "subtitle") + " track " +
                            std::to_string(id) + " (" + (audio ? "-aid" : "-sid") + "; it has " +
                            std::to_string(count) + (audio ? " audio" : " subtitle") +
                            (count == 1 ? " track)" : " tracks)"));
}

}  // namespace

Outcome SourceStreams::checkTracks() const {
    const std::string source = sourceName(options_);
    if (auto audio = checkFileTrack(input_.get(), AVMEDIA_TYPE_AUDIO,
                                    options_.noSound ? -1 : options_.audioId, source);
        !audio) {
        return audio;
    }
    return checkFileTrack(input_.get(), AVMEDIA_TYPE_SUBTITLE, options_.subtitleId, source);
}

void SourceStreams::chooseStreams() {
    // Play mode shows the picture and plays the sound there is; encode mode
    // takes what its encoders ask for.
    const bool playing = options_.mode() == Mode::Play;
    if (playing || options_.videoEncoder == VideoEncoder::Lavc) {
        const int index = av_find_best_stream(input_.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        if (index >= 0 && !(input_->streams[index]->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
            video_.emplace();
            video_->input = input_->streams[index];
            video_->isVideo = true;
        }
    }
    const bool wantAudio =
        !options_.noSound && (playing || options_.audioEncoder != AudioEncoder::Unset);
    if (!wantAudio) {
        return;
    }
    // Without -aid the file's default one plays, as it does in the preview.
    int index = findAudioStream(input_.get(), options_.audioId);
    if (index < 0) {
        index = av_find_best_stream(input_.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
        if (options_.audioId >= 0 && index >= 0) {
            // A Job kept from another disc, say: some sound beats none.
            std::printf("audio: the source has no audio stream %d; taking the first one\n",
                        options_.audioId);
        }
    }
    if (index >= 0) {
        audio_.emplace();
        audio_->input = input_->streams[index];
    }
}

Outcome SourceStreams::open() {
    auto input = openInput(options_, sourceSettings());
    if (!input) {
        return input.error();
    }
    input_ = std::move(*input);
    inputStart_ = inputStartSeconds(input_.get());
    std::printf("source: %s (%s), %.3f s\n", sourceName(options_).c_str(), input_->iformat->name,
                inputLengthSeconds(input_.get()));
    if (auto tracks = checkTracks(); !tracks) {
        return tracks;
    }
    chooseStreams();
    if (!video_ && !audio_) {
        return conversionFailed("the source holds none of the streams asked for");
    }
    if (options_.container == Container::RawAudio && !audio_) {
        return conversionFailed("the source holds no audio");
    }
    if (auto chosen = chooseSubtitles(); !chosen) {
        return chosen;
    }
    // Streams we do not use are not even read where the demuxer can skip them;
    // the timeline's reference is read for its timestamps.
    timeline_ = Timeline(input_.get());
    for (unsigned i = 0; i < input_->nb_streams; ++i) {
        const bool used =
            (video_ && video_->input->index == static_cast<int>(i)) ||
            (audio_ && audio_->input->index == static_cast<int>(i)) ||
            (timeline_.active() && timeline_.referenceStream() == static_cast<int>(i)) ||
            (subtitles_ && subtitles_->wants(input_->streams[i]));
        input_->streams[i]->discard = used ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    }
    if (video_) {
        if (auto opened = openDecoder(*video_); !opened) {
            if (!audio_) {
                return opened;
            }
            // A picture stream that cannot be decoded does not cost the sound.
            std::printf("picture: missing (%s); converting the sound alone\n",
                        opened.error().message.c_str());
            video_.reset();
        }
    }
    if (audio_) {
        if (auto opened = openDecoder(*audio_); !opened) {
            return opened;
        }
    }
    return success();
}

// Picture subtitles are decoded as their packets come (a DVD's may first
// appear long after the start); text subtitles, a file's or a stream's, are
// read whole now, so a line that began before the start shows from the first
// picture and a file that cannot be used fails before anything is written.
Outcome SourceStreams::chooseSubtitles() {
    const bool asked = options_.subtitleId >= 0 || !options_.subtitleFile.empty();
    if (asked && !video_) {
        std::printf("subtitles: no picture to burn them into\n");
        return success();
    }
    if (!options_.subtitleFile.empty()) {
        auto events = readSubtitleFile(options_.subtitleFile, options_.subtitleCodePage);
        if (!events) {
            return events.error();
        }
        // A file's times count from the video's start.
        events->shift(std::llround(inputStart_ * 1000));
        std::printf("subtitles: \"%s\" (%s, %s), %zu lines\n", options_.subtitleFile.c_str(),
                    events->format.c_str(), events->encoding.c_str(), events->events.size());
        textEvents_ = std::move(*events);
        return success();
    }
    if (options_.subtitleId < 0) {
        return success();
    }
    if (!dvdSourceOf(input_.get())) {
        return readTrack(nthStreamOf(input_.get(), AVMEDIA_TYPE_SUBTITLE, options_.subtitleId));
    }
    subtitles_.emplace(input_.get(), options_.subtitleId);
    return success();
}

// A file's subtitle track read through once from the source as it is
// opened, up to a little past the part asked for: text as events, pictures
// as packets. The source is then opened again for the run, so that one
// opening (with the fonts it carries) is held at a time.
Outcome SourceStreams::readTrack(int index) {
    std::optional<double> until;
    if (options_.end.seconds) {
        until = inputStart_ + options_.start + *options_.end.seconds + 1.0;
    }
    const AVStream* stream = input_->streams[index];
    const bool text = isTextSubtitle(stream);
    // Placed as the run places the pictures they are drawn on.
    Timeline timeline(input_.get());
    PacketPlacing placing;
    if (timeline.active()) {
        placing = {timeline.referenceStream(), [&](AVPacket* packet) { timeline.place(packet); }};
    }
    std::vector<PacketPtr> packets;
    if (text) {
        auto events = readSubtitleStream(input_.get(), index, until, placing);
        if (!events) {
            return events.error();
        }
        std::printf("subtitles: track %d (%s), %zu lines\n", options_.subtitleId,
                    avcodec_get_name(stream->codecpar->codec_id), events->events.size());
        textEvents_ = std::move(*events);
    } else if (auto read = readSubtitlePackets(input_.get(), index, until, placing); read) {
        packets = std::move(*read);
    } else {
        return read.error();
    }
    video_.reset();
    audio_.reset();
    input_.reset();
    attachments_.clear();
    auto again = openInput(options_, sourceSettings());
    if (!again) {
        return again.error();
    }
    input_ = std::move(*again);
    chooseStreams();
    if (!text) {
        subtitles_.emplace(input_.get(), options_.subtitleId);
        return subtitles_->preload(input_->streams[index], std::move(packets));
    }
    return success();
}

// libass at the output's size, with the fonts the source carries.
Outcome SourceStreams::prepareText() {
    if (!textEvents_ || !plans_.video) {
        return success();
    }
    const VideoPlan& plan = *plans_.video;
    PictureArea area;
    area.frameWidth = plan.width;
    area.frameHeight = plan.height;
    area.x = plan.pictureX;
    area.y = plan.pictureY;
    area.width = plan.pictureWidth;
    area.height = plan.pictureHeight;
    area.sourceWidth = video_->videoFormat.width;
    area.sourceHeight = video_->videoFormat.height;
    area.pixelAspect = plan.sampleAspect.num > 0 ? av_q2d(plan.sampleAspect) : 1.0;
    const std::vector<FontFile> fonts = attachedFonts(attachments_);
    auto renderer = TextRenderer::create(*textEvents_, fonts, area);
    textEvents_.reset();
    if (!renderer) {
        return renderer.error();
    }
    text_ = std::move(*renderer);
    std::printf("subtitles: drawn at %dx%d with %zu fonts of the source, else the system's\n",
                plan.width, plan.height, fonts.size());
    return success();
}

InputOpenSettings SourceStreams::sourceSettings() {
    InputOpenSettings settings;
    // Only subtitles drawn as text need the fonts.
    if (options_.subtitleId >= 0 || !options_.subtitleFile.empty()) {
        settings.attachments = &attachments_;
    }
    return settings;
}

std::int64_t SourceStreams::textTimeOf(std::int64_t pts, AVRational base) const {
    return av_rescale_q(pts, base, AVRational{1, 1000}) +
           std::llround((inputStart_ + options_.start) * 1000);
}

Outcome SourceStreams::openDecoder(DecodedStream& stream) {
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
    stream.shift = secondsToPts(inputStart_ + options_.start, base);
    stream.filterBase = filterTimeBase(base);
    stream.filterShift = secondsToPts(inputStart_ + options_.start, stream.filterBase);
    if (stream.isVideo) {
        stream.filterShift += secondsToPts(kFrameTimeTolerance, stream.filterBase);
    }
    return success();
}

// The length of the part asked for (-endpos as a time). With a constant-rate
// picture it is rounded up to whole frames, so that picture and sound end
// together and the next part starts on the same frame grid.
std::optional<double> SourceStreams::partLength() const {
    if (!options_.end.seconds) {
        return std::nullopt;
    }
    return onFrameGrid(*options_.end.seconds);
}

double SourceStreams::onFrameGrid(double seconds) const {
    if (!plans_.video || !plans_.video->constantRate) {
        return seconds;
    }
    const double rate = av_q2d(plans_.video->frameRate);
    return std::ceil(seconds * rate - 1e-6) / rate;
}

// What the picture decoder delivers, and the chain that takes it to what
// the options ask for.
Outcome SourceStreams::planPicture() {
    const AVCodecContext* decoder = video_->decoder.get();
    if (decoder->width <= 0 || decoder->height <= 0 || decoder->pix_fmt == AV_PIX_FMT_NONE) {
        return conversionFailed("the video stream has no usable picture size or format");
    }
    VideoInputFormat& format = video_->videoFormat;
    format.width = decoder->width;
    format.height = decoder->height;
    format.pixelFormat = decoder->pix_fmt;
    format.sampleAspect = av_guess_sample_aspect_ratio(input_.get(), video_->input, nullptr);
    format.timeBase = video_->filterBase;
    format.frameRate = av_guess_frame_rate(input_.get(), video_->input, nullptr);
    format.averageRate = video_->input->avg_frame_rate;
    const DisplayTurn turn = displayTurn(video_->input);
    format.clockwise = turn.clockwise;
    format.mirrored = turn.mirrored;
    const AVFieldOrder fields = video_->input->codecpar->field_order;
    format.interlaced = fields == AV_FIELD_TT || fields == AV_FIELD_BB || fields == AV_FIELD_TB ||
                        fields == AV_FIELD_BT;
    plans_.video = planVideo(options_.videoFilters, options_.outputFps, format);
    return success();
}

// What the sound decoder delivers, and the chain that takes it to what
// `sink` takes.
Outcome SourceStreams::planSound(FrameSink& sink) {
    const AVCodecContext* decoder = audio_->decoder.get();
    if (decoder->sample_rate <= 0 || decoder->ch_layout.nb_channels <= 0 ||
        decoder->sample_fmt == AV_SAMPLE_FMT_NONE) {
        return conversionFailed("the audio stream has no usable format");
    }
    AudioInputFormat& format = audio_->audioFormat;
    format.sampleRate = decoder->sample_rate;
    format.channels = decoder->ch_layout.nb_channels;
    format.sampleFormat = decoder->sample_fmt;
    format.timeBase = audio_->filterBase;
    if (decoder->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
        format.layout = layoutName(format.channels);
    } else {
        char text[128] = {};
        av_channel_layout_describe(&decoder->ch_layout, text, sizeof text);
        format.layout = text;
    }
    auto target = sink.audioTarget(format);
    if (!target) {
        return target.error();
    }
    target->length = partLength();
    plans_.audio = planAudio(options_.audioFilters, format, *target);
    return success();
}

Outcome SourceStreams::plan(FrameSink& sink) {
    if (video_) {
        if (auto planned = planPicture(); !planned) {
            return planned;
        }
        if (auto prepared = prepareText(); !prepared) {
            return prepared;
        }
    }
    if (audio_) {
        if (auto planned = planSound(sink); !planned) {
            return planned;
        }
    }
    const auto length = partLength();
    if (length) {
        for (DecodedStream* stream : streams()) {
            stream->endPts = secondsToPts(*length, stream->input->time_base);
        }
    }
    if (const AVDictionaryEntry* entry = av_dict_get(input_->metadata, "title", nullptr, 0)) {
        plans_.sourceTitle = entry->value;
    }
    // libass holds copies of the fonts it was given.
    attachments_.clear();
    plans_.length = std::max(0.0, inputLengthSeconds(input_.get()) - options_.start);
    if (length && (plans_.length == 0 || *length < plans_.length)) {
        plans_.length = *length;
    }
    return sink.open(plans_);
}

Outcome SourceStreams::buildGraphs(const FrameSink& sink) {
    if (video_) {
        auto filters = buildVideoGraph(video_->videoFormat, plans_.video->description);
        if (!filters) {
            return filters.error();
        }
        video_->filters = std::move(*filters);
        const VideoInputFormat& format = video_->videoFormat;
        const VideoPlan& plan = *plans_.video;
        std::printf("video: %s %dx%d → %dx%d at %d/%d fps (%s)\n",
                    avcodec_get_name(video_->decoder->codec_id), format.width, format.height,
                    plan.width, plan.height, plan.frameRate.num, plan.frameRate.den,
                    plan.description.c_str());
    }
    if (audio_) {
        auto filters = buildAudioGraph(audio_->audioFormat, plans_.audio->description);
        if (!filters) {
            return filters.error();
        }
        audio_->filters = std::move(*filters);
        if (const int size = sink.audioFrameSize(); size > 0) {
            av_buffersink_set_frame_size(audio_->filters.sink, static_cast<unsigned>(size));
        }
        const AudioInputFormat& format = audio_->audioFormat;
        std::printf("audio: %s %d Hz %d ch → %d Hz %d ch (%s)\n",
                    avcodec_get_name(audio_->decoder->codec_id), format.sampleRate, format.channels,
                    plans_.audio->sampleRate, plans_.audio->channels,
                    plans_.audio->description.c_str());
    }
    return success();
}

void SourceStreams::seekToStart() {
    if (options_.start > 0) {
        StartSeek(input_.get(), video(), audio(), timeline_, inputStart_)
            .seek(inputStart_ + options_.start);
    }
}

}  // namespace zelvic
