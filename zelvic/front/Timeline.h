#pragma once
// One continuous timeline over a source whose timestamps restart or jump:
// recordings joined end to end, a stream cut and spliced, a damaged
// timestamp. Only formats that allow such jumps (MPEG transport and program
// streams) are placed; in others timestamps pass unchanged.
//
// One stream is the reference (the picture when there is one): a jump in its
// timestamps, back by more than kJumpBack or forward by more than
// kJumpForward, starts a new piece whose offset makes it continue where the
// reference left off. Every stream takes the offsets in turn: each moves on
// to a later piece when that places its packets nearer to where it left off,
// so packets of the old piece that are still interleaved after the jump stay
// where they were. A jump that the very next reference packet contradicts
// was one damaged timestamp, not a new piece.
//
// The same packets give the same timeline, whether read from the start by a
// conversion or scanned by identify, so positions and lengths agree.

#include <cstdint>
#include <vector>

#include "common/FFmpeg.h"

namespace zelvic {

class Timeline {
public:
    static constexpr double kJumpBack = 0.3;     // seconds
    static constexpr double kJumpForward = 5.0;  // seconds

    // An identity timeline.
    Timeline() = default;
    explicit Timeline(const AVFormatContext* input);

    // Whether the source's format allows its timestamps to jump.
    bool active() const { return active_; }
    int referenceStream() const { return reference_; }

    // Moves the packet's timestamps onto the continuous timeline.
    void place(AVPacket* packet);

    // The pieces so far: offsets in AV_TIME_BASE units, added to the raw
    // timestamps of each piece. Always at least one.
    const std::vector<std::int64_t>& offsets() const { return offsets_; }
    // Starts at a piece whose offset is known (after a seek into it).
    void startAt(std::int64_t offset);

private:
    struct StreamState {
        std::int64_t last = AV_NOPTS_VALUE;  // last timestamp placed, AV_TIME_BASE units
        std::int64_t step = 0;               // its packet duration (or the last gap)
        std::size_t piece = 0;
    };
    void placeReference(StreamState& state, std::int64_t raw);
    void placeOther(StreamState& state, std::int64_t raw);

    const AVFormatContext* input_ = nullptr;
    bool active_ = false;
    int reference_ = -1;
    std::vector<StreamState> streams_;
    std::vector<std::int64_t> offsets_{0};
    // The reference's state before the last jump, to undo a jump that was
    // only one damaged timestamp.
    StreamState beforeJump_;
    bool justJumped_ = false;
};

// The reference stream of a source: its picture, else its first sound.
int timelineReference(const AVFormatContext* input);

}  // namespace zelvic
