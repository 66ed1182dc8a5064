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

// The time base frames enter the filter graph in: the stream's own, or where
// its tick is longer than a millisecond (AVI counts whole frames) one that
// divides it into ticks of at most that, so that a start between two frames
// is kept where it was asked for and the frame on screen there comes first.
AVRational filterTimeBase(AVRational streamBase);

struct DecodedStream {
    AVStream* input = nullptr;
    bool isVideo = false;
    CodecContextPtr decoder;
    FilterGraph filters;
    VideoInputFormat videoFormat;  // what the filter graph was built for
    AudioInputFormat audioFormat;
    std::int64_t shift = 0;              // the start asked for, in input time base
    AVRational filterBase{1, 25};        // filterTimeBase of the input's
    std::int64_t filterShift = 0;        // the start, video kFrameTimeTolerance earlier, filterBase
    std::optional<std::int64_t> endPts;  // the end asked for, shifted, input time base
    std::int64_t lastEnd = 0;            // end of the last frame fed, shifted
    std::int64_t nextPts = AV_NOPTS_VALUE;
    bool inputEnded = false;  // nothing more goes into the filters

    // A frame's time as the filter graph takes it: the start asked for at 0.
    std::int64_t filterPts(std::int64_t pts) const {
        return av_rescale_q(pts, input->time_base, filterBase) - filterShift;
    }

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
