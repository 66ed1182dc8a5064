// pelorine-cli run PROJECT --resume as a real process with the fake engine:
// a batch that did not get through is run again with the same command, and
// only the Jobs whose outputs are not there are converted.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/CliProcess.h"
#include "conversion/OutputNames.h"
#include "project/ProjectFile.h"
#include "records/OutputFiles.h"
#include "support/Recorders.h"
#include "support/TestSupport.h"

namespace pelorine {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::UnorderedElementsAre;

class ResumeTest : public ::testing::Test {
protected:
    ResumeTest() {
        testing::installFakeEngine(folder.path());
        fs::copy_file(PELORINE_CLI_PATH, cli);
    }
    void saveJobs(const std::vector<std::string>& names) {
        JobList list;
        for (const std::string& name : names) {
            list.append(testing::plainJob(folder.file(name + ".avi"),
                                          folder.file("out/" + name + ".MP4"), 100));
        }
        ASSERT_TRUE(saveProject(folder.file("batch.vpt"), list, platform::systemFileSystem()));
    }
    testing::Finished run(std::vector<std::string> more = {}) {
        std::vector<std::string> arguments = {"run", folder.file("batch.vpt")};
        arguments.insert(arguments.end(), more.begin(), more.end());
        fs::remove(folder.file("engine.log"));
        return testing::runCli(cli, arguments, folder.path(),
                               {"FAKE_ZELVIC_LOG=" + folder.file("engine.log")});
    }
    // The outputs the engine was asked to write, in order.
    std::vector<std::string> converted() const {
        std::vector<std::string> outputs;
        std::ifstream log(folder.file("engine.log"));
        for (std::string line; std::getline(log, line);) {
            if (const std::size_t at = line.find("\x1f-o\x1f"); at != std::string::npos) {
                const std::string rest = line.substr(at + 4);
                outputs.push_back(fileNameOf(rest.substr(0, rest.find('\x1f'))));
            }
        }
        return outputs;
    }
    static std::string fileNameOf(const std::string& path) {
        return fs::path(path).filename().string();
    }

    testing::TempFolder folder;
    std::string cli = folder.file("pelorine-cli");
};

TEST_F(ResumeTest, OnlyTheJobsWithoutTheirOutputsAreConvertedAgain) {
    folder.write("first.avi", "length=5");
    folder.write("second.avi", "length=5 fail why=the disc was scratched");
    folder.write("third.avi", "length=5");
    saveJobs({"first", "second", "third"});
    const testing::Finished interrupted = run();
    EXPECT_EQ(interrupted.status, 1);
    EXPECT_THAT(interrupted.out, HasSubstr("Summary: 2 done, 1 failed\n"));
    // The stopped file of a Job and a part left unfinished count for nothing.
    fs::remove(folder.file("out/third.mp4"));
    folder.write("out/third (stopped at 00m02s).mp4", "length=2");
    folder.write(partialOutputPath("out/third.mp4"), "length=3");
    folder.write("second.avi", "length=5");

    const testing::Finished resumed = run({"--resume"});
    EXPECT_EQ(resumed.status, 0) << resumed.err;
    EXPECT_THAT(converted(), UnorderedElementsAre("second.mp4", "third.mp4"));
    EXPECT_THAT(resumed.out, HasSubstr("Summary: 2 done, 1 skipped\n"));
    EXPECT_THAT(resumed.out, HasSubstr("1. skipped  " + folder.file("first.avi") +
                                       ": converted before, its output is there (--resume)\n"));

    const testing::Finished again = run({"--resume"});
    EXPECT_EQ(again.status, 0);
    EXPECT_TRUE(converted().empty());
    EXPECT_THAT(again.out, HasSubstr("Summary: 3 skipped\n"));
    // A split Job whose first part is there may have ended before its last.
    JobList split;
    split.append(testing::plainJob(folder.file("first.avi"), folder.file("out/long.MP4"), 100));
    split.job(0).split = "00:00:02";
    ASSERT_TRUE(saveProject(folder.file("batch.vpt"), split, platform::systemFileSystem()));
    std::ofstream(partOutputPath(folder.file("out/long"), 1, "mp4")) << "length=2";
    EXPECT_EQ(run({"--resume", "--overwrite", "replace"}).status, 0);
    EXPECT_FALSE(converted().empty()) << "converted again";
    saveJobs({"first", "second", "third"});
    // Without --resume every Job is converted, as before.
    EXPECT_EQ(run({"--overwrite", "replace"}).status, 0);
    EXPECT_EQ(converted().size(), 3u);
}

}  // namespace
}  // namespace pelorine
