#pragma once
// The program stream of a DVD title's chapter range, as one seekable run of
// bytes: the cells' sectors in playing order. Cells keep the time stamps
// they were authored with, which may start again at every cell; here each
// cell's clock is moved so that the range plays on one continuous timeline
// that starts at kRangeStartTicks, with every cell where its playing time
// puts it. A scrambled sector ends the reading with an error that says so.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "common/Errors.h"
#include "dvd/DvdDisc.h"

namespace zelvic {

inline constexpr const char* kScrambledMessage =
    "the DVD is scrambled and cannot be read without a decryption library";

class DvdTitleStream {
public:
    // Where the range begins on the moved clock. Packs are clocked up to
    // about a second before their pictures show; this keeps every clock
    // of the first cell above zero.
    static constexpr std::int64_t kRangeStartTicks = 90000;
    // Sectors read at once.
    static constexpr int kChunkSectors = 32;

    DvdTitleStream(std::unique_ptr<DvdSectorReader> reader, std::vector<DvdCell> cells);

    // Reads the start of the range: an error when it cannot be read or is
    // scrambled, so that nothing is made of a disc we cannot decode.
    Outcome checkReadable();

    // Bytes of the whole range.
    std::int64_t size() const { return size_; }
    std::int64_t position() const { return position_; }

    // Up to `size` bytes from the current position: the number copied, 0 at
    // the end, or -1 after a failure (see failure()).
    int read(std::uint8_t* into, int size);
    // Moves to `offset` from the start; false when it lies outside the range.
    bool seek(std::int64_t offset);

    // Why reading stopped early, if it did.
    const std::optional<Error>& failure() const { return failure_; }

private:
    struct Cell {
        DvdCell cell;
        std::int64_t startByte = 0;
        std::int64_t rangeStart = 0;  // ticks from the start of the range
        std::optional<std::int64_t> shift;
    };

    std::size_t cellAt(std::int64_t position) const;
    Outcome loadChunk(std::int64_t position);
    Result<std::int64_t> shiftOf(std::size_t index);
    Outcome readSectors(std::uint32_t sector, int count, std::uint8_t* into);

    std::unique_ptr<DvdSectorReader> reader_;
    std::vector<Cell> cells_;
    std::int64_t size_ = 0;
    std::int64_t position_ = 0;
    std::vector<std::uint8_t> chunk_;
    std::int64_t chunkStart_ = 0;  // byte position of chunk_[0]
    std::optional<Error> failure_;
};

}  // namespace zelvic
