#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "CommandLines.h"
#include "Engine.h"
#include "Probe.h"
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

}  // namespace
}  // namespace zelvic::test
