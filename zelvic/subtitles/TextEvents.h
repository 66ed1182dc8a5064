#pragma once
// Text subtitles (SubRip, ASS/SSA, WebVTT, MP4 timed text, ...) read whole
// before the run starts, as libass takes them: FFmpeg's decoders turn every
// format into ASS, a header with the styles and one line per event. Read up
// front, a subtitle that began before the start asked for (-ss) shows from
// the first picture, and a file that cannot be read fails the run before
// anything is written.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/Errors.h"
#include "common/FFmpeg.h"

namespace zelvic {

struct TextEvent {
    std::int64_t startMs = 0;
    std::int64_t durationMs = 0;
    // "ReadOrder,Layer,Style,Name,MarginL,MarginR,MarginV,Effect,Text"
    std::string line;
};

struct TextEvents {
    std::string header;  // the ASS script: [Script Info], [V4+ Styles], [Events] format
    std::vector<TextEvent> events;
    std::string format;    // the demuxer's name, for the log
    std::string encoding;  // a file's text as it was found ("UTF-16LE"), for the log

    // Moves every event by `ms`.
    void shift(std::int64_t ms);
};

// Whether `stream` holds subtitles that are text.
bool isTextSubtitle(const AVStream* stream);

// A subtitle file (-sub): read whole, its text made UTF-8 (`codePage` for
// 8-bit text, see SubtitleText.h), its format told by its content and its
// name. Times count from 0.
Result<TextEvents> readSubtitleFile(const std::string& path, const std::string& codePage);

// How packets read are put on the source's one timeline where its timestamps
// restart (front/Timeline.h): every packet goes to `place`, and the stream
// whose timestamps tell the jumps is read along.
struct PacketPlacing {
    int referenceStream = -1;  // none: timestamps stay as they are
    std::function<void(AVPacket*)> place;
};

// Every packet of stream `streamIndex` of `input` (an opening of the source
// of its own: it is read through, the other streams discarded), in order,
// placed, up to `untilSeconds` of the timeline (all of it when unset).
Result<std::vector<PacketPtr>> readSubtitlePackets(AVFormatContext* input, int streamIndex,
                                                   std::optional<double> untilSeconds,
                                                   const PacketPlacing& placing = {});

// The text subtitle stream `streamIndex` of `input`, read so. Times are the
// timeline's.
Result<TextEvents> readSubtitleStream(AVFormatContext* input, int streamIndex,
                                      std::optional<double> untilSeconds,
                                      const PacketPlacing& placing = {});

}  // namespace zelvic
