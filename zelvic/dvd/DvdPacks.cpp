#include "dvd/DvdPacks.h"

#include <algorithm>
#include <array>

namespace zelvic {
namespace {

constexpr std::uint8_t kPrivateStream2 = 0xBF;  // navigation packets
constexpr std::uint8_t kEndCode = 0xB9;
constexpr std::size_t kPackHeaderSize = 14;
constexpr std::size_t kPciStartPtmOffset = 12;  // vobu_s_ptm inside the PCI
// The PCI's three 32-bit presentation times: VOBU start, end, and sequence end.
constexpr std::size_t kPciTimes = 3;

bool startCodeAt(const std::uint8_t* p, std::size_t at) {
    return p[at] == 0 && p[at + 1] == 0 && p[at + 2] == 1;
}

bool isMpeg2PackHeader(const std::uint8_t* p) {
    return startCodeAt(p, 0) && p[3] == 0xBA && (p[4] & 0xC0) == 0x40;
}

// Packets whose header carries the flags byte, the time stamps and the
// scrambling bits: private stream 1, audio and video.
bool hasPesHeader(const std::uint8_t* packet) {
    const std::uint8_t id = packet[3];
    return (id == 0xBD || (id >= 0xC0 && id <= 0xEF)) && (packet[6] & 0xC0) == 0x80;
}

// Calls visit(packet, size) for every packet of an MPEG-2 pack; `size`
// counts the start code and length and never reaches past the sector.
// False when the sector is not an MPEG-2 pack.
template <typename Visit>
bool forEachPacket(std::uint8_t* p, Visit visit) {
    if (!isMpeg2PackHeader(p)) {
        return false;
    }
    std::size_t at = kPackHeaderSize + (p[13] & 0x07);
    while (at + 6 <= kDvdSectorSize && startCodeAt(p, at) && p[at + 3] != kEndCode) {
        const std::size_t length = 6 + ((std::size_t{p[at + 4]} << 8) | p[at + 5]);
        const std::size_t size = std::min(length, kDvdSectorSize - at);
        visit(p + at, size);
        at += length;
    }
    return true;
}

std::int64_t readScr(const std::uint8_t* p) {
    return (std::int64_t{(p[4] >> 3) & 0x07} << 30) | (std::int64_t{p[4] & 0x03} << 28) |
           (std::int64_t{p[5]} << 20) | (std::int64_t{(p[6] >> 3) & 0x1F} << 15) |
           (std::int64_t{p[6] & 0x03} << 13) | (std::int64_t{p[7]} << 5) | ((p[8] >> 3) & 0x1F);
}

void writeScr(std::uint8_t* p, std::int64_t base) {
    p[4] = static_cast<std::uint8_t>((p[4] & 0xC4) | (((base >> 30) & 0x07) << 3) |
                                     ((base >> 28) & 0x03));
    p[5] = static_cast<std::uint8_t>((base >> 20) & 0xFF);
    p[6] = static_cast<std::uint8_t>((p[6] & 0x04) | (((base >> 15) & 0x1F) << 3) |
                                     ((base >> 13) & 0x03));
    p[7] = static_cast<std::uint8_t>((base >> 5) & 0xFF);
    p[8] = static_cast<std::uint8_t>((p[8] & 0x07) | ((base & 0x1F) << 3));
}

std::int64_t wrap(std::int64_t value) {
    value %= kPtsModulus;
    return value < 0 ? value + kPtsModulus : value;
}

// The time stamp fields a packet holds: 0, 1 (PTS) or 2 (PTS, DTS).
int timestampCount(const std::uint8_t* packet, std::size_t size) {
    if (size < 9 || !hasPesHeader(packet)) {
        return 0;
    }
    const int flags = packet[7] >> 6;
    const int count = flags == 2 ? 1 : (flags == 3 ? 2 : 0);
    return 9 + 5 * static_cast<std::size_t>(count) <= size ? count : 0;
}

bool isPci(const std::uint8_t* packet, std::size_t size) {
    return packet[3] == kPrivateStream2 && size >= 7 + kPciStartPtmOffset + 4 * kPciTimes &&
           packet[6] == 0x00;
}

std::uint32_t readBig32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

void writeBig32(std::uint8_t* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    }
}

// A navigation pack's times move with the pictures they describe; a zero
// sequence end means "none" and stays.
int shiftPciTimes(std::uint8_t* packet, std::int64_t shift) {
    int moved = 0;
    for (std::size_t i = 0; i < kPciTimes; ++i) {
        std::uint8_t* field = packet + 7 + kPciStartPtmOffset + 4 * i;
        if (const std::uint32_t value = readBig32(field); value != 0 || i == 0) {
            writeBig32(field, static_cast<std::uint32_t>(value + shift));
            ++moved;
        }
    }
    return moved;
}

std::uint8_t* mutableCopy(ConstPack pack, std::array<std::uint8_t, kDvdSectorSize>& copy) {
    std::copy(pack.begin(), pack.end(), copy.begin());
    return copy.data();
}

}  // namespace

