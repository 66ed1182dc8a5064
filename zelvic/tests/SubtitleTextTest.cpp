// The pieces of text subtitles that need no media: a file's text made UTF-8,
// and where expand leaves the picture for libass to draw on.

#include <gtest/gtest.h>

#include "front/Filters.h"
#include "subtitles/SubtitleText.h"

namespace zelvic::test {
namespace {

const std::string kWords =
    "Gr\xC3\xBC\xC3\x9F"
    "e";  // Grüße in UTF-8

std::string utf16(const std::string& ascii, bool bigEndian) {
    std::string bytes;
    for (const char c : ascii) {
        bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    }
    return bytes;
}

void expectText(const std::string& bytes, const std::string& codePage, const std::string& utf8,
                const std::string& encoding) {
    const auto text = subtitleTextAsUtf8(bytes, codePage);
    ASSERT_TRUE(text) << text.error().message;
    EXPECT_EQ(text->utf8, utf8);
    EXPECT_EQ(text->encoding, encoding);
}

TEST(SubtitleText, UnicodeIsToldByItsMarkOrItsBytes) {
    expectText(kWords, "", kWords, "UTF-8");
    expectText("\xEF\xBB\xBF" + kWords, "windows-1251", kWords, "UTF-8");
    expectText("\xFF\xFE" + utf16("1\n00:00:01,000", false), "", "1\n00:00:01,000", "UTF-16LE");
    expectText("\xFE\xFF" + utf16("1\n00:00:01,000", true), "", "1\n00:00:01,000", "UTF-16BE");
    expectText(utf16("1\n00:00:01,000 --> x", false), "", "1\n00:00:01,000 --> x", "UTF-16LE");
    expectText(utf16("1\n00:00:01,000 --> x", true), "", "1\n00:00:01,000 --> x", "UTF-16BE");
}

TEST(SubtitleText, EightBitTextIsGuessedOrNamed) {
    // Cyrillic words are runs of high bytes; Western letters sit among ASCII ones.
    EXPECT_EQ(guessLegacyCodePage("\xCF\xF0\xE8\xE2\xE5\xF2 \xEC\xE8\xF0"), "windows-1251");
    EXPECT_EQ(guessLegacyCodePage("Gr\xFC\xDF"
                                  "e aus K\xF6ln, caf\xE9"),
              "windows-1252");
    expectText("\xCF\xF0\xE8\xE2\xE5\xF2", "", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82",
               "windows-1251");
    expectText(
        "Gr\xFC\xDF"
        "e",
        "", kWords, "windows-1252");
    expectText(
        "\xA3\xF3"
        "d\xBC",
        "ISO-8859-2",
        "\xC5\x81\xC3\xB3"
        "d\xC5\xBA",
        "ISO-8859-2");
    // A code page named is only for text that is not Unicode.
    expectText(kWords, "ISO-8859-2", kWords, "UTF-8");
}

TEST(SubtitleText, WhatIsNotTextInTheEncodingFoundIsRefused) {
    const auto refused = [](const std::string& bytes, const std::string& codePage) {
        const auto text = subtitleTextAsUtf8(bytes, codePage);
        return text ? std::string() : text.error().message;
    };
    EXPECT_EQ(refused("caf\xE9", "NO-SUCH"), "unknown code page \"NO-SUCH\" (-subcp)");
    EXPECT_EQ(refused("\xEF\xBB\xBF"
                      "caf\xE9",
                      ""),
              "the text is marked as UTF-8 but is not");
    EXPECT_EQ(refused(std::string("\x01\x00\x9f\x13 data", 9), ""), "it is binary data, not text");
    EXPECT_EQ(refused("caf\xE9 au lait", "UTF-8"),
              "the text is not in UTF-8 (a byte sequence it does not have)");
}

TEST(SubtitleText, ThePictureAreaIsWhereExpandLeavesThePicture) {
    VideoInputFormat input;
    input.width = 640;
    input.height = 480;
    input.pixelFormat = AV_PIX_FMT_YUV420P;
    const VideoPlan letterboxed =
        planVideo({ScaleStep{362, 272}, ExpandStep{480, 272, -1, -1, false}}, {}, input);
    EXPECT_EQ(std::tie(letterboxed.pictureX, letterboxed.pictureY, letterboxed.pictureWidth,
                       letterboxed.pictureHeight),
              std::make_tuple(58, 0, 362, 272));
    const VideoPlan expandedFirst =
        planVideo({ExpandStep{640, 640, -1, -1, false}, ScaleStep{320, 320}}, {}, input);
    EXPECT_EQ(std::tie(expandedFirst.pictureX, expandedFirst.pictureY, expandedFirst.pictureWidth,
                       expandedFirst.pictureHeight),
              std::make_tuple(0, 40, 320, 240));
}

}  // namespace
}  // namespace zelvic::test
