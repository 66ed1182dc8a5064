#include "front/SubtitleBurner.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "common/VideoColour.h"
#include "dvd/DvdInput.h"
#include "front/Input.h"

namespace zelvic {
namespace {

constexpr std::int64_t kForever = std::numeric_limits<std::int64_t>::max();

}  // namespace

std::string paletteEntryRgb(std::uint32_t yCrCb) {
    const double y = 1.164 * (((yCrCb >> 16) & 0xFF) - 16.0);
    const double cr = ((yCrCb >> 8) & 0xFF) - 128.0;
    const double cb = (yCrCb & 0xFF) - 128.0;
    char text[8];
    std::snprintf(text, sizeof text, "%02x%02x%02x", clampByte(y + 1.596 * cr),
                  clampByte(y - 0.813 * cr - 0.391 * cb), clampByte(y + 2.018 * cb));
    return text;
}

Result<std::unique_ptr<SubtitleBurner>> SubtitleBurner::create(
    const AVStream* stream, const std::array<std::uint32_t, 16>* palette) {
    const AVCodecDescriptor* kind = avcodec_descriptor_get(stream->codecpar->codec_id);
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!kind || !codec || !(kind->props & AV_CODEC_PROP_BITMAP_SUB)) {
        return conversionFailed("only picture subtitles can be burned into the video");
    }
    CodecContextPtr decoder(avcodec_alloc_context3(codec));
    if (!decoder) {
        return conversionFailed("out of memory for a subtitle decoder");
    }
    int result = avcodec_parameters_to_context(decoder.get(), stream->codecpar);
    decoder->pkt_timebase = stream->time_base;
    Dictionary settings;
    if (palette) {
        std::string colours;
        for (const std::uint32_t entry : *palette) {
            colours += (colours.empty() ? "" : ",") + paletteEntryRgb(entry);
        }
        settings.set("palette", colours.c_str());
    }
    if (result >= 0) {
        result = avcodec_open2(decoder.get(), codec, settings.get());
    }
    if (result < 0) {
        return conversionFailed("cannot open the subtitle decoder: " + avErrorText(result));
    }
    return std::unique_ptr<SubtitleBurner>(new SubtitleBurner(std::move(decoder), stream->index));
}

void SubtitleBurner::decode(const AVPacket* packet) {
    AVSubtitle subtitle{};
    int got = 0;
    if (avcodec_decode_subtitle2(decoder_.get(), &subtitle, &got, const_cast<AVPacket*>(packet)) <
            0 ||
        !got) {
        return;
    }
    std::int64_t at = subtitle.pts;
    if (at == AV_NOPTS_VALUE && packet->pts != AV_NOPTS_VALUE) {
        at = av_rescale_q(packet->pts, decoder_->pkt_timebase, AV_TIME_BASE_Q);
    }
    if (at != AV_NOPTS_VALUE) {
        Shown shown;
        shown.start = at + std::int64_t{subtitle.start_display_time} * 1000;
        shown.end = subtitle.end_display_time == std::numeric_limits<std::uint32_t>::max()
                        ? kForever
                        : at + std::int64_t{subtitle.end_display_time} * 1000;
        for (unsigned i = 0; i < subtitle.num_rects; ++i) {
            const AVSubtitleRect& rect = *subtitle.rects[i];
            if (rect.type != SUBTITLE_BITMAP || rect.w <= 0 || rect.h <= 0) {
                continue;
            }
            Bitmap bitmap{rect.x, rect.y, rect.w, rect.h, {}, {}, {}, {}};
            const auto* colours = reinterpret_cast<const std::uint32_t*>(rect.data[1]);
            for (int row = 0; row < rect.h; ++row) {
                for (int column = 0; column < rect.w; ++column) {
                    const std::uint32_t argb =
                        colours[rect.data[0][row * rect.linesize[0] + column]];
                    const Yuv yuv = yuvOf(argb);
                    bitmap.luma.push_back(yuv.y);
                    bitmap.blue.push_back(yuv.u);
                    bitmap.red.push_back(yuv.v);
                    bitmap.alpha.push_back(static_cast<std::uint8_t>(argb >> 24));
                }
            }
            shown.bitmaps.push_back(std::move(bitmap));
        }
        // A new sub-picture replaces the one before.
        if (!shown_.empty()) {
            shown_.back().end = std::min(shown_.back().end, shown.start);
        }
        shown_.push_back(std::move(shown));
    }
    avsubtitle_free(&subtitle);
}

