// A split Job converted end to end through real engine processes (the fake
// engine), the channel files and the identify run that measures part 1.

#include "conversion/EngineConversionHost.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
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
    RunControl control;
    EngineConversionHost host(engine, control);
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
    const EngineInvocation invocation{engine.path(), {}};
    std::string privateFolder;
    ASSERT_TRUE(engine.privateFolder(privateFolder));

    const JobReport report = convertJob(jobSettingsOf(job), invocation, host);
    ::unsetenv("FAKE_ZELVIC_LOG");

    ASSERT_EQ(report.runs.size(), 3u);
    for (int part = 1; part <= 3; ++part) {
        const std::string output =
            folder.file("out put/M4V12345_clip_" + std::to_string(part) + ".mp4");
        EXPECT_TRUE(std::filesystem::exists(output)) << output;
        // Status 0: the engine found "run" in its control file, not quit.
        EXPECT_EQ(report.runs[part - 1].result.exitStatus, 0);
    }
    const auto lines = recordedLines(folder.read("engine-lines"));
    ASSERT_EQ(lines.size(), 4u);  // part 1, its identify, parts 2 and 3
    EXPECT_EQ(lines[0][1], job.sourcePath);
    EXPECT_EQ(lines[1][1], folder.file("out put/M4V12345_clip_1.mp4"));
    EXPECT_EQ(lines[1][2], "-vo");
    const std::vector<std::string> part3(lines[3].end() - 8, lines[3].end() - 1);
    EXPECT_EQ(part3, (std::vector<std::string>{"-ss", "20.000000", "-endpos", "00:01:00", "-o",
                                               folder.file("out put/M4V12345_clip_3.mp4"),
                                               "-currentfolder"}));
    // Every run talks through a channel folder of its own, gone once it ended.
    std::set<std::string> channels;
    for (const auto& line : lines) {
        const std::string& channel = line.back();
        EXPECT_EQ(channel.rfind(privateFolder + "run-", 0), 0u) << channel;
        EXPECT_FALSE(std::filesystem::exists(channel)) << channel;
        channels.insert(channel);
    }
    EXPECT_EQ(channels.size(), lines.size());
}

}  // namespace
}  // namespace pelorine
