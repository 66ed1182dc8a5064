#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "CommandLines.h"
#include "Engine.h"
#include "Probe.h"
#include "records/ChannelFiles.h"
#include "records/OutputFiles.h"

namespace zelvic::test {
namespace {

using namespace std::chrono_literals;

JobLine longJob(const TempDir& dir) {
    JobLine job;
    job.source = fixturePath("long.mp4");
    job.output = dir.file("out.mp4");
    job.folder = dir.folder();
    job.videoCodec = "h264";
    job.videoBitrate = "768";
    job.sourceWidth = fixture("long.mp4").width;
    job.sourceHeight = fixture("long.mp4").height;
    return job;
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Progress keeps coming while the engine works, then pause holds it, then
// quit ends the run with a shorter file that still plays, under the stopped
// name; the final name is never written, and a file already there under it
// stays as it was. (How quickly each of these happens is measured by
// bench/channel_timing.sh.)
TEST(Channel, ProgressPauseAndQuit) {
    TempDir dir;
    writeControl(dir.folder(), 0);
    const JobLine job = longJob(dir);
    std::ofstream(job.output) << "an earlier conversion";
    Process engine(enginePath(), splitCommandLine(composeCommandLine(job)), dir.file("log.txt"));

    // The position rises through several distinct values.
    std::vector<double> seen;
    const bool advanced = eventually(
        [&] {
            const auto progress = readProgress(dir.folder());
            if (progress && (seen.empty() || *progress != seen.back())) {
                seen.push_back(*progress);
            }
            return seen.size() >= 3 && seen.back() >= 2.0;
        },
        30s);
    ASSERT_TRUE(advanced) << "position " << (seen.empty() ? -1 : seen.back());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));

    writeControl(dir.folder(), 1);
    // Paused: the position settles and stays, and the engine keeps running.
    double held = -1;
    ASSERT_TRUE(eventually(
        [&] {
            const double before = readProgress(dir.folder()).value_or(-1);
            std::this_thread::sleep_for(300ms);
            held = readProgress(dir.folder()).value_or(-2);
            return held == before;
        },
        10s));
    EXPECT_TRUE(engine.running());
    EXPECT_LT(held, fixture("long.mp4").length - 5);
    // Meanwhile the file grows under its partial name only.
    EXPECT_TRUE(fs::exists(pelorine::partialOutputPath(job.output)));
    EXPECT_EQ(readText(job.output), "an earlier conversion");

    writeControl(dir.folder(), 2);
    const ProcessEnd end = engine.wait(30s);
    ASSERT_TRUE(end.exited);
    EXPECT_EQ(end.status, ExitStatus::Quit);

    // The last record says where the output ends; the stopped name says the same.
    const double position = readProgress(dir.folder()).value_or(-1);
    EXPECT_NEAR(position, held, 1.0);
    const std::string stopped = pelorine::stoppedOutputPath(job.output, position);
    EXPECT_EQ(readText(job.output), "an earlier conversion");
    EXPECT_FALSE(fs::exists(pelorine::partialOutputPath(job.output)));
    const MediaProbe probe = probeMedia(stopped);
    ASSERT_TRUE(probe.opened) << stopped;
    ASSERT_TRUE(probe.video() && probe.audio());
    EXPECT_GT(probe.video()->packets, 10);
    EXPECT_NEAR(probe.span, position, 0.03);
    EXPECT_NEAR(probe.audio()->duration, probe.video()->duration, 0.2);
}

TEST(Channel, PausedFromTheStartThenRunToTheEnd) {
    TempDir dir;
    writeControl(dir.folder(), 1);
    JobLine job;
    job.source = fixturePath("ramp43.mp4");
    job.output = dir.file("out.mp4");
    job.folder = dir.folder();
    Process engine(enginePath(), splitCommandLine(composeCommandLine(job)), dir.file("log.txt"));
    // The engine reports where it is (nowhere yet) and holds.
    ASSERT_TRUE(eventually([&] { return readProgress(dir.folder()).has_value(); }, 10s));
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(engine.running());
    EXPECT_LT(readProgress(dir.folder()).value_or(0), 0.5);

    writeControl(dir.folder(), 0);
    const ProcessEnd end = engine.wait(30s);
    ASSERT_TRUE(end.exited);
    EXPECT_EQ(end.status, ExitStatus::Done);
    const MediaProbe probe = probeMedia(job.output);
    ASSERT_TRUE(probe.opened);
    EXPECT_NEAR(probe.video()->duration, fixture("ramp43.mp4").length, 0.05);
    EXPECT_FALSE(fs::exists(pelorine::partialOutputPath(job.output)));
    // The last position reported is where the output ends: the end of the source.
    EXPECT_NEAR(readProgress(dir.folder()).value_or(0), fixture("ramp43.mp4").length, 0.05);
}

}  // namespace
}  // namespace zelvic::test

