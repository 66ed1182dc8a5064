// Profile files byte for byte, their rows of every editor kind, and damage.

#include "profiles/ProfileFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "profiles/SettingsRows.h"
#include "project/CountingAllocator.h"
#include "project/FileBytes.h"
#include "support/MemoryFileSystem.h"

namespace pelorine {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAreArray;
using testing::FileBytes;
using ::testing::HasSubstr;

ProfileRows startRows() {
    ProfileRows rows;
    const SettingsRows settings;
    std::copy(settings.items().begin(), settings.items().end(), rows.begin());
    return rows;
}

Bytes encode(const ProfileRows& rows) {
    Bytes bytes;
    EXPECT_TRUE(encodeProfile(rows, bytes));
    return bytes;
}

TEST(ProfileFileFormat, TheStartUpRowsBeginWithClipVideo) {
    const Bytes bytes = encode(startRows());
    const Bytes expected =
        FileBytes().i32(1).str("no|yes|").str("no").i32(0).str("Clip video").bytes();
    ASSERT_GT(bytes.size(), expected.size());
    EXPECT_THAT(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(expected.size())),
                ElementsAreArray(expected));
    // The second row is the "Start time" edit: no options, not a list.
    const Bytes second =
        FileBytes().i32(0).str("").str("00:00:00.00").i32(1).str("Start time").bytes();
    EXPECT_TRUE(std::search(bytes.begin(), bytes.end(), second.begin(), second.end()) ==
                bytes.begin() + static_cast<std::ptrdiff_t>(expected.size()));
}

// Every row comes back with all five fields, whatever the editor, the name
// or the list flag.
TEST(ProfileFileFormat, RowsComeBackWithAllTheirFields) {
    ProfileRows rows = startRows();
    rows[5].kind = EditorKind::Colour;
    rows[5].value = "RGB(12,34,56)";
    rows[6].kind = EditorKind::Font;
    rows[6].value = "DejaVu Sans";
    rows[7].kind = EditorKind::File;
    rows[7].value = "/home/zoë/logo.gif";
    rows[8].name = "Bitrate (renamed)";
    rows[8].fixedList = 7;
    rows[9].options = std::string(300, 'x') + "|";
    ProfileRows read;
    ASSERT_TRUE(decodeProfile(encode(rows), read));
    EXPECT_EQ(read, rows);
}

TEST(ProfileFileFormat, DamagedFilesAreRefusedWithAMessage) {
    const Bytes good = encode(startRows());
    const auto with = [&](std::size_t offset, std::uint8_t byte) {
        Bytes changed = good;
        changed[offset] = byte;
        return changed;
    };
    // The first row's kind is at 4 + 8 + 3 = 15.
    ASSERT_EQ(good[15], 0);
    Bytes longer = good;
    longer.push_back(0);
    const Bytes seventeenRows = Bytes(good.begin(), good.end() - 1);
    const struct {
        const char* what;
        Bytes bytes;
        const char* message;
    } cases[] = {
        {"an editor kind of 5", with(15, 5), "editor kind of row 1 of 18"},
        {"a negative editor kind", with(18, 0xFF), "editor kind of row 1 of 18"},
        {"a name cut short", seventeenRows, "ends inside the name of row 18 of 18"},
        {"a byte after the last row", longer, "after the last row"},
        {"no rows", Bytes{}, "list flag of row 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ProfileRows rows = startRows();
        const testing::AllocationMeter meter;
        const Status status = decodeProfile(c.bytes, rows);
        EXPECT_LT(meter.bytes(), 1024u);
        ASSERT_FALSE(status);
        EXPECT_THAT(status.message(), HasSubstr(c.message));
        EXPECT_EQ(rows, startRows());
    }
}

TEST(ProfileFiles, SavedAndOpened) {
    testing::MemoryFileSystem files;
    ASSERT_TRUE(files.createFolders("/home/me"));
    ProfileRows rows = startRows();
    rows[3].value = "mp3";
    ASSERT_TRUE(saveProfile("/home/me/mine.profile", rows, files));
    const OpenedProfile opened = openProfile("/home/me/mine.profile", files);
    ASSERT_EQ(opened.result, OpenedProfile::Result::Opened) << opened.detail.message();
    EXPECT_EQ(opened.rows, rows);

    EXPECT_EQ(openProfile("/home/me/none.profile", files).result,
              OpenedProfile::Result::CannotRead);
    files.put("/home/me/cut.profile", std::string("\x01\x00", 2));
    const OpenedProfile cut = openProfile("/home/me/cut.profile", files);
    EXPECT_EQ(cut.result, OpenedProfile::Result::Damaged);
    EXPECT_THAT(cut.detail.message(), HasSubstr("cut.profile\" is damaged"));
}

}  // namespace
}  // namespace pelorine
