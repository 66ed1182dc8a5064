// Finding the optical drives: the block devices the kernel lists, or its
// CD-ROM information text where those cannot be read.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/OpticalDrives.h"
#include "support/TestSupport.h"

namespace pelorine::platform {
namespace {

using pelorine::testing::TempFolder;
using Drives = std::vector<std::string>;

TEST(OpticalDrives, SrBlockDevicesInNumberOrderAndNothingElse) {
    TempFolder block;
    for (const char* name : {"sr10", "sda", "sr2", "sda1", "loop0", "sr0", "srx", "sr"}) {
        std::filesystem::create_directory(block.file(name));
    }
    EXPECT_EQ(makeLinuxOpticalDrives(block.path(), "/nonexistent")->list(),
              (Drives{"/dev/sr0", "/dev/sr2", "/dev/sr10"}));
    TempFolder empty;
    EXPECT_TRUE(makeLinuxOpticalDrives(empty.path(), "/nonexistent")->list().empty());
}

TEST(OpticalDrives, TheCdromInformationWhenTheBlockFolderIsMissing) {
    TempFolder proc;
    proc.write("info",
               "CD-ROM information, Id: cdrom.c 3.20 2003/12/17\n\n"
               "drive name:\t\tsr1\tsr0\n"
               "drive speed:\t\t24\t48\n");
    EXPECT_EQ(makeLinuxOpticalDrives("/nonexistent", proc.file("info"))->list(),
              (Drives{"/dev/sr0", "/dev/sr1"}));
    EXPECT_TRUE(makeLinuxOpticalDrives("/nonexistent", "/nonexistent")->list().empty());
    EXPECT_TRUE(drivesFromCdromInfo("drive name:\n").empty());
    EXPECT_TRUE(drivesFromCdromInfo("").empty());
}

}  // namespace
}  // namespace pelorine::platform