const SubtitleBurner::Shown* SubtitleBurner::shownAt(std::int64_t microseconds) {
    // Pictures come in time order: what has been replaced is not needed again.
    while (shown_.size() > 1 && shown_[1].start <= microseconds) {
        shown_.pop_front();
    }
    if (shown_.empty() || microseconds < shown_.front().start ||
        microseconds >= shown_.front().end) {
        return nullptr;
    }
    return &shown_.front();
}

Outcome SubtitleBurner::burn(AVFrame* frame, std::int64_t pts, AVRational timeBase) {
    const Shown* shown = shownAt(av_rescale_q(pts, timeBase, AV_TIME_BASE_Q));
    if (!shown || shown->bitmaps.empty() || !isPlanar420(frame->format)) {
        return success();
    }
    // The decoder may still predict from this picture: draw on a copy.
    if (const int result = av_frame_make_writable(frame); result < 0) {
        return conversionFailed("cannot draw the subtitle: " + avErrorText(result));
    }
    for (const Bitmap& bitmap : shown->bitmaps) {
        blendInto(frame, bitmap.x, bitmap.y, bitmap.width, bitmap.height, bitmap.luma.data(),
                  bitmap.blue.data(), bitmap.red.data(), bitmap.alpha.data());
    }
    return success();
}

void blendInto(AVFrame* frame, int x, int y, int width, int height, const std::uint8_t* luma,
               const std::uint8_t* blue, const std::uint8_t* red, const std::uint8_t* alpha) {
    const int top = std::max(0, y), bottom = std::min(frame->height, y + height);
    const int left = std::max(0, x), right = std::min(frame->width, x + width);
    for (int row = top; row < bottom; ++row) {
        std::uint8_t* line = frame->data[0] + row * frame->linesize[0];
        for (int column = left; column < right; ++column) {
            const int i = (row - y) * width + (column - x);
            line[column] = mix(line[column], luma[i], alpha[i]);
        }
    }
    // Each chroma sample takes the colour of the top-left pixel of its 2x2 block.
    for (int row = (top + 1) / 2; row * 2 < bottom; ++row) {
        std::uint8_t* u = frame->data[1] + row * frame->linesize[1];
        std::uint8_t* v = frame->data[2] + row * frame->linesize[2];
        for (int column = (left + 1) / 2; column * 2 < right; ++column) {
            const int i = (row * 2 - y) * width + (column * 2 - x);
            u[column] = mix(u[column], blue[i], alpha[i]);
            v[column] = mix(v[column], red[i], alpha[i]);
        }
    }
}

Outcome BurnedSubtitles::preload(const AVStream* stream, std::vector<PacketPtr> packets) {
    auto made = SubtitleBurner::create(stream, nullptr);
    if (!made) {
        return made.error();
    }
    burner_ = std::move(*made);
    preloaded_ = true;
    aheadBase_ = stream->time_base;
    for (PacketPtr& packet : packets) {
        ahead_.push_back(std::move(packet));
    }
    std::printf("subtitles: %s burned into the picture\n",
                avcodec_get_name(stream->codecpar->codec_id));
    return success();
}

bool BurnedSubtitles::wants(const AVStream* stream) const {
    return !unusable_ && !preloaded_ &&
           (burner_ ? burner_->streamIndex() == stream->index
                    : isChosenSubtitle(input_, stream, subtitleId_));
}

void BurnedSubtitles::take(const AVStream* stream, const AVPacket* packet) {
    if (!burner_) {
        const DvdSource* dvd = dvdSourceOf(input_);
        auto made = SubtitleBurner::create(stream, dvd ? &dvd->title.palette : nullptr);
        if (!made) {
            std::printf("subtitles: %s; converting without them\n", made.error().message.c_str());
            unusable_ = true;
            return;
        }
        burner_ = std::move(*made);
        std::printf("subtitles: %s burned into the picture\n",
                    avcodec_get_name(stream->codecpar->codec_id));
    }
    burner_->decode(packet);
}

Outcome BurnedSubtitles::burn(AVFrame* frame, std::int64_t pts, AVRational timeBase) {
    if (!burner_) {
        return success();
    }
    const std::int64_t now = av_rescale_q(pts, timeBase, AV_TIME_BASE_Q);
    while (!ahead_.empty() &&
           av_rescale_q(ahead_.front()->pts, aheadBase_, AV_TIME_BASE_Q) <= now) {
        burner_->decode(ahead_.front().get());
        ahead_.pop_front();
    }
    return burner_->burn(frame, pts, timeBase);
}

}  // namespace zelvic
