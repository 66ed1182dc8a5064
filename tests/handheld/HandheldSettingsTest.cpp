#include <gtest/gtest.h>

#include "settings/HandheldSettings.h"
#include "settings/Settings.h"
#include "support/MemoryFileSystem.h"

namespace pelorine {
namespace {

TEST(HandheldSettings, DefaultsStoredBesideTheGeneralSettings) {
    testing::MemoryFileSystem files;
    const std::string file = "/home/me/.config/pelorine/zelvic.ini";
    files.put(file, "[GENERAL]\nOverWriteType=3\nOutputPath=/videos\n");
    HandheldSettings handheld(files, file);
    handheld.read();
    EXPECT_TRUE(handheld.thumbnails());
    EXPECT_FALSE(handheld.newerFirmware());
    EXPECT_FALSE(handheld.copyWhenFinished());

    ASSERT_TRUE(handheld.setThumbnails(false));
    ASSERT_TRUE(handheld.setNewerFirmware(true));
    ASSERT_TRUE(handheld.setCopyWhenFinished(true));
    // The general settings write their section without losing this one.
    Settings general(files, file, "/default");
    general.read();
    EXPECT_EQ(general.overwritePolicy(), 3);
    ASSERT_TRUE(general.setOutputPath("/elsewhere"));

    HandheldSettings again(files, file);
    again.read();
    EXPECT_FALSE(again.thumbnails());
    EXPECT_TRUE(again.newerFirmware());
    EXPECT_TRUE(again.copyWhenFinished());
    EXPECT_NE(files.text(file).find("OutputPath=/elsewhere"), std::string::npos);
}

}  // namespace
}  // namespace pelorine
