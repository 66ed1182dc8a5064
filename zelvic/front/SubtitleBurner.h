#pragma once
// Burning one bitmap subtitle stream (DVD sub-pictures) into the picture, on
// the decoded frames before any scaling, so the subtitles scale with the
// picture. Sub-pictures take their colours from the title's palette.

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "common/Errors.h"
#include "common/FFmpeg.h"

namespace zelvic {

// A palette entry of the DVD's information files (0x00YYCrCb) as the
// decoder's "rrggbb" text.
std::string paletteEntryRgb(std::uint32_t yCrCb);

class SubtitleBurner {
public:
    // Decodes `stream`'s packets; `palette` holds a DVD title's 16 colours, or
    // nothing for a stream that brings its own.
    static Result<std::unique_ptr<SubtitleBurner>> create(
        const AVStream* stream, const std::array<std::uint32_t, 16>* palette);

    // A packet of the subtitle stream; damaged ones are passed over.
    void decode(const AVPacket* packet);

    // Draws the subtitle that shows at `pts` (in `timeBase`) into `frame`,
    // which is made writable first. Frames not in a 4:2:0 YUV format stay
    // as they are.
    Outcome burn(AVFrame* frame, std::int64_t pts, AVRational timeBase);

    int streamIndex() const { return streamIndex_; }

private:
    // One rectangle in the picture's own colours, alpha 0..255 per pixel.
    struct Bitmap {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> luma, blue, red, alpha;
    };
    struct Shown {
        std::int64_t start = 0;  // microseconds on the source's timeline
        std::int64_t end = 0;
        std::vector<Bitmap> bitmaps;
    };

    SubtitleBurner(CodecContextPtr decoder, int streamIndex)
        : decoder_(std::move(decoder)), streamIndex_(streamIndex) {}
    const Shown* shownAt(std::int64_t microseconds);

    CodecContextPtr decoder_;
    int streamIndex_ = -1;
    std::deque<Shown> shown_;  // in start order
};

// The picture subtitle stream -sid names, burned into the picture. A DVD's
// packets come with the source's, and its decoder is made when the first
// one comes (its sub-pictures may first appear long after the start); a
// file's stream is read whole before the run (preload). Text subtitles are
// drawn elsewhere (subtitles/TextRenderer.h); a stream that is not pictures
// is left out here with a line in the log.
class BurnedSubtitles {
public:
    BurnedSubtitles(const AVFormatContext* input, int subtitleId)
        : input_(input), subtitleId_(subtitleId) {}

    // Every packet of `stream`, read before the run: each is decoded when the
    // pictures reach its time, so a subtitle that began before the start
    // asked for shows from the first picture.
    Outcome preload(const AVStream* stream, std::vector<PacketPtr> packets);
    // Whether the packets come with the source's: the pictures then wait
    // for the sub-pictures shown on them.
    bool comeWithPictures() const { return !preloaded_; }

    // Whether the packets of `stream` are the chosen subtitles (never, once
    // they have been read ahead).
    bool wants(const AVStream* stream) const;
    // A packet of a wanted stream.
    void take(const AVStream* stream, const AVPacket* packet);
    // Draws what shows at `pts` into the picture (see SubtitleBurner::burn).
    Outcome burn(AVFrame* frame, std::int64_t pts, AVRational timeBase);

private:
    const AVFormatContext* input_;
    int subtitleId_;
    std::unique_ptr<SubtitleBurner> burner_;
    bool unusable_ = false;
    bool preloaded_ = false;
    std::deque<PacketPtr> ahead_;  // preloaded packets not yet decoded
    AVRational aheadBase_{1, 1000};
};

// Blends `bitmap`-like data into a 4:2:0 frame; exposed for its own tests.
// `luma`, `blue`, `red` and `alpha` hold one value per pixel of the w x h
// rectangle placed at (x, y); parts outside the frame are left out.
void blendInto(AVFrame* frame, int x, int y, int width, int height, const std::uint8_t* luma,
               const std::uint8_t* blue, const std::uint8_t* red, const std::uint8_t* alpha);

}  // namespace zelvic
