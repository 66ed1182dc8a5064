#pragma once
// The source as the decoding front reads it: the container opened, the
// streams the options ask for chosen, their decoders opened, the filter
// chains planned towards what the sink takes and built, the start sought.

#include <optional>
#include <vector>

#include "common/Errors.h"
#include "common/FFmpeg.h"
#include "front/DecodedStream.h"
#include "front/Filters.h"
#include "front/FrameSink.h"
#include "front/Input.h"
#include "front/SubtitleBurner.h"
#include "front/Timeline.h"
#include "options/Options.h"
#include "subtitles/TextRenderer.h"

namespace zelvic {

class SourceStreams {
public:
    explicit SourceStreams(const Options& options) : options_(options) {}

    // Opens the source, chooses the streams and opens their decoders.
    Outcome open();
    // Plans the filter chains (the sound towards what `sink` takes) and opens
    // the sink for them.
    Outcome plan(FrameSink& sink);
    // Builds the planned graphs; after plan.
    Outcome buildGraphs(const FrameSink& sink);
    // Goes to where reading must begin for the start asked for (-ss).
    void seekToStart();

    AVFormatContext* input() const { return input_.get(); }
    // The source's own start, in seconds: positions count from it.
    double inputStart() const { return inputStart_; }
    const SinkStreams& plans() const { return plans_; }
    DecodedStream* video() { return video_ ? &*video_ : nullptr; }
    DecodedStream* audio() { return audio_ ? &*audio_ : nullptr; }
    std::vector<DecodedStream*> streams();
    DecodedStream* streamOf(const AVPacket* packet);
    // The subtitles -sid asks to burn into the picture, if any.
    BurnedSubtitles* subtitles() { return subtitles_ ? &*subtitles_ : nullptr; }
    // The text subtitles -sid or -sub ask to burn, drawn on the filtered
    // pictures, if any.
    TextRenderer* textSubtitles() { return text_.get(); }
    // The time on the text subtitles' timeline (ms) of a filtered picture at
    // `pts` in `base`.
    std::int64_t textTimeOf(std::int64_t pts, AVRational base) const;
    // Moves a packet's timestamps onto the source's continuous timeline.
    void place(AVPacket* packet) { timeline_.place(packet); }

    // `seconds` rounded up to the picture's frame grid when the picture has a
    // constant rate, so that picture and sound can end at one time.
    double onFrameGrid(double seconds) const;

private:
    Outcome checkTracks() const;
    Outcome chooseSubtitles();
    Outcome readTrack(int index);
    Outcome prepareText();
    InputOpenSettings sourceSettings();
    void chooseStreams();
    Outcome openDecoder(DecodedStream& stream);
    Outcome planPicture();
    Outcome planSound(FrameSink& sink);
    std::optional<double> partLength() const;

    const Options& options_;
    InputContextPtr input_;
    std::optional<DecodedStream> video_;
    std::optional<DecodedStream> audio_;
    std::optional<BurnedSubtitles> subtitles_;
    std::optional<TextEvents> textEvents_;  // read in open, handed to text_ in plan
    std::unique_ptr<TextRenderer> text_;
    std::vector<AttachedFile> attachments_;  // the source's fonts until libass has them
    SinkStreams plans_;
    Timeline timeline_;
    double inputStart_ = 0;
};

}  // namespace zelvic
