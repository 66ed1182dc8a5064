#pragma once
// Where reading begins when a run starts inside the source (-ss).
//
// Decoding must begin at a key frame at or before the start, so that the
// picture on screen at the start can be decoded (the pictures before it are
// decoded and then dropped by the filter chain), and the sound must begin no
// later than the start. No demuxer promises both: an index (MP4, Matroska,
// AVI, FLV) finds a key frame by its decoding time or by a time the index
// keeps, which with reordered pictures may be shown after the start; a
// source without an index (MPEG program and transport streams) is searched
// by timestamp and lands on any packet, whose next key frame may come long
// after the start; a key frame may be marked wrongly or not at all.
//
// So every seek is looked at before the run reads: from where it landed,
// the picture is decoded to its first key picture and the first sound
// packet is read. When either begins after the start, the seek goes further
// back, the distance doubling, until both begin in time or the source's
// start is reached, from where everything decodes as in a run from the
// start. The run then reads from exactly where the look began.

#include <optional>

#include "common/FFmpeg.h"
#include "front/DecodedStream.h"
#include "front/TimeMap.h"
#include "front/Timeline.h"

namespace zelvic {

class StartSeek {
public:
    // The streams the run decodes (either may be null) and the timeline the
    // run places packets on; `inputStart` the source's own start in seconds.
    StartSeek(AVFormatContext* input, DecodedStream* video, DecodedStream* audio,
              Timeline& timeline, double inputStart);

    // Leaves the source where the run must read from for a part that starts
    // at `start` (seconds on the source's continuous timeline).
    void seek(double start);

private:
    struct Place;
    struct Look;

    std::optional<Place> locate(double target);
    bool goTo(const Place& place);
    bool seekTime(double seconds);
    Look look(const Place& place, double start);
    bool inTime(const Look& found, double start) const;

    AVFormatContext* input_;
    DecodedStream* video_;
    DecodedStream* audio_;
    Timeline& timeline_;
    double inputStart_;
    bool searched_;  // seeks search timestamps by byte position (no index)
    std::optional<TimeMap> map_;
};

}  // namespace zelvic
