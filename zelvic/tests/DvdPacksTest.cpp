// The DVD's packs and the title stream made of them, on packs built here
// byte by byte after the program-stream layout.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "dvd/DvdPacks.h"
#include "dvd/DvdStream.h"

namespace zelvic::test {
namespace {

using Sector = std::array<std::uint8_t, kDvdSectorSize>;

// A pack header with SCR 0 and no stuffing, as a DVD writes it.
void putPackHeader(Sector& sector) {
    const std::uint8_t header[] = {0x00, 0x00, 0x01, 0xBA, 0x44, 0x00, 0x04,
                                   0x00, 0x04, 0x01, 0x01, 0x89, 0xC3, 0xF8};
    std::memcpy(sector.data(), header, sizeof header);
}

// One PES packet of `id` filling the rest of the pack, with a PTS (and a DTS
// when given) and the scrambling bits.
Sector packetPack(std::uint8_t id, std::optional<std::int64_t> pts,
                  std::optional<std::int64_t> dts = {}, int scrambling = 0) {
    Sector sector{};
    putPackHeader(sector);
    std::uint8_t* packet = sector.data() + 14;
    const std::size_t length = kDvdSectorSize - 14 - 6;
    packet[2] = 0x01;
    packet[3] = id;
    packet[4] = static_cast<std::uint8_t>(length >> 8);
    packet[5] = static_cast<std::uint8_t>(length & 0xFF);
    packet[6] = static_cast<std::uint8_t>(0x80 | (scrambling << 4));
    packet[7] = pts ? (dts ? 0xC0 : 0x80) : 0x00;
    packet[8] = pts ? (dts ? 10 : 5) : 0;
    if (pts) {
        packet[9] = dts ? 0x31 : 0x21;
        packet[11] = packet[13] = 0x01;
        writeTimestamp(packet + 9, *pts);
    }
    if (dts) {
        packet[14] = 0x11;
        packet[16] = packet[18] = 0x01;
        writeTimestamp(packet + 14, *dts);
    }
    return sector;
}

// A navigation pack: system header, then the PCI packet with its VOBU start.
Sector navigationPack(std::uint32_t vobuStart) {
    Sector sector{};
    putPackHeader(sector);
    std::uint8_t* system = sector.data() + 14;
    system[2] = 0x01;
    system[3] = 0xBB;
    system[5] = 18;
    std::uint8_t* pci = sector.data() + 14 + 24;
    pci[2] = 0x01;
    pci[3] = 0xBF;
    pci[4] = 0x03;
    pci[5] = 0xD4;
    pci[6] = 0x00;  // PCI
    // VOBU start and end; no sequence end.
    const std::uint32_t times[] = {vobuStart, vobuStart + 43200, 0};
    for (int field = 0; field < 3; ++field) {
        for (int i = 0; i < 4; ++i) {
            pci[7 + 12 + 4 * field + i] = static_cast<std::uint8_t>(times[field] >> (24 - 8 * i));
        }
    }
    return sector;
}

std::int64_t ptsOf(const Sector& sector) {
    return *firstPts(sector);
}

TEST(DvdPacks, TimestampFieldsFollowTheStandardsBitLayout) {
    // 90000 ticks, worked out by hand: prefix 0010, bits 32..30, marker, ...
    std::uint8_t field[5] = {0x21, 0x00, 0x01, 0x00, 0x01};
    writeTimestamp(field, 90000);
    const std::uint8_t expected[5] = {0x21, 0x00, 0x05, 0xBF, 0x21};
    EXPECT_EQ(0, std::memcmp(field, expected, 5));
    for (const std::int64_t value :
         {std::int64_t{0}, std::int64_t{1}, kPtsModulus - 1, std::int64_t{0x1'2345'6789}}) {
        writeTimestamp(field, value);
        EXPECT_EQ(readTimestamp(field), value);
        EXPECT_EQ(field[0] & 0xF1, 0x21) << "prefix and marker kept";
        EXPECT_EQ(field[2] & 0x01, 0x01);
        EXPECT_EQ(field[4] & 0x01, 0x01);
    }
}

TEST(DvdPacks, ShiftMovesClockAndEveryTimestampAndNothingElse) {
    Sector pack = packetPack(0xE0, 48600, 45000);
    const Sector before = pack;
    const PackReport report = shiftPack(pack, 90000);
    EXPECT_TRUE(report.programStream);
    EXPECT_FALSE(report.scrambled);
    EXPECT_EQ(report.timestamps, 2);
    EXPECT_EQ(readTimestamp(pack.data() + 14 + 9), 48600 + 90000);
    EXPECT_EQ(readTimestamp(pack.data() + 14 + 14), 45000 + 90000);
    // SCR 0 moved by 90000, worked out by hand: 44 00 16 FC 84.
    const std::uint8_t scr[] = {0x44, 0x00, 0x16, 0xFC, 0x84};
    EXPECT_EQ(0, std::memcmp(pack.data() + 4, scr, 5));
    EXPECT_EQ(0, std::memcmp(pack.data() + 9, before.data() + 9, 14 + 9 - 9));
    EXPECT_EQ(
        0, std::memcmp(pack.data() + 14 + 19, before.data() + 14 + 19, kDvdSectorSize - 14 - 19));
}

TEST(DvdPacks, ShiftWrapsAroundThe33BitClockBothWays) {
    Sector forward = packetPack(0xC0, kPtsModulus - 10);
    shiftPack(forward, 25);
    EXPECT_EQ(ptsOf(forward), 15);
    Sector backward = packetPack(0xC0, 10);
    shiftPack(backward, -25);
    EXPECT_EQ(ptsOf(backward), kPtsModulus - 15);
}

TEST(DvdPacks, SectorsThatAreNotProgramStreamPacksAreLeftAlone) {
    Sector zeros{};
    EXPECT_FALSE(shiftPack(zeros, 1000).programStream);
    EXPECT_EQ(zeros, Sector{});
    Sector mpeg1 = packetPack(0xE0, 100);
    mpeg1[4] = 0x21;  // an MPEG-1 pack header
    const Sector before = mpeg1;
    EXPECT_FALSE(shiftPack(mpeg1, 1000).programStream);
    EXPECT_EQ(mpeg1, before);
}

TEST(DvdPacks, DamagedLengthsNeverReachPastTheSector) {
    Sector pack = packetPack(0xE0, 100);
    pack[14 + 4] = 0xFF;  // a packet "longer" than the sector
    pack[14 + 5] = 0xFF;
    EXPECT_EQ(shiftPack(pack, 5).timestamps, 1);
    Sector tiny = packetPack(0xE0, 100);
    tiny[14 + 4] = 0x00;  // too short to hold its own time stamp
    tiny[14 + 5] = 0x04;
    EXPECT_EQ(shiftPack(tiny, 5).timestamps, 0);
}

TEST(DvdPacks, ScramblingBitsAreReported) {
    for (int bits = 1; bits <= 3; ++bits) {
        Sector pack = packetPack(0xE0, 100, {}, bits);
        EXPECT_TRUE(packIsScrambled(pack));
        EXPECT_TRUE(shiftPack(pack, 0).scrambled);
    }
    EXPECT_FALSE(packIsScrambled(packetPack(0xBD, 100)));
    EXPECT_FALSE(packIsScrambled(navigationPack(48600)));
}

TEST(DvdPacks, NavigationTimesMoveWithThePictures) {
    Sector pack = navigationPack(48600);
    EXPECT_EQ(shiftPack(pack, 41400).timestamps, 2);
    EXPECT_EQ(navigationStartPts(pack), 90000);
    const std::uint8_t* end = pack.data() + 14 + 24 + 7 + 16;
    EXPECT_EQ((end[0] << 24) | (end[1] << 16) | (end[2] << 8) | end[3], 90000 + 43200);
    const std::uint8_t* sequenceEnd = end + 4;
    EXPECT_EQ(sequenceEnd[0] | sequenceEnd[1] | sequenceEnd[2] | sequenceEnd[3], 0)
        << "no sequence end stays none";
}

TEST(DvdPacks, NavigationPackGivesItsVobuStart) {
    EXPECT_EQ(navigationStartPts(navigationPack(48600)), 48600);
    EXPECT_EQ(navigationStartPts(navigationPack(0xFFFFFFF0u)), 0xFFFFFFF0u);
    EXPECT_FALSE(navigationStartPts(packetPack(0xE0, 48600)));
    EXPECT_EQ(firstPts(packetPack(0xC0, 1234)), 1234);
    EXPECT_FALSE(firstPts(navigationPack(48600)));
}

// A title set's VOB files in memory.
class MemoryVobs final : public DvdSectorReader {
public:
    explicit MemoryVobs(std::vector<Sector> sectors) : sectors_(std::move(sectors)) {}
    int read(std::uint32_t sector, int count, std::uint8_t* into) override {
        ++reads;
        if (failFrom && sector + static_cast<std::uint32_t>(count) > *failFrom) {
            return -1;
        }
        int done = 0;
        for (; done < count && sector + done < sectors_.size(); ++done) {
            std::memcpy(into + done * kDvdSectorSize, sectors_[sector + done].data(),
                        kDvdSectorSize);
        }
        return done;
    }
    std::optional<std::uint32_t> failFrom;
    int reads = 0;

private:
    std::vector<Sector> sectors_;
};

// Two cells authored with clocks that both start at 48600: one of 3 s in
// sectors 0..39, one of 2 s in sectors 40..79; each sector past the first
// of a cell holds a video packet 0.1 s after the one before.
std::vector<Sector> twoCellVobs() {
    std::vector<Sector> sectors;
    for (int cell = 0; cell < 2; ++cell) {
        sectors.push_back(navigationPack(48600));
        for (int i = 1; i < 40; ++i) {
            sectors.push_back(packetPack(0xE0, 48600 + (i - 1) * 9000));
        }
    }
    return sectors;
}

const std::vector<DvdCell> kTwoCells = {{0, 39, 3 * kPtsClock}, {40, 79, 2 * kPtsClock}};

std::vector<Sector> readAll(DvdTitleStream& stream, int piece) {
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(piece));
    int count = 0;
    while ((count = stream.read(buffer.data(), piece)) > 0) {
        bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + count);
    }
    std::vector<Sector> sectors(bytes.size() / kDvdSectorSize);
    for (std::size_t i = 0; i < sectors.size(); ++i) {
        std::memcpy(sectors[i].data(), bytes.data() + i * kDvdSectorSize, kDvdSectorSize);
    }
    return sectors;
}

