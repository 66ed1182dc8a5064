#include "front/Timeline.h"

#include <algorithm>
#include <cstdlib>

namespace zelvic {
namespace {

constexpr std::int64_t seconds(double value) {
    return static_cast<std::int64_t>(value * AV_TIME_BASE);
}

// The longest step a packet may be taken to last when it does not say.
constexpr std::int64_t kLongestStep = seconds(1.0);

}  // namespace

int timelineReference(const AVFormatContext* input) {
    int audio = -1;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* stream = input->streams[i];
        const auto type = stream->codecpar->codec_type;
        if (type == AVMEDIA_TYPE_VIDEO && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
            return static_cast<int>(i);
        }
        if (type == AVMEDIA_TYPE_AUDIO && audio < 0) {
            audio = static_cast<int>(i);
        }
    }
    return audio;
}

Timeline::Timeline(const AVFormatContext* input)
    : input_(input),
      active_((input->iformat->flags & AVFMT_TS_DISCONT) != 0),
      reference_(timelineReference(input)),
      streams_(input->nb_streams) {
    active_ = active_ && reference_ >= 0;
}

void Timeline::startAt(std::int64_t offset) {
    offsets_.assign(1, offset);
    for (StreamState& state : streams_) {
        state = StreamState{};
    }
    justJumped_ = false;
}

void Timeline::placeReference(StreamState& state, std::int64_t raw) {
    state.piece = offsets_.size() - 1;
    if (state.last == AV_NOPTS_VALUE) {
        return;
    }
    if (justJumped_) {
        justJumped_ = false;
        // Continuing from before the jump: that jump was one damaged timestamp.
        const std::int64_t previous = raw + offsets_[offsets_.size() - 2];
        if (previous >= beforeJump_.last - seconds(kJumpBack) &&
            previous <= beforeJump_.last + beforeJump_.step + seconds(kJumpBack)) {
            offsets_.pop_back();
            for (StreamState& other : streams_) {
                other.piece = std::min(other.piece, offsets_.size() - 1);
            }
            state.piece = offsets_.size() - 1;
            return;
        }
    }
    const std::int64_t placed = raw + offsets_.back();
    const std::int64_t expected = state.last + state.step;
    if (placed < state.last - seconds(kJumpBack) || placed > expected + seconds(kJumpForward)) {
        beforeJump_ = state;
        justJumped_ = true;
        offsets_.push_back(expected - raw);
        state.piece = offsets_.size() - 1;
    }
}

void Timeline::placeOther(StreamState& state, std::int64_t raw) {
    if (state.last == AV_NOPTS_VALUE) {
        state.piece = offsets_.size() - 1;
        return;
    }
    const std::int64_t expected = state.last + state.step;
    std::int64_t best = std::llabs(raw + offsets_[state.piece] - expected);
    for (std::size_t piece = state.piece + 1; piece < offsets_.size(); ++piece) {
        const std::int64_t distance = std::llabs(raw + offsets_[piece] - expected);
        if (distance < best) {
            best = distance;
            state.piece = piece;
        }
    }
}

void Timeline::place(AVPacket* packet) {
    if (!active_ || packet->stream_index < 0 ||
        packet->stream_index >= static_cast<int>(streams_.size())) {
        return;
    }
    const AVRational base = input_->streams[packet->stream_index]->time_base;
    const std::int64_t timestamp = packet->dts != AV_NOPTS_VALUE ? packet->dts : packet->pts;
    if (timestamp == AV_NOPTS_VALUE) {
        return;
    }
    StreamState& state = streams_[packet->stream_index];
    const std::int64_t raw = av_rescale_q(timestamp, base, AV_TIME_BASE_Q);
    if (packet->stream_index == reference_) {
        placeReference(state, raw);
    } else {
        placeOther(state, raw);
    }
    const std::int64_t placed = raw + offsets_[state.piece];
    if (packet->stream_index != reference_ && state.last != AV_NOPTS_VALUE &&
        placed < state.last - seconds(kJumpBack)) {
        // Back in time where the reference did not jump: a damaged timestamp.
        // The decoder's frames then follow on from the ones before.
        packet->pts = AV_NOPTS_VALUE;
        packet->dts = AV_NOPTS_VALUE;
        return;
    }
    const std::int64_t shift = av_rescale_q(offsets_[state.piece], AV_TIME_BASE_Q, base);
    if (packet->pts != AV_NOPTS_VALUE) {
        packet->pts += shift;
    }
    if (packet->dts != AV_NOPTS_VALUE) {
        packet->dts += shift;
    }
    const std::int64_t duration = packet->duration > 0
                                      ? av_rescale_q(packet->duration, base, AV_TIME_BASE_Q)
                                      : (state.last != AV_NOPTS_VALUE ? placed - state.last : 0);
    state.step = std::clamp<std::int64_t>(duration, 0, kLongestStep);
    state.last = placed;
}

}  // namespace zelvic
