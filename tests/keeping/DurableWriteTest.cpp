// Files that survive a power cut: written through a temporary file that
// reaches the disk before it is renamed, the rename reaching the disk after
// it. What the program asked is read back from the preloaded sync recorder.

#include <sys/stat.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <span>

#include "cli/CliProcess.h"
#include "platform/FileSystem.h"
#include "support/SyncRecord.h"
#include "support/TestSupport.h"

namespace pelorine {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

class DurableWriteTest : public ::testing::Test {
protected:
    // The names in the folder: no temporary file may be left.
    std::set<std::string> names() const {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            found.insert(entry.path().filename().string());
        }
        return found;
    }
    static mode_t modeOf(const std::string& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info.st_mode & 07777;
    }
    // Runs the probe with its syncs and renames recorded; the calls it made.
    std::vector<testing::TracedCall> traced(const std::vector<std::string>& args) {
        const std::string log = folder.file("trace.log");
        const testing::Finished run =
            testing::runCli(testing::tracerProgram(),
                            testing::tracedCommand(log, DURABLE_PROBE, args), folder.path());
        EXPECT_EQ(run.status, 0) << run.err;
        return testing::readTrace(log);
    }

    testing::TempFolder folder;
    platform::FileSystem& files = platform::systemFileSystem();
    // Descriptors are recorded as their real paths.
    std::string real = fs::canonical(folder.path()).string() + "/";
};

TEST_F(DurableWriteTest, ANewFileIsPrivateAndWhole) {
    ASSERT_TRUE(files.writeFileDurably(folder.file("list.vpt"), bytesOf("the list")));
    EXPECT_EQ(folder.read("list.vpt"), "the list");
    EXPECT_EQ(modeOf(folder.file("list.vpt")), 0600u);
    ASSERT_TRUE(files.writeFileDurably(folder.file("list.vpt"), bytesOf("a longer list")));
    EXPECT_EQ(folder.read("list.vpt"), "a longer list");
    EXPECT_EQ(names(), std::set<std::string>{"list.vpt"});
}

TEST_F(DurableWriteTest, AFailedWriteLeavesWhatWasThere) {
    fs::create_directories(folder.file("list.vpt/inside"));  // the rename over it fails
    const Status inTheWay = files.writeFileDurably(folder.file("list.vpt"), bytesOf("new"));
    ASSERT_FALSE(inTheWay);
    EXPECT_THAT(inTheWay.message(), HasSubstr("list.vpt"));
    EXPECT_TRUE(fs::is_directory(folder.file("list.vpt/inside")));
    EXPECT_EQ(names(), std::set<std::string>{"list.vpt"});

    const Status noFolder = files.writeFileDurably(folder.file("none/list.vpt"), bytesOf("new"));
    ASSERT_FALSE(noFolder);
    EXPECT_THAT(noFolder.message(), HasSubstr("none/list.vpt"));
}

TEST_F(DurableWriteTest, ARenameReplacesAndAMissingFileIsAnError) {
    folder.write("out.mp4.part", "whole");
    folder.write("out.mp4", "older");
    ASSERT_TRUE(files.renameDurably(folder.file("out.mp4.part"), folder.file("out.mp4")));
    EXPECT_EQ(folder.read("out.mp4"), "whole");
    EXPECT_EQ(names(), std::set<std::string>{"out.mp4"});

    const Status missing = files.renameDurably(folder.file("gone.part"), folder.file("gone"));
    ASSERT_FALSE(missing);
    EXPECT_THAT(missing.message(), HasSubstr("gone.part"));
    EXPECT_EQ(names(), std::set<std::string>{"out.mp4"});
}

// Each durable path syncs the file before its rename and the folder after.
TEST_F(DurableWriteTest, TheDataReachesTheDiskBeforeTheNameAndTheNameAfter) {
    fs::create_directory(folder.file("kept"));
    const std::string kept = real + "kept/";
    EXPECT_EQ(testing::durableRenameProblem(traced({"write", kept + "list.vpt", "the list"}), "",
                                            kept + "list.vpt"),
              "");
    EXPECT_EQ(testing::durableRenameProblem(traced({"save", kept + "batch.vpt", "a project"}), "",
                                            kept + "batch.vpt"),
              "");
    folder.write("kept/out.mp4.part", "whole");
    EXPECT_EQ(
        testing::durableRenameProblem(traced({"rename", kept + "out.mp4.part", kept + "out.mp4"}),
                                      kept + "out.mp4.part", kept + "out.mp4"),
        "");
    EXPECT_EQ(folder.read("kept/out.mp4"), "whole");
}

// The check itself: a plain rename, never synced, is caught.
TEST_F(DurableWriteTest, AnUnsyncedRenameIsSeenAsSuch) {
    const std::string log = folder.file("trace.log");
    folder.write("a.part", "x");
    const testing::Finished run = testing::runCli(
        testing::tracerProgram(),
        testing::tracedCommand(log, "/bin/mv", {real + "a.part", real + "a"}), folder.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(testing::durableRenameProblem(testing::readTrace(log), real + "a.part", real + "a"),
                HasSubstr("not synced before its rename"));
}

}  // namespace
}  // namespace pelorine
