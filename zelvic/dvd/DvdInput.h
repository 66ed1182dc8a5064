#pragma once
// A DVD title as a source (dvd://T -dvd-device D -chapter A-B): identify
// reads the disc's information files only; encode and play demux the chosen
// chapters' program stream with libavformat, fed through our own I/O.

#include <memory>
#include <string>

#include "common/Errors.h"
#include "common/FFmpeg.h"
#include "dvd/DvdDisc.h"
#include "dvd/DvdStream.h"
#include "options/Options.h"
#include "records/MediaInfo.h"

namespace zelvic {

// Where -dvd-device points when the command line does not say.
inline constexpr const char* kDefaultDvdDevice = "/dev/sr0";

// What an input context opened on a DVD title keeps alive.
struct DvdSource final : InputOwner {
    std::unique_ptr<DvdDisc> disc;
    DvdTitle title;
    std::unique_ptr<DvdTitleStream> stream;
    AVIOContext* io = nullptr;
    ~DvdSource() override;
};

// The disc and the chosen title with its chapter range.
struct OpenedDvdTitle {
    std::unique_ptr<DvdDisc> disc;
    DvdTitle title;
};
Result<OpenedDvdTitle> openDvdTitle(const Options& options);

// The info record of a DVD title: the range's length, the picture as shown,
// the disc's titles and chapters, the title's audio and sub-picture streams.
pelorine::MediaInfo describeDvdTitle(const DvdDisc& disc, const DvdTitle& title);

// Whether the start of the title's chapter range can be read: not when a
// sector fails or is scrambled.
Outcome checkDvdTitleReadable(const DvdDisc& disc, const DvdTitle& title);

// Opens the title's program stream as a libavformat input (header read,
// stream information not yet looked for).
Result<InputContextPtr> openDvdInput(const Options& options);

// The DVD behind an input, or null when it is a file.
const DvdSource* dvdSourceOf(const AVFormatContext* input);

// The id a DVD's stream has in the info record's audio list (0x80 AC-3,
// 0xC0 MPEG audio, ...): libavformat numbers MPEG audio 0x1C0 and up.
int dvdAudioIdOf(const AVStream* stream);

}  // namespace zelvic