namespace zelvic::test {
namespace {

// Quit before anything was converted: the run ends as asked, and an output
// without a single frame is not left behind.
TEST(Channel, QuitBeforeTheFirstFrameLeavesNothing) {
    TempDir dir;
    writeControl(dir.folder(), 2);
    const JobLine job = longJob(dir);
    Process engine(enginePath(), splitCommandLine(composeCommandLine(job)), dir.file("log.txt"));
    const ProcessEnd end = engine.wait(std::chrono::seconds(10));
    ASSERT_TRUE(end.exited);
    EXPECT_EQ(end.status, ExitStatus::Quit);
    EXPECT_FALSE(fs::exists(job.output));
    EXPECT_FALSE(fs::exists(pelorine::partialOutputPath(job.output)));
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        EXPECT_EQ(entry.path().string().find("stopped"), std::string::npos) << entry.path();
    }
}

// Whether the process is gone, or left as a zombie nobody reaps.
bool ended(const std::string& pid) {
    const std::string stat = readText("/proc/" + pid + "/stat");
    const auto close = stat.rfind(')');
    return stat.empty() || (close != std::string::npos && stat.compare(close, 4, ") Z ") == 0);
}

// The program that started a run is killed (a crash) while the run converts,
// or while it holds it paused: the run ends by itself and leaves nothing
// under any name, so the Job converted again after a restart is the only run
// writing its output.
TEST(Channel, ARunWhoseStarterIsGoneEndsAndLeavesNothing) {
    for (const int command : {0, 1}) {
        SCOPED_TRACE(command == 0 ? "converting" : "paused");
        TempDir dir;
        writeControl(dir.folder(), command);
        const JobLine job = longJob(dir);
        const std::string partial = pelorine::partialOutputPath(job.output);
        const std::string progress =
            dir.folder() + std::string(pelorine::channel::kProgressFileName);
        // A shell starts the engine, waits until it is under way, and ends.
        std::vector<std::string> args{"-c",
                                      "pid=$1 ready=$2; shift 2; \"$@\" & echo $! >\"$pid\"; "
                                      "until [ -s \"$ready\" ]; do sleep 0.02; done",
                                      "sh",
                                      dir.file("pid"),
                                      command == 0 ? partial : progress,
                                      enginePath()};
        const auto line = splitCommandLine(composeCommandLine(job));
        args.insert(args.end(), line.begin(), line.end());
        Process starter("/bin/sh", args, dir.file("log.txt"));
        ASSERT_TRUE(starter.wait(30s).exited);
        std::string pid = readText(dir.file("pid"));
        pid = pid.substr(0, pid.find('\n'));
        ASSERT_TRUE(eventually([&] { return ended(pid); }, 10s)) << "the engine runs on";
        EXPECT_FALSE(fs::exists(job.output));
        EXPECT_FALSE(fs::exists(partial));
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            EXPECT_EQ(entry.path().string().find("stopped"), std::string::npos) << entry.path();
        }
        const std::string log = readText(dir.file("log.txt"));
        EXPECT_NE(log.find("failed: the program that started this run has gone"), std::string::npos)
            << log;
    }
}

}  // namespace
}  // namespace zelvic::test
