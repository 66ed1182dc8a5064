// Damaged project and profile files: every prefix of a sound file, and a
// hundred thousand mutated copies of each (fixed seed). Whatever the bytes,
// reading ends in Jobs or rows or in a message, never in a crash, and takes
// memory in proportion to the file, never to what a count or length claims.

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "profiles/ProfileFile.h"
#include "profiles/SettingsRows.h"
#include "project/CountingAllocator.h"
#include "project/ProjectFile.h"
#include "project/SampleJobs.h"

namespace pelorine {
namespace {

using Bytes = std::vector<std::uint8_t>;

// One file format as the damage tests see it.
struct Format {
    const char* name;
    Bytes sound;
    // Decodes `bytes`; on success also checks that what was read encodes to
    // a file that reads back the same. Returns the status of the first read;
    // `unchanged` tells whether the output was left alone, `memory` how many
    // bytes the first read took.
    std::function<Status(const Bytes&, bool& unchanged, std::size_t& memory)> read;
    // The most memory a successful read of `size` bytes may take.
    std::function<std::size_t(std::size_t size)> budget;
};

Format projectFormat() {
    const std::vector<Job> jobs = testing::sampleJobs("/media/videos/");
    std::vector<const Job*> pointers;
    for (const Job& job : jobs) {
        pointers.push_back(&job);
    }
    Format format{"project", {}, {}, {}};
    EXPECT_TRUE(encodeProject(pointers, format.sound));
    format.read = [](const Bytes& bytes, bool& unchanged, std::size_t& memory) {
        const std::vector<Job> sentinel(1);
        std::vector<Job> read = sentinel;
        const testing::AllocationMeter meter;
        const Status status = decodeProject(bytes, read);
        memory = meter.bytes();
        unchanged = read == sentinel;
        if (status) {
            std::vector<const Job*> again;
            for (const Job& job : read) {
                again.push_back(&job);
            }
            Bytes encoded;
            std::vector<Job> reread;
            EXPECT_TRUE(encodeProject(again, encoded) && decodeProject(encoded, reread));
            EXPECT_EQ(reread, read);
        }
        return status;
    };
    // Each Job takes at least 91 bytes of the file; its texts at most their length.
    format.budget = [](std::size_t size) { return (size / 91 + 1) * sizeof(Job) * 2 + size * 2; };
    return format;
}

Format profileFormat() {
    ProfileRows rows;
    const SettingsRows settings;
    std::copy(settings.items().begin(), settings.items().end(), rows.begin());
    rows[6].kind = EditorKind::Colour;
    Format format{"profile", {}, {}, {}};
    EXPECT_TRUE(encodeProfile(rows, format.sound));
    format.read = [](const Bytes& bytes, bool& unchanged, std::size_t& memory) {
        const ProfileRows sentinel{};
        ProfileRows read = sentinel;
        const testing::AllocationMeter meter;
        const Status status = decodeProfile(bytes, read);
        memory = meter.bytes();
        unchanged = read == sentinel;
        if (status) {
            Bytes encoded;
            ProfileRows reread;
            EXPECT_TRUE(encodeProfile(read, encoded) && decodeProfile(encoded, reread));
            EXPECT_EQ(reread, read);
        }
        return status;
    };
    format.budget = [](std::size_t size) { return sizeof(ProfileRows) + size * 2 + 4096; };
    return format;
}

// A damaged read: a message, nothing handed out, and memory for the message only.
void expectRefused(const Format& format, const Bytes& bytes) {
    bool unchanged = false;
    std::size_t memory = 0;
    const Status status = format.read(bytes, unchanged, memory);
    EXPECT_LT(memory, 1024u);
    EXPECT_FALSE(status);
    EXPECT_FALSE(status.message().empty());
    EXPECT_TRUE(unchanged);
}

class DamagedFiles : public ::testing::TestWithParam<Format (*)()> {};

TEST_P(DamagedFiles, EveryPrefixOfASoundFileIsRefused) {
    const Format format = GetParam()();
    for (std::size_t length = 0; length < format.sound.size(); ++length) {
        SCOPED_TRACE(length);
        expectRefused(format, Bytes(format.sound.begin(),
                                    format.sound.begin() + static_cast<std::ptrdiff_t>(length)));
    }
    bool unchanged = true;
    std::size_t memory = 0;
    EXPECT_TRUE(format.read(format.sound, unchanged, memory));
    EXPECT_FALSE(unchanged);
}

// One random change: bits flipped, bytes set to telling values, a 32-bit
// field overwritten with an extreme, bytes inserted, removed or repeated, or
// the end cut off.
void mutate(Bytes& bytes, std::mt19937& random) {
    const auto pick = [&](std::size_t limit) {
        return std::uniform_int_distribution<std::size_t>(0, limit)(random);
    };
    const auto at = [&] { return bytes.empty() ? 0 : pick(bytes.size() - 1); };
    static constexpr std::uint8_t kTelling[] = {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF};
    static constexpr std::uint32_t kExtremes[] = {0x7FFFFFFF, 0x80000000, 0xFFFFFFFF,
                                                  0x0000FFFF, 0xFFFEFFFF, 0x00000100};
    switch (pick(6)) {
        case 0:
            if (!bytes.empty()) {
                bytes[at()] ^= static_cast<std::uint8_t>(1u << pick(7));
            }
            break;
        case 1:
            if (!bytes.empty()) {
                bytes[at()] = kTelling[pick(std::size(kTelling) - 1)];
            }
            break;
        case 2:
            if (bytes.size() >= 4) {
                const std::size_t offset = pick(bytes.size() - 4);
                const std::uint32_t value = kExtremes[pick(std::size(kExtremes) - 1)];
                for (std::size_t i = 0; i < 4; ++i) {
                    bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
                }
            }
            break;
        case 3: {
            const std::size_t offset = pick(bytes.size());
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(offset), pick(8) + 1,
                         static_cast<std::uint8_t>(pick(255)));
            break;
        }
        case 4:
            if (!bytes.empty()) {
                const std::size_t offset = at();
                const std::size_t count = std::min(pick(16) + 1, bytes.size() - offset);
                bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                            bytes.begin() + static_cast<std::ptrdiff_t>(offset + count));
            }
            break;
        case 5:
            if (!bytes.empty()) {
                const std::size_t offset = at();
                const std::size_t count = std::min(pick(64) + 1, bytes.size() - offset);
                const Bytes copy(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                                 bytes.begin() + static_cast<std::ptrdiff_t>(offset + count));
                bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at()), copy.begin(),
                             copy.end());
            }
            break;
        default:
            bytes.resize(pick(bytes.size()));
            break;
    }
}