TEST(DvdTitleStream, CellsPlayOnOneTimelineWhateverTheirClocksSaid) {
    for (const int piece : {2048, 1000, 32768, 77}) {
        SCOPED_TRACE(piece);
        DvdTitleStream stream(std::make_unique<MemoryVobs>(twoCellVobs()), kTwoCells);
        ASSERT_TRUE(stream.checkReadable());
        EXPECT_EQ(stream.size(), 80 * 2048);
        const std::vector<Sector> sectors = readAll(stream, piece);
        ASSERT_EQ(sectors.size(), 80u);
        const std::int64_t start = DvdTitleStream::kRangeStartTicks;
        EXPECT_EQ(ptsOf(sectors[1]), start);
        EXPECT_EQ(ptsOf(sectors[39]), start + 38 * 9000);
        EXPECT_EQ(ptsOf(sectors[41]), start + 3 * kPtsClock) << "cell 2 starts where cell 1 ends";
        EXPECT_EQ(ptsOf(sectors[79]), start + 3 * kPtsClock + 38 * 9000);
        EXPECT_FALSE(stream.failure());
    }
}

TEST(DvdTitleStream, ASeekLandsInTheRightCellWithItsClockMoved) {
    DvdTitleStream stream(std::make_unique<MemoryVobs>(twoCellVobs()), kTwoCells);
    ASSERT_TRUE(stream.seek(45 * 2048 + 100));
    Sector rest{};
    ASSERT_EQ(stream.read(rest.data(), 2048 - 100), 2048 - 100);
    ASSERT_TRUE(stream.seek(45 * 2048));
    Sector whole{};
    ASSERT_EQ(stream.read(whole.data(), 2048), 2048);
    EXPECT_EQ(ptsOf(whole), DvdTitleStream::kRangeStartTicks + 3 * kPtsClock + 4 * 9000);
    EXPECT_EQ(0, std::memcmp(rest.data(), whole.data() + 100, 2048 - 100));
    EXPECT_FALSE(stream.seek(-1));
    EXPECT_FALSE(stream.seek(stream.size() + 1));
    ASSERT_TRUE(stream.seek(stream.size()));
    EXPECT_EQ(stream.read(whole.data(), 2048), 0);
}

