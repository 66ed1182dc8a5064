// The logs a batch keeps: a folder per batch named by its start, the last
// fifty kept, one log per Job, and the engine's reason read back from a log.

#include "conversion/BatchLogs.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TestSupport.h"

namespace pelorine {
namespace {

using namespace std::chrono;

TEST(BatchLogs, FolderNamesSortInTime) {
    const sys_days day = year{2026} / December / 8;
    EXPECT_EQ(batchFolderName(day + hours(10) + minutes(5) + seconds(3) + milliseconds(900)),
              "2026-12-08_10-05-03Z");
    EXPECT_TRUE(isBatchFolderName("2026-12-08_10-05-03Z"));
    EXPECT_TRUE(isBatchFolderName("2026-12-08_10-05-03Z-12"));
    for (const char* other : {"notes.txt", "2026-12-08_10-05-03", "2026-12-08_10-05-03Z-",
                              "2026-12-08_10-05-03Z-x", "2026-1a-08_10-05-03Z", ""}) {
        EXPECT_FALSE(isBatchFolderName(other)) << other;
    }
}

TEST(BatchLogs, TheOldestBatchesGoOthersStay) {
    const std::vector<std::string> names = {"2026-12-08_10-05-03Z-2",  "mine",
                                            "2026-12-08_10-05-03Z",    "2025-01-01_00-00-00Z",
                                            "2026-12-08_10-05-03Z-10", "2027-01-01_00-00-00Z"};
    EXPECT_EQ(batchFoldersToRemove(names, 2),
              (std::vector<std::string>{"2025-01-01_00-00-00Z", "2026-12-08_10-05-03Z",
                                        "2026-12-08_10-05-03Z-2"}));
    EXPECT_TRUE(batchFoldersToRemove(names, 5).empty());
}

TEST(BatchLogs, ANewBatchKeepsTheLastFifty) {
    testing::TempFolder folder;
    const std::string logs = folder.file("state/pelorine/logs/");
    const sys_days day = year{2026} / December / 8;
    for (int i = 0; i < 55; ++i) {
        std::filesystem::create_directories(logs + batchFolderName(day + seconds(i)));
    }
    folder.write("state/pelorine/logs/readme.txt", "the user's");
    std::string made;
    ASSERT_TRUE(startBatchLogs(platform::systemFileSystem(), logs, day + seconds(54), made));
    EXPECT_EQ(made, logs + "2026-12-08_00-00-54Z-2/") << "a second batch in the same second";
    std::size_t batches = 0;
    for (const auto& entry : std::filesystem::directory_iterator(logs)) {
        batches += isBatchFolderName(entry.path().filename().string()) ? 1 : 0;
    }
    EXPECT_EQ(batches, kKeptBatches);
    EXPECT_FALSE(std::filesystem::exists(logs + batchFolderName(day + seconds(5))));
    EXPECT_TRUE(std::filesystem::exists(logs + batchFolderName(day + seconds(6))));
    EXPECT_TRUE(std::filesystem::exists(logs + "readme.txt"));
}

TEST(BatchLogs, OneLogPerJobNamedByItsPlaceAndSource) {
    Job job;
    job.sourcePath = "/videos/holiday 2026.avi";
    EXPECT_EQ(jobLogPath("/logs/b/", 2, job), "/logs/b/03 holiday 2026.log");
    job.sourcePath = "DVD_DRIVE_/dev/sr0";
    EXPECT_EQ(jobLogPath("/logs/b/", 11, job), "/logs/b/12 sr0.log");
}

TEST(BatchLogs, TheEnginesReasonIsItsLastFailureLine) {
    EXPECT_EQ(engineFailureReason("opened input\nfailed: cannot write \"/media/x.mp4\": "
                                  "Read-only file system\n"),
              "cannot write \"/media/x.mp4\": Read-only file system");
    EXPECT_EQ(engineFailureReason("zelvic: -ovc needs a value\r\n"), "-ovc needs a value");
    EXPECT_EQ(engineFailureReason("failed: first\nfailed: second"), "second");
    EXPECT_EQ(engineFailureReason("all is well\nfailed:\n"), std::nullopt);
    EXPECT_EQ(engineFailureReason(""), std::nullopt);
}

}  // namespace
}  // namespace pelorine
