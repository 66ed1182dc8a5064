#include <gtest/gtest.h>

#include <filesystem>

#include "handheld/HandheldFinder.h"
#include "platform/MountTable.h"
#include "support/TestSupport.h"

namespace pelorine::handheld {
namespace {

using testing::TempFolder;

TEST(MountInfo, LinesAreRead) {
    platform::MountPoint point;
    ASSERT_TRUE(platform::parseMountInfoLine(
        "36 35 8:17 / /media/user/PSP\\040STICK rw,nosuid,nodev shared:1 - vfat /dev/sdb1 "
        "rw,fmask=0022",
        point));
    EXPECT_EQ(point.path, "/media/user/PSP STICK");
    EXPECT_EQ(point.type, "vfat");
    EXPECT_EQ(point.device, "/dev/sdb1");
    EXPECT_FALSE(point.readOnly);
    ASSERT_TRUE(platform::parseMountInfoLine(
        "40 35 8:33 / /mnt/ro ro,relatime - exfat /dev/sdc1 rw", point));
    EXPECT_TRUE(point.readOnly);
    EXPECT_FALSE(platform::parseMountInfoLine("garbage", point));
    EXPECT_FALSE(platform::parseMountInfoLine("1 2 3 / /x rw no-separator here", point));
    // The real table of this machine reads without failing.
    EXPECT_FALSE(platform::systemMountTable().mountPoints().empty());
}

class ListedMounts final : public platform::MountTable {
public:
    std::vector<platform::MountPoint> mountPoints() const override { return points; }
    std::vector<platform::MountPoint> points;
};

TEST(HandheldFinder, FatFilesystemsWithTheHandheldsFolders) {
    TempFolder stick, noFolders, ext4;
    std::filesystem::create_directories(stick.file("psp/GAME"));
    std::filesystem::create_directories(ext4.file("MP_ROOT"));
    ListedMounts mounts;
    mounts.points = {{ext4.path(), "ext4", "/dev/sda1", false},
                     {noFolders.path(), "vfat", "/dev/sdb1", false},
                     {stick.path(), "vfat", "/dev/sdc1", true}};
    const auto sticks = findHandhelds(mounts, platform::systemFileSystem());
    ASSERT_EQ(sticks.size(), 1u);
    EXPECT_EQ(sticks[0].root, stick.path());
    EXPECT_TRUE(sticks[0].readOnly);

    // The override stands for the only stick, when it looks like one.
    EXPECT_EQ(findHandhelds(mounts, platform::systemFileSystem(), ext4.path()).size(), 1u);
    EXPECT_TRUE(findHandhelds(mounts, platform::systemFileSystem(), noFolders.path()).empty());
}

}  // namespace
}  // namespace pelorine::handheld
