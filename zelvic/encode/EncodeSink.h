#pragma once
// Encode mode's sink: the video and audio encoders, the muxer and the size
// limit. The file is written under its partial name beside the output and
// gets its final name only when the run ends well; a run ended by quit keeps
// its shorter, playable file under the stopped name; a failed run leaves
// nothing.

#include <memory>

#include "common/Channel.h"
#include "encode/Disk.h"
#include "encode/Output.h"
#include "encode/Thumbnail.h"
#include "front/FrameSink.h"
#include "options/Options.h"

namespace zelvic {

class EncodeSink final : public FrameSink {
public:
    EncodeSink(const Options& options, Disk disk);
    ~EncodeSink() override;

    Result<AudioTarget> audioTarget(const AudioInputFormat& input) override;
    Outcome open(const SinkStreams& streams) override;
    int audioFrameSize() const override;
    Outcome videoFrame(AVFrame* frame, AVRational timeBase) override;
    Outcome audioFrame(AVFrame* frame, AVRational timeBase) override;
    Request request() const override;
    void endAt(double seconds) override;
    Result<double> finish() override;
    Outcome end(ExitStatus status, double position) override;
    void discard() override;
    SinkCounts counts() const override;
    std::string progressNote() const override;

    struct Encoded;  // one encoder and its output stream

private:
    Outcome openVideo(const VideoPlan& plan);
    Outcome openAudio(const AudioPlan& plan);
    bool silentSoundNeeded(const SinkStreams& streams) const;
    Outcome openSilentSound();
    Outcome addSilence(std::int64_t end, bool last);
    Outcome addSilenceToPicture(bool last);
    Outcome encode(Encoded& stream, AVFrame* frame);
    Outcome writePackets(Encoded& stream);
    std::int64_t pendingBytes() const;
    void setReserve();
    void writeThumbnail();

    const Options& options_;
    Disk disk_;
    const AVCodec* audioCodec_ = nullptr;
    std::optional<Output> output_;
    std::unique_ptr<Encoded> video_;
    std::unique_ptr<Encoded> audio_;
    PacketPtr packet_ = makePacket();
    bool silent_ = false;                       // the sound track is made here, silent
    std::optional<ThumbnailPicker> thumbnail_;  // -thumbnail with a picture
};

// Encode mode: the source through the decoding front into an EncodeSink
// writing to `disk`.
ExitStatus runEncode(const Options& options, Channel& channel, Disk disk);

}  // namespace zelvic
