// The grid's decisions without a screen: shades, colours, file rows.

#include "grid/PropertyListLogic.h"

#include <gtest/gtest.h>

namespace pelorine {
namespace {

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
