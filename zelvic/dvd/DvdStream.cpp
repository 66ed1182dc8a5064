#include "dvd/DvdStream.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "dvd/DvdPacks.h"

namespace zelvic {
namespace {

constexpr auto kSector = static_cast<std::int64_t>(kDvdSectorSize);
// Sectors of the range's start looked at before anything is made of it.
constexpr int kCheckedSectors = 64;

std::int64_t sectorsOf(const DvdCell& cell) {
    return std::int64_t{cell.lastSector} - cell.firstSector + 1;
}

}  // namespace

DvdTitleStream::DvdTitleStream(std::unique_ptr<DvdSectorReader> reader, std::vector<DvdCell> cells)
    : reader_(std::move(reader)) {
    std::int64_t rangeStart = 0;
    for (const DvdCell& cell : cells) {
        cells_.push_back({cell, size_, rangeStart, std::nullopt});
        size_ += sectorsOf(cell) * kSector;
        rangeStart += cell.length;
    }
}

Outcome DvdTitleStream::readSectors(std::uint32_t sector, int count, std::uint8_t* into) {
    const int read = reader_->read(sector, count, into);
    if (read != count) {
        return sourceUnreadable("cannot read sector " + std::to_string(sector) + " of the DVD");
    }
    return success();
}

Outcome DvdTitleStream::checkReadable() {
    if (cells_.empty()) {
        return sourceUnreadable("the chosen chapters hold no video");
    }
    const DvdCell& first = cells_.front().cell;
    const int count = static_cast<int>(std::min<std::int64_t>(kCheckedSectors, sectorsOf(first)));
    std::vector<std::uint8_t> sectors(static_cast<std::size_t>(count) * kDvdSectorSize);
    if (auto read = readSectors(first.firstSector, count, sectors.data()); !read) {
        return read;
    }
    for (int i = 0; i < count; ++i) {
        const ConstPack pack(sectors.data() + static_cast<std::size_t>(i) * kDvdSectorSize,
                             kDvdSectorSize);
        if (packIsScrambled(pack)) {
            return sourceUnreadable(kScrambledMessage);
        }
    }
    return success();
}

std::size_t DvdTitleStream::cellAt(std::int64_t position) const {
    const auto after = std::upper_bound(
        cells_.begin(), cells_.end(), position,
        [](std::int64_t value, const Cell& cell) { return value < cell.startByte; });
    return static_cast<std::size_t>(after - cells_.begin()) - 1;
}

// The amount that moves a cell's clock onto the range's timeline: its first
// VOBU starts where the playing times of the cells before it end.
Result<std::int64_t> DvdTitleStream::shiftOf(std::size_t index) {
    Cell& cell = cells_[index];
    if (!cell.shift) {
        std::array<std::uint8_t, kDvdSectorSize> first;
        if (auto read = readSectors(cell.cell.firstSector, 1, first.data()); !read) {
            return read.error();
        }
        auto start = navigationStartPts(first);
        if (!start) {
            start = firstPts(first);
        }
        if (start) {
            cell.shift = kRangeStartTicks + cell.rangeStart - *start;
        } else if (index == 0) {
            cell.shift = 0;
        } else {
            // Nothing to place it by: assume it goes on from the cell before.
            auto before = shiftOf(index - 1);
            if (!before) {
                return before.error();
            }
            cells_[index].shift = *before;
        }
    }
    return *cells_[index].shift;
}

Outcome DvdTitleStream::loadChunk(std::int64_t position) {
    const std::size_t index = cellAt(position);
    const Cell& cell = cells_[index];
    const std::int64_t sectorInCell = (position - cell.startByte) / kSector;
    const int count = static_cast<int>(
        std::min<std::int64_t>(kChunkSectors, sectorsOf(cell.cell) - sectorInCell));
    auto shift = shiftOf(index);
    if (!shift) {
        return shift.error();
    }
    chunk_.resize(static_cast<std::size_t>(count) * kDvdSectorSize);
    chunkStart_ = cell.startByte + sectorInCell * kSector;
    const auto sector = static_cast<std::uint32_t>(cell.cell.firstSector + sectorInCell);
    if (auto read = readSectors(sector, count, chunk_.data()); !read) {
        chunk_.clear();
        return read;
    }
    for (int i = 0; i < count; ++i) {
        const Pack pack(chunk_.data() + static_cast<std::size_t>(i) * kDvdSectorSize,
                        kDvdSectorSize);
        if (shiftPack(pack, *shift).scrambled) {
            chunk_.clear();
            return sourceUnreadable(kScrambledMessage);
        }
    }
    return success();
}

int DvdTitleStream::read(std::uint8_t* into, int size) {
    if (failure_) {
        return -1;
    }
    if (position_ >= size_ || size <= 0) {
        return 0;
    }
    const auto inChunk = [&] {
        return position_ >= chunkStart_ &&
               position_ < chunkStart_ + static_cast<std::int64_t>(chunk_.size());
    };
    if (!inChunk()) {
        if (auto loaded = loadChunk(position_); !loaded) {
            failure_ = loaded.error();
            return -1;
        }
    }
    const std::int64_t offset = position_ - chunkStart_;
    const int count = static_cast<int>(
        std::min<std::int64_t>(size, static_cast<std::int64_t>(chunk_.size()) - offset));
    std::memcpy(into, chunk_.data() + offset, static_cast<std::size_t>(count));
    position_ += count;
    return count;
}

bool DvdTitleStream::seek(std::int64_t offset) {
    if (offset < 0 || offset > size_) {
        return false;
    }
    position_ = offset;
    return true;
}

}  // namespace zelvic
