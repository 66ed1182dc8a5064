// An output under its final name is whole even after a power cut: the engine
// makes the file's data reach the disk before it renames it, and the rename
// after that, for a finished output, a stopped one and the thumbnail. The
// engine runs with the sync recorder preloaded, which notes every sync and
// rename in the order they returned.

#include <gtest/gtest.h>

#include <filesystem>

#include "CommandLines.h"
#include "Engine.h"
#include "records/OutputFiles.h"
#include "support/SyncRecord.h"

namespace zelvic::test {
namespace {

using namespace std::chrono_literals;
using pelorine::testing::durableRenameProblem;

struct TracedRun {
    TracedRun(const TempDir& dir, const JobLine& job)
        : log(dir.file("trace.log")),
          engine(pelorine::testing::tracerProgram(),
                 pelorine::testing::tracedCommand(log, enginePath(),
                                                  splitCommandLine(composeCommandLine(job))),
                 dir.file("engine.log")) {}
    std::string log;
    Process engine;
};

JobLine lineInto(const TempDir& dir, const std::string& source) {
    JobLine job;
    job.source = fixturePath(source);
    job.folder = dir.folder();
    job.output = fs::canonical(dir.path()).string() + "/M4V00001.mp4";
    job.thumbnail = true;
    return job;
}

TEST(DurableOutput, TheOutputAndItsThumbnailReachTheDiskBeforeTheirNames) {
    TempDir dir;
    const JobLine job = lineInto(dir, "ramp43.mp4");
    TracedRun run(dir, job);
    const ProcessEnd end = run.engine.wait(60s);
    ASSERT_TRUE(end.exited);
    ASSERT_EQ(end.status, ExitStatus::Done);
    const auto calls = pelorine::testing::readTrace(run.log);
    EXPECT_EQ(durableRenameProblem(calls, pelorine::partialOutputPath(job.output), job.output), "");
    const std::string thumbnail = job.output.substr(0, job.output.size() - 4) + ".THM";
    ASSERT_TRUE(fs::exists(thumbnail));
    EXPECT_EQ(durableRenameProblem(calls, pelorine::partialOutputPath(thumbnail), thumbnail), "");
}

TEST(DurableOutput, AStoppedOutputReachesTheDiskBeforeItsName) {
    TempDir dir;
    const JobLine job = lineInto(dir, "long.mp4");
    TracedRun run(dir, job);
    ASSERT_TRUE(eventually([&] { return readProgress(dir.folder()).value_or(0) > 1.0; }, 30s));
    writeControl(dir.folder(), 2);
    const ProcessEnd end = run.engine.wait(30s);
    ASSERT_TRUE(end.exited);
    ASSERT_EQ(end.status, ExitStatus::Quit);
    const std::string stopped =
        pelorine::stoppedOutputPath(job.output, readProgress(dir.folder()).value_or(-1));
    ASSERT_TRUE(fs::exists(stopped));
    EXPECT_EQ(durableRenameProblem(pelorine::testing::readTrace(run.log),
                                   pelorine::partialOutputPath(job.output), stopped),
              "");
}

}  // namespace
}  // namespace zelvic::test