std::int64_t readTimestamp(const std::uint8_t* field) {
    return (std::int64_t{(field[0] >> 1) & 0x07} << 30) | (std::int64_t{field[1]} << 22) |
           (std::int64_t{(field[2] >> 1) & 0x7F} << 15) | (std::int64_t{field[3]} << 7) |
           ((field[4] >> 1) & 0x7F);
}

void writeTimestamp(std::uint8_t* field, std::int64_t value) {
    field[0] = static_cast<std::uint8_t>((field[0] & 0xF1) | (((value >> 30) & 0x07) << 1));
    field[1] = static_cast<std::uint8_t>((value >> 22) & 0xFF);
    field[2] = static_cast<std::uint8_t>((field[2] & 0x01) | (((value >> 15) & 0x7F) << 1));
    field[3] = static_cast<std::uint8_t>((value >> 7) & 0xFF);
    field[4] = static_cast<std::uint8_t>((field[4] & 0x01) | ((value & 0x7F) << 1));
}

PackReport shiftPack(Pack pack, std::int64_t shift) {
    PackReport report;
    std::uint8_t* p = pack.data();
    report.programStream = forEachPacket(p, [&](std::uint8_t* packet, std::size_t size) {
        if (size >= 7 && hasPesHeader(packet) && ((packet[6] >> 4) & 0x03) != 0) {
            report.scrambled = true;
        }
        if (isPci(packet, size)) {
            report.timestamps += shiftPciTimes(packet, shift);
            return;
        }
        const int count = timestampCount(packet, size);
        for (int i = 0; i < count; ++i) {
            std::uint8_t* field = packet + 9 + 5 * i;
            writeTimestamp(field, wrap(readTimestamp(field) + shift));
            ++report.timestamps;
        }
    });
    if (report.programStream) {
        writeScr(p, wrap(readScr(p) + shift));
    }
    return report;
}

bool packIsScrambled(ConstPack pack) {
    std::array<std::uint8_t, kDvdSectorSize> copy;
    bool scrambled = false;
    forEachPacket(mutableCopy(pack, copy), [&](std::uint8_t* packet, std::size_t size) {
        scrambled = scrambled || (size >= 7 && hasPesHeader(packet) && (packet[6] & 0x30) != 0);
    });
    return scrambled;
}

std::optional<std::int64_t> navigationStartPts(ConstPack pack) {
    std::array<std::uint8_t, kDvdSectorSize> copy;
    std::optional<std::int64_t> start;
    forEachPacket(mutableCopy(pack, copy), [&](std::uint8_t* packet, std::size_t size) {
        if (!start && isPci(packet, size)) {
            start = readBig32(packet + 7 + kPciStartPtmOffset);
        }
    });
    return start;
}

std::optional<std::int64_t> firstPts(ConstPack pack) {
    std::array<std::uint8_t, kDvdSectorSize> copy;
    std::optional<std::int64_t> pts;
    forEachPacket(mutableCopy(pack, copy), [&](std::uint8_t* packet, std::size_t size) {
        if (!pts && timestampCount(packet, size) > 0) {
            pts = readTimestamp(packet + 9);
        }
    });
    return pts;
}

}  // namespace zelvic
