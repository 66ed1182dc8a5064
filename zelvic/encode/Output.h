#pragma once
// The output file: muxer choice, the size limit, and cleaning up after a
// failed run.

#include <cstdint>
#include <optional>
#include <string>

#include "common/Errors.h"
#include "common/FFmpeg.h"
#include "encode/Disk.h"
#include "options/Options.h"

namespace zelvic {

// The libavformat muxer for the options and the streams that will be written.
// Pure: the name only, so the choice is tested without files.
std::string chooseMuxer(const Options& options, bool hasVideo, bool hasAudio, AVCodecID audioCodec);

// Bytes the container adds around the packets once the trailer is written
// (headers, sample tables), never less than it really adds.
std::int64_t containerOverhead(const std::string& muxer, std::int64_t packets);

class Output {
public:
    // Allocates the muxer; nothing is written yet.
    static Result<Output> create(const std::string& path, const std::string& muxer,
                                 std::optional<std::int64_t> sizeLimit, Disk disk);

    bool needsGlobalHeader() const;
    // A stream carrying what `encoder` produces; the container tag is set
    // only where the muxer knows it for the codec.
    Result<AVStream*> addStream(const AVCodecContext* encoder, const std::string& fourcc);

    // The title the container carries; before start. The handheld's own
    // container gets the common title box too once its trailer is written.
    void setTitle(const std::string& title);

    // Creates the file and writes the header.
    Outcome start();

    // Writes one encoded packet whose timestamps are in `encoderTimeBase`.
    // Once the next packet would take the file past the size limit, the output
    // is full: that packet and all later ones are dropped.
    Outcome write(AVPacket* packet, AVStream* stream, AVRational encoderTimeBase);
    bool full() const { return full_; }

    // Room kept below the size limit for what is still inside the encoders
    // when the conversion decides to end; 0 without a limit.
    void setReserve(std::int64_t bytes) { reserve_ = bytes; }
    // Within the reserve of the limit, counting `pending` bytes that the
    // encoders still hold: time to end the streams together.
    bool nearlyFull(std::int64_t pending) const;

    // Writes the trailer and closes the file.
    Outcome finish();
    // Closes and deletes the file, if this run created it.
    void discard();

    std::int64_t bytesWritten() const { return bytes_; }

    Output(Output&&) = default;
    ~Output();

private:
    explicit Output(Disk disk) : disk_(disk) {}

    Disk disk_;
    OutputContextPtr context_;
    std::string path_;
    std::string muxer_;
    std::optional<std::int64_t> sizeLimit_;
    std::int64_t bytes_ = 0;
    std::int64_t packets_ = 0;
    std::int64_t reserve_ = 0;
    std::string title_;
    std::int64_t titleBytes_ = 0;  // what the title box adds after the trailer
    bool created_ = false;
    bool finished_ = false;
    bool full_ = false;
};

}  // namespace zelvic
