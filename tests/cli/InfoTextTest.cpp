// What "info" prints: every field of the identified source, streams one a line.

#include "cli/InfoText.h"

#include <gtest/gtest.h>

namespace pelorine::cli {
namespace {

TEST(InfoText, EveryFieldAndEveryStream) {
    MediaInfo info;
    info.clearStreams();
    info.setMediaLength(3725.5);
    info.setVideoSize(640, 480);
    info.setAudio(0, 0, "eng", "aac 2ch");
    info.setAudio(1, 1, "deu", "");
    info.setSubtitle(0, 0, "fra");
    EXPECT_EQ(infoText("/v/holiday.avi", info, 12'345'678),
              "/v/holiday.avi\n"
              "  Length:     01:02:05.50\n"
              "  Picture:    640x480\n"
              "  File size:  12.3 MB (12345678 bytes)\n"
              "  Audio:      0: eng (aac 2ch)\n"
              "              1: deu\n"
              "  Subtitles:  0: fra\n");
}

TEST(InfoText, SoundOnlyWithoutStreamsOrSize) {
    MediaInfo info;
    info.clearStreams();
    info.setMediaLength(0.999);
    EXPECT_EQ(infoText("a.mp3", info, std::nullopt),
              "a.mp3\n"
              "  Length:     00:00:00.99\n"
              "  Picture:    none\n"
              "  Audio:      none\n"
              "  Subtitles:  none\n");
}

TEST(InfoText, SizesInThousands) {
    EXPECT_EQ(sizeText(1), "1 byte");
    EXPECT_EQ(sizeText(999), "999 bytes");
    EXPECT_EQ(sizeText(1000), "1.0 kB (1000 bytes)");
    EXPECT_EQ(sizeText(4'700'000'000), "4.7 GB (4700000000 bytes)");
}

}  // namespace
}  // namespace pelorine::cli
