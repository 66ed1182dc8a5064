#pragma once
// The 2048-byte packs of a DVD's title VOBs, one MPEG-2 program stream pack
// per sector. Pure byte work, no library: reading the start time a navigation
// pack gives for its VOBU, moving every clock and time stamp of a pack by a
// fixed amount, and telling whether a pack's payload is scrambled.

#include <cstdint>
#include <optional>
#include <span>

namespace zelvic {

inline constexpr std::size_t kDvdSectorSize = 2048;
// Time stamps of a program stream: 33 bits of a 90 kHz clock.
inline constexpr std::int64_t kPtsModulus = std::int64_t{1} << 33;
inline constexpr std::int64_t kPtsClock = 90000;

using Pack = std::span<std::uint8_t, kDvdSectorSize>;
using ConstPack = std::span<const std::uint8_t, kDvdSectorSize>;

struct PackReport {
    bool programStream = false;  // an MPEG-2 pack header was found
    bool scrambled = false;      // a packet's payload is scrambled
    int timestamps = 0;          // PTS and DTS fields moved
};

// Adds `shift` ticks (modulo 2^33) to the pack's system clock reference and
// to every PTS and DTS of its packets, keeping marker bits and prefixes; a
// navigation pack's VOBU times move too (demuxers read them as the
// navigation stream's times). A sector that is not an MPEG-2 pack is left
// as it is.
PackReport shiftPack(Pack pack, std::int64_t shift);

// Only looks: whether any packet's payload in the pack is scrambled.
bool packIsScrambled(ConstPack pack);

// The VOBU start presentation time of a navigation pack (its PCI packet), or
// nothing when the sector is not a navigation pack.
std::optional<std::int64_t> navigationStartPts(ConstPack pack);

// The first PTS of any packet in the pack.
std::optional<std::int64_t> firstPts(ConstPack pack);

// Reads and writes a 5-byte PES time stamp field.
std::int64_t readTimestamp(const std::uint8_t* field);
void writeTimestamp(std::uint8_t* field, std::int64_t value);

}  // namespace zelvic
