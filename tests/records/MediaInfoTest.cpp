#include "records/MediaInfo.h"

#include <gtest/gtest.h>

#include "records/ChannelFiles.h"

namespace pelorine {
namespace {

TEST(MediaInfo, FieldsLandAtTheirOffsets) {
    MediaInfo info;
    info.setMediaLength(12.5);
    info.setVideoSize(640, 480);
    info.setTitleCount(3);
    info.setChapterCount(3, 17);
    info.setAudio(0, 128, "English", "ac3 2ch");
    info.setSubtitle(1, 1, "French");
    const auto bytes = info.bytes();
    EXPECT_EQ(bytes[16], 0x80);  // 640 = 0x280, little-endian
    EXPECT_EQ(bytes[17], 0x02);
    EXPECT_EQ(bytes[20], 0xE0);  // 480 = 0x1E0
    EXPECT_EQ(bytes[28], 3);
    EXPECT_EQ(bytes[32 + 4 * 3], 17);
    EXPECT_EQ(bytes[2080], 128);
    EXPECT_EQ(bytes[2592], 'E');
    EXPECT_EQ(bytes[68128], 'a');
    EXPECT_EQ(bytes[133664 + 4], 1);
    EXPECT_EQ(bytes[134176 + 512], 'F');
    // 12.5 as an IEEE double is 0x4029000000000000.
    EXPECT_EQ(bytes[7], 0x40);
    EXPECT_EQ(bytes[6], 0x29);
    EXPECT_EQ(info.chapterCount(3), 17);
    EXPECT_EQ(info.audioNote(0), "ac3 2ch");
}

TEST(MediaInfo, ListLengthStopsAtFirstNegativeIdOrAt128) {
    MediaInfo info;
    info.clearStreams();
    EXPECT_EQ(info.audioCount(), 0);
    info.setAudio(0, 0x80, "a", "b");
    info.setAudio(1, 0x81, "a", "b");
    info.setAudio(3, 0x83, "a", "b");
    EXPECT_EQ(info.audioCount(), 2);

    MediaInfo full;  // zero-filled: every id is 0, which counts
    EXPECT_EQ(full.audioCount(), 128);
    EXPECT_EQ(full.subtitleCount(), 128);
    EXPECT_EQ(full.audioId(128), -1);
}

TEST(MediaInfo, NegativeFirstIdGivesAnEmptyList) {
    MediaInfo info;
    info.setAudio(0, -5, "x", "y");
    info.setAudio(1, 3, "x", "y");
    EXPECT_EQ(info.audioCount(), 0);
}

TEST(MediaInfo, TextsAreCutToTheirSlotAndAnUnterminatedSlotIsSafe) {
    MediaInfo info;
    info.setAudio(0, 1, std::string(600, 'n'), "");
    EXPECT_EQ(info.audioName(0).size(), 511u);
    auto bytes = info.bytes();
    std::fill_n(bytes.begin() + MediaInfo::kSubtitleNames, 512, 'z');
    EXPECT_EQ(info.subtitleName(0), std::string(512, 'z'));
}

TEST(MediaInfo, AnEmptyViewClearsItsSlot) {
    MediaInfo info;
    info.setSubtitle(0, 1, "eng");
    info.setSubtitle(0, 1, std::string_view{});
    EXPECT_EQ(info.subtitleName(0), "");
}

TEST(ChannelFiles, ControlRecordBytes) {
    const auto record = channel::makeControlRecord(channel::Command::Quit);
    const std::array<std::uint8_t, 32> expected = {
        2,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // code, 12 reserved zero bytes
        0x00, 0x00, 0x80, 0x3F,                                      // 1.0f
        0,    0,    0,    0,    1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(record, expected);
    EXPECT_EQ(channel::readCommand(record.data(), record.size(), channel::Command::Run),
              channel::Command::Quit);
    EXPECT_EQ(channel::readCommand(record.data(), 3, channel::Command::Pause),
              channel::Command::Pause);
}

}  // namespace
}  // namespace pelorine
