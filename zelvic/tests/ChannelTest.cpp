#include <gtest/gtest.h>

#include "CommandLines.h"
#include "Engine.h"
#include "Probe.h"

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

// Progress keeps coming while the engine works, then pause holds it, then
// quit ends the run within a second with a shorter file that still plays.
TEST(Channel, ProgressPauseAndQuit) {
    TempDir dir;
    writeControl(dir.folder(), 0);
    const JobLine job = longJob(dir);
    Process engine(enginePath(), splitCommandLine(composeCommandLine(job)), dir.file("log.txt"));

    // Watch the position rise and note the longest wait between two values.
    using Clock = std::chrono::steady_clock;
    double last = -1;
    auto lastChange = Clock::now();
    auto longestGap = Clock::duration::zero();
    const bool advanced = eventually(
        [&] {
            const auto now = Clock::now();
            const auto progress = readProgress(dir.folder());
            if (progress && *progress != last) {
                if (last > 0) {
                    longestGap = std::max(longestGap, now - lastChange);
                }
                last = *progress;
                lastChange = now;
            }
            return last >= 2.0;
        },
        30s);
    ASSERT_TRUE(advanced) << "position " << last;
    EXPECT_LT(longestGap, 400ms);  // written every 250 ms at most, with room for scheduling

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
        5s));
    EXPECT_TRUE(engine.running());
    EXPECT_LT(held, fixture("long.mp4").length - 5);

    writeControl(dir.folder(), 2);
    const ProcessEnd end = engine.wait(1000ms);
    ASSERT_FALSE(end.timedOut) << "quit took longer than a second";
    ASSERT_TRUE(end.exited);
    EXPECT_EQ(end.status, 4);

    const MediaProbe probe = probeMedia(job.output);
    ASSERT_TRUE(probe.opened);
    ASSERT_TRUE(probe.video() && probe.audio());
    EXPECT_GT(probe.video()->packets, 10);
    EXPECT_NEAR(probe.video()->duration, held, 1.0);
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
    EXPECT_EQ(end.status, 0);
    const MediaProbe probe = probeMedia(job.output);
    ASSERT_TRUE(probe.opened);
    EXPECT_NEAR(probe.video()->duration, fixture("ramp43.mp4").length, 0.05);
    // The last position reported is the end of the source.
    EXPECT_NEAR(readProgress(dir.folder()).value_or(0), fixture("ramp43.mp4").length, 0.2);
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
    EXPECT_EQ(end.status, 4);
    EXPECT_FALSE(fs::exists(job.output));
}

}  // namespace
}  // namespace zelvic::test
