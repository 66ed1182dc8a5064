#include "records/OutputFiles.h"

#include <gtest/gtest.h>

#include <limits>

#include "base/TimeText.h"
#include "records/ExitStatus.h"

namespace pelorine {
namespace {

TEST(OutputFilesTest, PartialNameSitsBesideTheOutput) {
    EXPECT_EQ(partialOutputPath("/v/PSP/MAQ53356.mp4"), "/v/PSP/MAQ53356.mp4.part");
}

TEST(OutputFilesTest, StoppedNameKeepsFolderAndExtension) {
    EXPECT_EQ(stoppedOutputPath("/v/PSP/MAQ53356.mp4", 104.9),
              "/v/PSP/MAQ53356 (stopped at 01m44s).mp4");
    EXPECT_EQ(stoppedOutputPath("/v/my.videos/clip_3.MP3", 3725.5),
              "/v/my.videos/clip_3 (stopped at 1h02m05s).MP3");
    // A dot in a folder name or at the start of the name is no extension.
    EXPECT_EQ(stoppedOutputPath("/v/my.videos/clip", 0.0), "/v/my.videos/clip (stopped at 00m00s)");
    EXPECT_EQ(stoppedOutputPath("/v/.hidden", 61.0), "/v/.hidden (stopped at 01m01s)");
}

TEST(OutputFilesTest, StoppedTimeClampsWhatIsNoPosition) {
    EXPECT_EQ(stoppedTimeText(-5.0), "00m00s");
    EXPECT_EQ(stoppedTimeText(std::numeric_limits<double>::quiet_NaN()), "00m00s");
    EXPECT_EQ(stoppedTimeText(std::numeric_limits<double>::infinity()), "00m00s");
    EXPECT_EQ(stoppedTimeText(1e300), "1000h00m00s");
    EXPECT_EQ(stoppedTimeText(59.999), "00m59s");
}

TEST(ExitStatusTest, CodesTheEngineDoesNotUseAreFailures) {
    EXPECT_EQ(exitStatusFromCode(0), ExitStatus::Done);
    EXPECT_EQ(exitStatusFromCode(4), ExitStatus::Quit);
    EXPECT_EQ(exitStatusFromCode(-1), ExitStatus::Failed);
    EXPECT_EQ(exitStatusFromCode(139), ExitStatus::Failed);
    EXPECT_EQ(code(ExitStatus::SourceUnreadable), 2);
}

}  // namespace
}  // namespace pelorine
