// The terminal's front end of a batch converting two Jobs at once, with the
// fake engine: one status line for both, their outcomes as they end.

#include "cli/TerminalBatchView.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "support/Recorders.h"
#include "support/TestSupport.h"

namespace pelorine::cli {
namespace {

TEST(TerminalBatchView, TwoJobsAtOnceShareOneStatusLine) {
    testing::TempFolder folder;
    testing::installFakeEngine(folder.path());
    testing::FolderPaths paths{folder.path()};
    Engine engine{platform::systemProcessLauncher(), platform::systemProcessList(), paths,
                  platform::systemFileSystem()};
    Settings settings{platform::systemFileSystem(), folder.file("zelvic.ini"), "/v"};
    testing::RecordingPower power;
    std::vector<Job> jobs;
    std::vector<JobEntry> entries;
    for (const std::string name : {"a", "b"}) {
        folder.write(name + ".avi", "length=1000 runfor=1.5");
        jobs.push_back(*testing::plainJob(folder.file(name + ".avi"),
                                          folder.file("out/" + name + ".MP4"), 1000));
        entries.push_back({folder.file(name + ".avi"), folder.file("out/" + name + ".mp4"), {}});
    }
    std::ostringstream out;
    std::ostringstream err;
    ConsoleWriter console(out, err, false, 80);
    TerminalBatchView view(console, entries, nullptr);
    BatchRun batch(jobs, view, {engine, platform::systemFileSystem(), power, settings},
                   folder.path() + "logs/");
    batch.setJobsAtOnce(2);
    view.follow(batch);
    batch.run();
    view.stopProgressTimer();

    // A line at each tenth of the whole batch, naming both Jobs while both convert.
    EXPECT_THAT(err.str(),
                ::testing::ContainsRegex("\\[1/2\\] [0-9]+%  \\[2/2\\] [0-9]+%  total [1-9][0-9]%"));
    EXPECT_THAT(out.str(), ::testing::HasSubstr("[1/2] a.avi: done"));
    EXPECT_THAT(out.str(), ::testing::HasSubstr("[2/2] b.avi: done"));
}

}  // namespace
}  // namespace pelorine::cli
