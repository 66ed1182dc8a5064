#include <gtest/gtest.h>

#include <filesystem>

#include "handheld/HandheldLayout.h"
#include "support/TestSupport.h"

namespace pelorine::handheld {
namespace {

using testing::TempFolder;

TEST(HandheldNames, FatUnsafeCharactersAreCleaned) {
    const std::pair<const char*, const char*> cases[] = {
        {"Film: the \"best\" <cut>?", "Film_ the _best_ _cut__"},
        {"a/b\\c|d*e", "a_b_c_d_e"},
        {"tab\there\x01", "tab_here_"},
        {"  padded. . ", "padded"},
        {"", "Video"},
        {"...", "Video"},
        {"Überraschung", "Überraschung"},
    };
    for (const auto& [title, expected] : cases) {
        EXPECT_EQ(fatSafeName(title), expected) << title;
    }
    // Long titles are cut without splitting a character.
    const std::string cut = fatSafeName(std::string(9, 'x') + "éé", 11);
    EXPECT_EQ(cut, std::string(9, 'x') + "é");
}

class HandheldLayoutTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(stick.file("PSP")); }
    void touch(const std::string& relative) {
        std::filesystem::create_directories(
            std::filesystem::path(stick.file(relative)).parent_path());
        stick.write(relative, "x");
    }
    TempFolder stick;
};

TEST_F(HandheldLayoutTest, NumberedFoldersTakeTheNextFreeNumber) {
    HandheldLayout layout(stick.path(), platform::systemFileSystem(), false);
    auto avc = layout.place(HandheldMedia::AvcVideo, "ignored");
    ASSERT_TRUE(avc);
    EXPECT_EQ(avc->file, stick.file("MP_ROOT/100ANV01/MAQ00001.MP4"));
    EXPECT_EQ(avc->thumbnail, stick.file("MP_ROOT/100ANV01/MAQ00001.THM"));
    // A second copy of the same batch never gets the same name.
    EXPECT_EQ(layout.place(HandheldMedia::AvcVideo, "x")->file,
              stick.file("MP_ROOT/100ANV01/MAQ00002.MP4"));
    EXPECT_EQ(layout.place(HandheldMedia::Mpeg4Video, "x")->file,
              stick.file("MP_ROOT/100MNV01/M4V00001.MP4"));
}

TEST_F(HandheldLayoutTest, NumbersFollowWhatTheHandheldHolds) {
    touch("MP_ROOT/100ANV01/MAQ00001.MP4");
    touch("MP_ROOT/100ANV01/maq00007.thm");  // FAT names match in any case
    touch("MP_ROOT/100ANV01/MAQ1.MP4");      // not a numbered name
    HandheldLayout layout(stick.path(), platform::systemFileSystem(), false);
    EXPECT_EQ(layout.place(HandheldMedia::AvcVideo, "")->file,
              stick.file("MP_ROOT/100ANV01/MAQ00008.MP4"));
}

TEST_F(HandheldLayoutTest, AfterTheLastNumberTheLowestFreeOne) {
    touch("MP_ROOT/100MNV01/M4V99999.MP4");
    touch("MP_ROOT/100MNV01/M4V00001.MP4");
    HandheldLayout layout(stick.path(), platform::systemFileSystem(), false);
    EXPECT_EQ(layout.place(HandheldMedia::Mpeg4Video, "")->file,
              stick.file("MP_ROOT/100MNV01/M4V00002.MP4"));
}

TEST_F(HandheldLayoutTest, TitledFoldersKeepEqualTitlesApart) {
    touch("VIDEO/Holiday.mp4");
    touch("MUSIC/Song.MP3");
    HandheldLayout layout(stick.path(), platform::systemFileSystem(), true);
    auto first = layout.place(HandheldMedia::AvcVideo, "Holiday");
    EXPECT_EQ(first->file, stick.file("VIDEO/Holiday (2).MP4"));
    EXPECT_EQ(first->thumbnail, stick.file("VIDEO/Holiday (2).THM"));
    EXPECT_EQ(layout.place(HandheldMedia::Mpeg4Video, "Holiday")->file,
              stick.file("VIDEO/Holiday (3).MP4"));
    EXPECT_EQ(layout.place(HandheldMedia::AvcVideo, "Why? Not: now")->file,
              stick.file("VIDEO/Why_ Not_ now.MP4"));
    auto song = layout.place(HandheldMedia::Music, "Song");
    EXPECT_EQ(song->file, stick.file("MUSIC/Song (2).MP3"));
    EXPECT_TRUE(song->thumbnail.empty());
}

}  // namespace
}  // namespace pelorine::handheld
