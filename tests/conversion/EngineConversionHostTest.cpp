// A split Job converted end to end through real engine processes (the fake
// engine), the channel files and the identify run that measures part 1.

#include "conversion/EngineConversionHost.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "platform/FileSystem.h"
#include "support/TestSupport.h"

namespace pelorine {
namespace {

std::vector<std::vector<std::string>> recordedLines(const std::string& content) {
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(content);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> args;
        std::istringstream fields(line);
        std::string arg;
        while (std::getline(fields, arg, '\x1f')) {
            args.push_back(arg);
        }
        lines.push_back(args);
    }
    return lines;
}

TEST(EngineConversionHost, RunsEveryPartOfASplitJob) {
    testing::TempFolder folder;
    testing::installFakeEngine(folder.path());
    ::setenv("FAKE_ZELVIC_LOG", folder.file("engine-lines").c_str(), 1);
    testing::FolderPaths paths(folder.path());
    Engine engine(platform::systemProcessLauncher(), platform::systemProcessList(), paths,
                  platform::systemFileSystem());
    EngineLink link(platform::systemFileSystem());
    std::atomic<int> activityFlag{0};
    EngineConversionHost host(engine, link, activityFlag);
    host.setLogPath(folder.file("job.log"));

    Job job;
    job.sourcePath = folder.file("my \"holiday\" clip.avi");
    folder.write("my \"holiday\" clip.avi", "length=25");
    job.outputPath = folder.file("out put/M4V12345.MP4");
    std::filesystem::create_directories(folder.file("out put"));
    job.outputFormat = "mp4";
    job.split = "00:01:00";  // the fake engine makes 10 s parts of a time split
    job.duration = 25;
    job.videoDisabled = job.audioDisabled = "no";
    job.audioChannel = job.audioVolume = job.videoFrameRate = "default";
    job.audioSampleRate = "44100";
    EngineInvocation invocation;
    ASSERT_TRUE(host.prepare(invocation));
    const std::string channel = invocation.channelFolder;

    const JobReport report = convertJob(job, invocation, host);
    ::unsetenv("FAKE_ZELVIC_LOG");

    ASSERT_EQ(report.runs.size(), 3u);
    for (int part = 1; part <= 3; ++part) {
        const std::string output =
            folder.file("out put/M4V12345_clip_" + std::to_string(part) + ".mp4");
        EXPECT_TRUE(std::filesystem::exists(output)) << output;
        EXPECT_EQ(report.runs[part - 1].result.exitStatus, 0);
    }
    const auto lines = recordedLines(folder.read("engine-lines"));
    ASSERT_EQ(lines.size(), 4u);  // part 1, its identify, parts 2 and 3
    EXPECT_EQ(lines[0][1], job.sourcePath);
    EXPECT_EQ(lines[1][1], folder.file("out put/M4V12345_clip_1.mp4"));
    EXPECT_EQ(lines[1][2], "-vo");
    const std::vector<std::string> part3(lines[3].end() - 8, lines[3].end());
    EXPECT_EQ(part3, (std::vector<std::string>{"-ss", "20.000000", "-endpos", "00:01:00", "-o",
                                               folder.file("out put/M4V12345_clip_3.mp4"),
                                               "-currentfolder", channel}));
    // The engine found "run" in the control file before each encode.
    const auto control = platform::systemFileSystem().readPrefix(link.controlPath(), 4);
    ASSERT_TRUE(control);
    EXPECT_EQ((*control)[0], 0);
}

}  // namespace
}  // namespace pelorine
