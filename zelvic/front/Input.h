#pragma once
// Opening the source the command line names: a file through libavformat, a
// title of a DVD (DvdInput), or (later) a track of a video CD.

#include <optional>

#include "common/Errors.h"
#include "common/FFmpeg.h"
#include "options/Options.h"
#include "subtitles/TextRenderer.h"

namespace zelvic {

struct InputOpenSettings {
    // Limits for avformat_find_stream_info: identify needs sizes and lengths,
    // not a frame-rate estimate from many seconds of packets.
    std::int64_t maxAnalyzeDuration = 0;  // AV_TIME_BASE units; 0 keeps the library's
    // Skip reading packets altogether when the container's header already
    // tells the length, the picture size and the audio formats.
    bool headersSuffice = false;
    // Where the bytes of the attachments (a Matroska file's fonts) go, taken
    // out of their streams; dropped when null.
    std::vector<AttachedFile>* attachments = nullptr;
};

Result<InputContextPtr> openInput(const Options& options, const InputOpenSettings& settings);

// The source as the log, the messages and a window's title name it: the
// quoted path, or the title and the disc.
std::string sourceName(const Options& options);

// The source's own start, in seconds: positions the converter gives (-ss) and
// the progress we report count from it.
double inputStartSeconds(const AVFormatContext* input);

// The length of the source in seconds, 0 when unknown.
double inputLengthSeconds(const AVFormatContext* input);

// How a picture is turned for display (a phone's display matrix): clockwise
// by 0, 90, 180 or 270 degrees, after a mirror image when `mirrored`.
struct DisplayTurn {
    int clockwise = 0;
    bool mirrored = false;
    bool sideways() const { return clockwise == 90 || clockwise == 270; }
};
DisplayTurn displayTurn(const AVStream* stream);

// The audio stream an engine audio id (-aid) names: for a DVD the stream its
// demuxer numbers so (0x80 AC-3, 0xC0 MPEG audio, ...), for a file the id-th
// audio stream; -1 (no -aid) names a DVD title's first sound track as the
// info record lists them, and a file's default one (the first the container
// marks as default, else the first). The
// stream's index, or -1 when there is no such stream.
int findAudioStream(const AVFormatContext* input, int audioId);
// A file's default sound track: the index of the first audio stream the
// container marks as default, else of the first audio stream (-1: none).
int defaultAudioStreamOf(const AVFormatContext* input);

// Whether `stream` carries the subtitles of -sid `subtitleId`: for a DVD
// the title's sub-picture stream of that list index (it may first appear
// long after the start), for a file the subtitleId-th subtitle stream.
bool isChosenSubtitle(const AVFormatContext* input, const AVStream* stream, int subtitleId);

// The index of a file's `nth` stream of `type` (0-based, in stream order, as
// the info record lists them), -1 when there are fewer.
int nthStreamOf(const AVFormatContext* input, AVMediaType type, int nth);
// How many streams of `type` the file has.
int streamCountOf(const AVFormatContext* input, AVMediaType type);

// Why reading the source stopped when it was not the end: a DVD sector
// that could not be read, or a scrambled one. Nothing for a plain end.
std::optional<Error> readFailure(const AVFormatContext* input);

}  // namespace zelvic
