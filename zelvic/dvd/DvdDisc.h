#pragma once
// A DVD-Video disc, read with libdvdread: an optical drive, a VIDEO_TS folder
// or its parent, or an ISO image. The disc's information files tell how many
// titles and chapters there are, what a title's picture, sound and
// sub-pictures are, and which sectors a range of its chapters covers.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/Errors.h"

namespace zelvic {

struct DvdAudioStream {
    // The stream as a program-stream demuxer numbers it: 0x80+n AC-3,
    // 0x88+n DTS, 0xA0+n LPCM, 0xC0+n MPEG audio.
    int id = 0;
    std::string language;  // "English", or "unknown"
    std::string note;      // format and channels, "ac3 2ch"
};

struct DvdSubtitleStream {
    int streamId = 0;  // 0x20+n, the sub-picture stream in the program stream
    std::string language;
};

struct DvdCell {
    std::uint32_t firstSector = 0;  // sectors of the title set's VOB files, inclusive
    std::uint32_t lastSector = 0;
    std::int64_t length = 0;  // playing time, 90 kHz ticks
};

// One title with a chosen range of its chapters.
struct DvdTitle {
    int number = 0;  // 1-based, as on the command line
    int titleSet = 0;
    int chapterCount = 0;
    int chapterFirst = 1;  // the range, inclusive, within 1 .. chapterCount
    int chapterLast = 1;
    std::vector<DvdCell> cells;  // the range's cells in playing order
    int codedWidth = 0;
    int codedHeight = 0;
    bool wide = false;  // 16:9 rather than 4:3
    std::vector<DvdAudioStream> audio;
    std::vector<DvdSubtitleStream> subtitles;
    std::array<std::uint32_t, 16> palette{};  // sub-picture colours, 0x00YYCrCb

    // The range's playing time.
    std::int64_t lengthTicks() const;
    double lengthSeconds() const;
    // The picture as displayed: the coded height, and the width its display
    // aspect gives (720x576 at 16:9 shows as 1024x576).
    int displayWidth() const;
};

// Reads whole sectors of one title set's VOB files.
class DvdSectorReader {
public:
    virtual ~DvdSectorReader() = default;
    // Reads `count` sectors from `sector` into `into`; the number read, or a
    // negative value on a read error.
    virtual int read(std::uint32_t sector, int count, std::uint8_t* into) = 0;
};

class DvdDisc {
public:
    // Opens the disc at `device`; a failure is a source that cannot be opened.
    static Result<std::unique_ptr<DvdDisc>> open(const std::string& device);
    ~DvdDisc();
    DvdDisc(const DvdDisc&) = delete;
    DvdDisc& operator=(const DvdDisc&) = delete;

    int titleCount() const;
    // Chapters of title `number` (1-based) as the disc's title table lists them.
    int chapterCount(int number) const;

    // Title `number` with chapters `first` to `last` (0: from the first, to
    // the last; a last chapter beyond the title is its last).
    Result<DvdTitle> title(int number, int first, int last) const;

    Result<std::unique_ptr<DvdSectorReader>> openTitleVobs(int titleSet) const;

    const std::string& device() const { return device_; }

private:
    struct Handles;
    DvdDisc(std::string device, std::unique_ptr<Handles> handles);

    std::string device_;
    std::unique_ptr<Handles> handles_;
};

}  // namespace zelvic