TEST_P(DamagedFiles, AHundredThousandMutatedFilesNeverCrashOrOverreach) {
    const Format format = GetParam()();
    std::mt19937 random(20240613);
    int refused = 0;
    for (int round = 0; round < 100'000; ++round) {
        Bytes bytes = format.sound;
        const int changes = 1 + static_cast<int>(random() % 3);
        for (int change = 0; change < changes; ++change) {
            mutate(bytes, random);
        }
        bool unchanged = false;
        std::size_t memory = 0;
        const Status status = format.read(bytes, unchanged, memory);
        if (!status) {
            ++refused;
            ASSERT_FALSE(status.message().empty()) << "round " << round;
            ASSERT_TRUE(unchanged) << "round " << round;
            ASSERT_LT(memory, 1024u) << "round " << round;
        } else {
            ASSERT_LE(memory, format.budget(bytes.size())) << "round " << round;
        }
    }
    // Most changes are caught; some (a flipped bit in a text) leave a sound file.
    EXPECT_GT(refused, 50'000) << format.name;
}

INSTANTIATE_TEST_SUITE_P(Formats, DamagedFiles, ::testing::Values(&projectFormat, &profileFormat),
                         [](const auto& info) { return std::string(info.param().name); });

}  // namespace
}  // namespace pelorine