TEST(DvdTitleStream, OnlyTheChosenCellsAreRead) {
    // The second cell alone: its clock starts the range.
    DvdTitleStream stream(std::make_unique<MemoryVobs>(twoCellVobs()), {kTwoCells[1]});
    const std::vector<Sector> sectors = readAll(stream, 4096);
    ASSERT_EQ(sectors.size(), 40u);
    EXPECT_EQ(ptsOf(sectors[1]), DvdTitleStream::kRangeStartTicks);
}

TEST(DvdTitleStream, ScrambledSectorsStopTheReadingWithAReason) {
    std::vector<Sector> scrambledStart = twoCellVobs();
    scrambledStart[3] = packetPack(0xE0, 48600, {}, 1);
    DvdTitleStream early(std::make_unique<MemoryVobs>(scrambledStart), kTwoCells);
    const Outcome checked = early.checkReadable();
    ASSERT_FALSE(checked);
    EXPECT_EQ(checked.error().code, ExitStatus::SourceUnreadable);
    EXPECT_EQ(checked.error().message, kScrambledMessage);

    std::vector<Sector> scrambledLater = twoCellVobs();
    scrambledLater[70] = packetPack(0xE0, 48600, {}, 2);
    DvdTitleStream late(std::make_unique<MemoryVobs>(scrambledLater), kTwoCells);
    ASSERT_TRUE(late.checkReadable());
    EXPECT_LT(readAll(late, 2048).size(), 70u);
    ASSERT_TRUE(late.failure());
    EXPECT_EQ(late.failure()->message, kScrambledMessage);
    Sector any{};
    EXPECT_EQ(late.read(any.data(), 2048), -1) << "a failure stays";
}

TEST(DvdTitleStream, UnreadableSectorsAreAFailureNotAnEnd) {
    auto vobs = std::make_unique<MemoryVobs>(twoCellVobs());
    vobs->failFrom = 60;
    DvdTitleStream stream(std::move(vobs), kTwoCells);
    EXPECT_LT(readAll(stream, 2048).size(), 60u);
    ASSERT_TRUE(stream.failure());
    EXPECT_NE(stream.failure()->message.find("cannot read sector"), std::string::npos);
}

}  // namespace
}  // namespace zelvic::test
