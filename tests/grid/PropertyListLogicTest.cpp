// The grid's decisions without a screen: shades, commits, colours.

#include "grid/PropertyListLogic.h"

#include <gtest/gtest.h>

namespace pelorine {
namespace {

PropertyItem row(const std::string& name, const std::string& value = "") {
    PropertyItem item;
    item.name = name;
    item.value = value;
    return item;
}

TEST(GridCommits, ComboChoiceNamesTheSpecialRowBeforeTheGeneralNotice) {
    struct Case {
        const char* name;
        GridNotices expected;
    };
    const Case cases[] = {
        {"Output format", {GridNotice::OutputFormatChosen, GridNotice::ValueChanged}},
        {"Clip video", {GridNotice::ClipVideoChosen, GridNotice::ValueChanged}},
        {"Video size", {GridNotice::ValueChanged}},
        {"output format", {GridNotice::ValueChanged}},  // names match case-sensitively
        {"Start time", {GridNotice::ValueChanged}},
    };
    for (const Case& c : cases) {
        PropertyItem item = row(c.name, "old");
        EXPECT_EQ(commitComboChoice(item, "new"), c.expected) << c.name;
        EXPECT_EQ(item.value, "new");
    }
}

TEST(GridCommits, TypingIntoAComboIsAlwaysJustAValueChange) {
    for (const char* name : {"Output format", "Clip video", "Video bitrate"}) {
        PropertyItem item = row(name, "1200");
        EXPECT_EQ(commitComboText(item, "999"), GridNotices{GridNotice::ValueChanged});
        EXPECT_EQ(item.value, "999");
    }
}

TEST(GridCommits, EditAnnouncesClipTimesOnlyInTheTwoTimeRows) {
    // Whatever the text reads: the window checks it and says what is wrong.
    for (const char* text : {"00:00:10.00", "00:00:10.0", " 00:00:10.00 ", "soon"}) {
        PropertyItem end = row("End time");
        EXPECT_EQ(commitEditText(end, text), GridNotices{GridNotice::ClipTimeTyped}) << text;
        EXPECT_EQ(end.value, text);
    }
    PropertyItem start = row("Start time");
    EXPECT_EQ(commitEditText(start, "00:00:10.00"), GridNotices{GridNotice::ClipTimeTyped});

    for (const char* name : {"Split", "start time", "Clip video"}) {
        PropertyItem other = row(name);
        EXPECT_EQ(commitEditText(other, "00:00:10.00"), GridNotices{}) << name;
        EXPECT_EQ(other.value, "00:00:10.00");
    }
}

TEST(RowShading, VideoRowsInAnyCaseAreDarker) {
    const Rgb dark{235, 235, 235};
    const Rgb light{250, 250, 250};
    for (const char* name : {"Video size", "Video codec", "video frame rate", "VIDEO", "Videos"}) {
        EXPECT_TRUE(isVideoRow(name)) << name;
        EXPECT_EQ(nameCellShade(name), dark) << name;
    }
    for (const char* name : {"Audio codec", "Clip video", "quantizer min", "Vide", "", " Video"}) {
        EXPECT_FALSE(isVideoRow(name)) << name;
        EXPECT_EQ(nameCellShade(name), light) << name;
    }
}

TEST(RgbValues, ParseReadsEachNumberUpToItsSeparator) {
    EXPECT_EQ(parseRgbValue("RGB(12,34,56)"), (Rgb{12, 34, 56}));
    EXPECT_EQ(parseRgbValue("RGB(0, 128,255)"), (Rgb{0, 128, 255}));
    EXPECT_EQ(parseRgbValue("RGB(255,255,255) trailing"), (Rgb{255, 255, 255}));
    EXPECT_EQ(parseRgbValue("RGB(1x,2,3)"), (Rgb{1, 2, 3}));  // read as far as it is a number
}

TEST(RgbValues, ParseGivesNothingWithoutTheMarkerOrSeparators) {
    for (const char* value : {"", "rgb(1,2,3)", "(1,2,3)", "RGB(1,2)", "RGB(1,2,3", "RGB("}) {
        EXPECT_EQ(parseRgbValue(value), std::nullopt) << value;
    }
}

TEST(RgbValues, FormatWritesTheValueTheParserReads) {
    EXPECT_EQ(formatRgbValue({1, 2, 3}), "RGB(1,2,3)");
    EXPECT_EQ(formatRgbValue({255, 0, 128}), "RGB(255,0,128)");
    const Rgb colour{213, 224, 240};
    EXPECT_EQ(parseRgbValue(formatRgbValue(colour)), colour);
}

TEST(FileRows, ChooserStartsInTheFolderOfTheValue) {
    EXPECT_EQ(startFolderOf("/home/ann/pics/cat.gif"), "/home/ann/pics");
    EXPECT_EQ(startFolderOf("/cat.gif"), "");
    EXPECT_EQ(startFolderOf("cat.gif"), "");
    EXPECT_EQ(startFolderOf(""), "");
}

}  // namespace
}  // namespace pelorine
