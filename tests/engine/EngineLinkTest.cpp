#include "engine/EngineLink.h"

#include <gtest/gtest.h>

#include "base/LittleEndian.h"
#include "support/TestSupport.h"

namespace pelorine {
namespace {

using testing::TempFolder;

class EngineLinkTest : public ::testing::Test {
protected:
    EngineLinkTest() { link.setChannelFolder(folder.path()); }

    std::vector<std::uint8_t> fileBytes(const std::string& name) {
        const std::string content = folder.read(name);
        return std::vector<std::uint8_t>(content.begin(), content.end());
    }

    TempFolder folder;
    EngineLink link{platform::systemFileSystem()};
};

TEST_F(EngineLinkTest, SetChannelFolderPointsTheThreeFilesAndResetsTheLength) {
    EXPECT_EQ(link.infoPath(), folder.path() + "videoinfo.dat");
    EXPECT_EQ(link.controlPath(), folder.path() + "vctrl.dat");
    EXPECT_EQ(link.progressPath(), folder.path() + "vprog.dat");
    EXPECT_EQ(link.mediaLength(), 0.0);
    EXPECT_EQ(link.mediaInfo().reservedDouble(), 1.0);
    EXPECT_FALSE(std::filesystem::exists(link.controlPath())) << "no file is opened";
}

TEST_F(EngineLinkTest, ControlFileHoldsTheCodeThenTheFixedValues) {
    const std::pair<Status (EngineLink::*)(), std::uint8_t> writes[] = {
        {&EngineLink::writeQuit, 2}, {&EngineLink::writePause, 1}, {&EngineLink::writeRun, 0}};
    for (const auto& [write, code] : writes) {
        ASSERT_TRUE((link.*write)());
        const std::vector<std::uint8_t> expected = {code, 0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0,
                                                    0,    0,    0,    0,     // code, 12 zero bytes
                                                    0x00, 0x00, 0x80, 0x3F,  // 1.0f
                                                    0,    0,    0,    0,    1, 0, 0, 0, 0, 0, 0, 0};
        EXPECT_EQ(fileBytes("vctrl.dat"), expected);
    }
}

TEST_F(EngineLinkTest, ProgressReadsMinusOneWithoutAFileAndTheFirstEightBytesOtherwise) {
    EXPECT_EQ(link.readProgress(), -1.0);
    std::vector<std::uint8_t> record(12, 0xEE);
    le::store<double>(record, 0, 42.25);
    folder.write("vprog.dat", std::string(record.begin(), record.end()));
    EXPECT_EQ(link.readProgress(), 42.25);
    EXPECT_EQ(link.progress(), 42.25);

    // A 6-byte file keeps the two high bytes of -1.0 (0xBFF0...): a negative value.
    folder.write("vprog.dat", std::string(6, '\0'));
    EXPECT_LT(link.readProgress(), 0.0);
}

TEST_F(EngineLinkTest, AShortInfoFileIsReadAsFarAsItGoes) {
    EngineLink fresh{platform::systemFileSystem()};
    EXPECT_FALSE(fresh.readInfo()) << "no channel folder yet";

    MediaInfo written;
    written.setMediaLength(90.0);
    written.setVideoSize(640, 480);
    folder.write("videoinfo.dat", std::string(written.bytes().begin(), written.bytes().end()));
    ASSERT_TRUE(link.readInfo());
    EXPECT_EQ(link.mediaLength(), 90.0);
    EXPECT_EQ(link.mediaInfo().videoWidth(), 640);

    folder.write("videoinfo.dat", std::string("\0\0\0\0\0\0\x24\x40", 8));  // 10.0, nothing more
    ASSERT_TRUE(link.readInfo());
    EXPECT_EQ(link.mediaLength(), 10.0);
    EXPECT_EQ(link.mediaInfo().videoWidth(), 640) << "the rest stays as it was";
}

TEST_F(EngineLinkTest, AFolderThatCannotBeWrittenIsReportedAfterBoundedRetries) {
    EngineLink lost{platform::systemFileSystem()};
    EXPECT_FALSE(lost.writeRun()) << "no channel folder yet";
    lost.setChannelFolder(folder.file("gone/"));
    const Status status = lost.writeQuit();
    EXPECT_FALSE(status);
    EXPECT_NE(status.message().find(folder.file("gone/")), std::string::npos);
}

}  // namespace
}  // namespace pelorine
