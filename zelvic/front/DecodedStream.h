#pragma once
// One stream of the source on its way to the sink: its decoder, its filter
// graph, where the part asked for begins and ends in its time base.

#include <cstdint>
#include <optional>

#include "common/FFmpeg.h"
#include "front/Filters.h"

namespace zelvic {

// `seconds` in `base`, rounded to the nearest tick.
std::int64_t secondsToPts(double seconds, AVRational base);

struct DecodedStream {
    AVStream* input = nullptr;
    bool isVideo = false;
    CodecContextPtr decoder;
    FilterGraph filters;
    VideoInputFormat videoFormat;  // what the filter graph was built for
    AudioInputFormat audioFormat;
    std::int64_t shift = 0;              // the start asked for, in input time base
    std::int64_t tolerance = 0;          // kFrameTimeTolerance in input time base
    std::optional<std::int64_t> endPts;  // the end asked for, shifted, input time base
    std::int64_t lastEnd = 0;            // end of the last frame fed, shifted
    std::int64_t nextPts = AV_NOPTS_VALUE;
    bool inputEnded = false;  // nothing more goes into the filters

    // After a seek into the middle of the picture, packets go to the decoder
    // from the first one marked as a key frame, and pictures count from the
    // first key picture the decoder gives: nothing before them can be whole.
    void fromKeyFrame() { awaitKeyPacket_ = awaitKeyPicture_ = true; }
    bool takesPacket(const AVPacket* packet) {
        awaitKeyPacket_ = awaitKeyPacket_ && !(packet->flags & AV_PKT_FLAG_KEY);
        return !awaitKeyPacket_;
    }
    bool takesPicture(const AVFrame* frame) {
        awaitKeyPicture_ =
            awaitKeyPicture_ && !frame->key_frame && frame->pict_type != AV_PICTURE_TYPE_I;
        return !awaitKeyPicture_;
    }

private:
    bool awaitKeyPacket_ = false;
    bool awaitKeyPicture_ = false;
};

}  // namespace zelvic
