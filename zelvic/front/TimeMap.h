#pragma once
// Where the pieces of a source with restarting timestamps lie, so that its
// whole length can be told and a start in a later piece can be found. Made
// by reading the timestamps at samples across the file and reading the
// stretch between two samples packet by packet wherever the samples disagree
// with the file's byte rate; the pieces found are the ones a conversion
// reading the file from its start meets (see Timeline).

#include <cstdint>
#include <optional>
#include <vector>

#include "common/FFmpeg.h"

namespace zelvic {

class TimeMap {
public:
    // A place in the file: byte position, raw timestamp there (AV_TIME_BASE
    // units) and the offset of its piece.
    struct Point {
        std::int64_t position = 0;
        std::int64_t raw = 0;
        std::int64_t offset = 0;
        std::int64_t continuous() const { return raw + offset; }
    };

    // Reads `input`'s timestamps; nullopt where its format keeps one timeline
    // or it cannot be read by byte position. Leaves the read position at the
    // file's start.
    static std::optional<TimeMap> scan(AVFormatContext* input);

    // Whether the timestamps restart or jump somewhere.
    bool hasJumps() const;
    // The length on the continuous timeline, from the source's own start.
    double lengthSeconds() const;
    // The last known place at or before continuous time `time` (AV_TIME_BASE
    // units, the source's start included), and the offset to read on with.
    Point before(std::int64_t time) const;

private:
    std::vector<Point> points_;
    std::int64_t start_ = 0;
    std::int64_t end_ = 0;
};

}  // namespace zelvic
