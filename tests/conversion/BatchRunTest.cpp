// The batch run with engine processes: the fake engine converts, holds until
// quit, or fails, as its source file says.

#include "conversion/BatchRun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

#include "support/Recorders.h"
#include "support/TestSupport.h"

namespace pelorine {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

using RecordingView = testing::RecordingBatchView<BatchView>;
using testing::RecordingPower;

class BatchRunTest : public ::testing::Test {
protected:
    BatchRunTest() { testing::installFakeEngine(folder.path()); }

    // A Job whose source holds `behaviour` for the fake engine.
    Job& addJob(const std::string& name, const std::string& behaviour = "") {
        folder.write(name + ".avi", "length=100 " + behaviour);
        return jobs.append(testing::plainJob(folder.file(name + ".avi"),
                                             folder.file("out/" + name + ".MP4"), 100));
    }
    std::string output(const std::string& name) { return folder.file("out/" + name + ".mp4"); }

    BatchRun runBatch() {
        BatchRun batch(jobs, state, view, services, folder.path() + "logs/");
        batch.run();
        return batch;
    }

    testing::TempFolder folder;
    testing::FolderPaths paths{folder.path()};
    Engine engine{platform::systemProcessLauncher(), platform::systemProcessList(), paths,
                  platform::systemFileSystem()};
    EngineLink link{platform::systemFileSystem()};
    Settings settings{platform::systemFileSystem(), folder.file("zelvic.ini"), "/v"};
    RecordingPower power;
    BatchRun::Services services{engine, link, platform::systemFileSystem(), power, settings};
    JobList jobs;
    BatchState state;
    RecordingView view;
};

TEST_F(BatchRunTest, AnEmptyListEndsAtOnceWithBothBarsFull) {
    runBatch();
    EXPECT_THAT(view.events(), ElementsAre("timer on", "timer off", "overall 100", "job 100",
                                           "message Complete!"));
    EXPECT_EQ(state.activityFlag, 1);
    EXPECT_EQ(state.currentJob, 0);
}

TEST_F(BatchRunTest, ConvertsEveryJobIntoAFolderItCreates) {
    addJob("one");
    addJob("two");
    const BatchRun batch = runBatch();
    EXPECT_TRUE(std::filesystem::exists(output("one")));
    EXPECT_TRUE(std::filesystem::exists(output("two")));
    EXPECT_EQ(batch.results()[0].outcome, JobOutcome::Done);
    EXPECT_EQ(batch.results()[1].outcome, JobOutcome::Done);
    // The bars are only set at the end: a new batch starts from where the last left them.
    EXPECT_THAT(view.events(), ElementsAre("timer on", "select 0", "select 1", "timer off",
                                           "overall 100", "job 100", "message Complete!"));
}

TEST_F(BatchRunTest, OverwritePolicies) {
    addJob("exists");
    addJob("fresh");
    std::filesystem::create_directories(folder.file("out"));
    folder.write("out/exists.mp4", "old");

    settings.setOverwritePolicy(kAskBeforeOverwrite);
    view.overwrite = false;  // Cancel skips the Job
    BatchRun cancelled = runBatch();
    EXPECT_EQ(folder.read("out/exists.mp4"), "old");
    EXPECT_EQ(cancelled.results()[0].outcome, JobOutcome::Skipped);
    EXPECT_EQ(cancelled.results()[1].outcome, JobOutcome::Done);
    EXPECT_THAT(view.events(), ::testing::Contains("ask File \"" + output("exists") +
                                                   "\" already exists. Overwrite?"));
    EXPECT_EQ(view.events().back(), "message Complete!");

    settings.setOverwritePolicy(kSkipExisting);
    const std::size_t asked = view.events().size();
    BatchRun skipped = runBatch();
    EXPECT_EQ(skipped.results()[0].outcome, JobOutcome::Skipped);
    for (std::size_t i = asked; i < view.events().size(); ++i) {
        EXPECT_THAT(view.events()[i], ::testing::Not(HasSubstr("ask"))) << "skipped silently";
    }

    settings.setOverwritePolicy(kOverwrite);
    BatchRun overwritten = runBatch();
    EXPECT_EQ(overwritten.results()[0].outcome, JobOutcome::Done);
    EXPECT_NE(folder.read("out/exists.mp4"), "old");
}

TEST_F(BatchRunTest, StopDuringJobOneOfThree) {
    addJob("first", "hold");
    addJob("second");
    addJob("third");
    std::filesystem::create_directories(folder.file("out"));
    folder.write("out/second.mp4", "old");
    settings.setOverwritePolicy(kAskBeforeOverwrite);
    view.overwrite = true;

    std::thread worker([&] { runBatch(); });
    ASSERT_TRUE(testing::waitUntil([&] { return engine.isRunning() && state.currentJob == 1; }));
    stopBatch(state, engine, link, [] {});
    EXPECT_FALSE(engine.isRunning());
    worker.join();

    // The question for Job 2 is still asked; then the batch ends without it.
    const auto events = view.events();
    EXPECT_THAT(events, ::testing::Contains(HasSubstr("ask File")));
    EXPECT_THAT(events, ::testing::Not(::testing::Contains("select 2")));
    EXPECT_EQ(folder.read("out/second.mp4"), "old");
    EXPECT_FALSE(std::filesystem::exists(output("third")));
    EXPECT_EQ(events.back(), "message Complete!");
    EXPECT_EQ(state.activityFlag, 1);
}

TEST_F(BatchRunTest, AnEngineThatIgnoresQuitIsEndedSoStopAlwaysEnds) {
    std::string channel;
    ASSERT_TRUE(paths.ensureChannelFolder(channel));
    ASSERT_TRUE(
        engine.launch(engine.path() + " -hold -currentfolder \"" + channel + "\"", false).started);
    ASSERT_TRUE(testing::waitUntil([&] { return engine.isRunning(); }));
    state.activityFlag = 0;  // as while a batch runs
    link.setChannelFolder(channel);
    int pumped = 0;
    stopBatch(
        state, engine, link, [&] { ++pumped; }, std::chrono::milliseconds(100));
    EXPECT_FALSE(engine.isRunning());
    EXPECT_GT(pumped, 0) << "the window kept painting while it waited";
}

TEST_F(BatchRunTest, FailuresAreReportedAndTheBatchGoesOn) {
    addJob("vanished");
    std::filesystem::remove(folder.file("vanished.avi"));
    addJob("broken", "fail");
    addJob("fine");
    addJob("unsafe").audioVolume = "+5 -o /tmp/elsewhere";
    const BatchRun batch = runBatch();
    EXPECT_EQ(batch.results()[0].outcome, JobOutcome::Failed);
    EXPECT_EQ(batch.results()[0].reason, "The source could not be opened.");
    EXPECT_EQ(batch.results()[1].outcome, JobOutcome::Failed);
    EXPECT_EQ(batch.results()[2].outcome, JobOutcome::Done);
    EXPECT_EQ(batch.results()[3].outcome, JobOutcome::Failed);
    EXPECT_TRUE(std::filesystem::exists(batch.results()[1].logPath));
    const std::string message = view.events().back();
    EXPECT_THAT(message, HasSubstr("3 jobs of 4 could not be converted:"));
    EXPECT_THAT(message, HasSubstr("1. " + folder.file("vanished.avi") +
                                   ": The source could not be opened."));
    EXPECT_THAT(message, HasSubstr("2. " + folder.file("broken.avi") + ": The conversion failed."));
    EXPECT_THAT(message, HasSubstr("\"Audio volume\""));
}

TEST_F(BatchRunTest, AnOutputFolderThatCannotBeMadeFailsOnlyItsJob) {
    folder.write("blocker", "a file where a folder should be");
    addJob("lost").outputPath = folder.file("blocker/lost.MP4");
    addJob("fine");
    const BatchRun batch = runBatch();
    EXPECT_EQ(batch.results()[0].outcome, JobOutcome::Failed);
    EXPECT_THAT(batch.results()[0].reason, HasSubstr("blocker"));
    EXPECT_EQ(batch.results()[1].outcome, JobOutcome::Done);
}

TEST_F(BatchRunTest, TheShutDownBoxPowersOffInsteadOfTheMessage) {
    addJob("one");
    view.shutDown = true;
    runBatch();
    EXPECT_EQ(power.requests, 1);
    EXPECT_THAT(view.events(), ::testing::Not(::testing::Contains("message Complete!")));

    power.refuse = true;
    runBatch();
    EXPECT_EQ(power.requests, 2);
    EXPECT_EQ(view.events().back(), "message Not allowed.");
}

TEST_F(BatchRunTest, ARunningEngineRefusesTheBatch) {
    std::string channel;
    ASSERT_TRUE(paths.ensureChannelFolder(channel));
    ASSERT_TRUE(
        engine.launch(engine.path() + " -hold -currentfolder \"" + channel + "\"", false).started);
    ASSERT_TRUE(testing::waitUntil([&] { return engine.isRunning(); }));
    addJob("one");
    runBatch();
    EXPECT_THAT(view.events(), ElementsAre("message Please stop converting or playing the movie!"));
    EXPECT_EQ(state.activityFlag, 1);
    engine.terminateAll();
    EXPECT_TRUE(testing::waitUntil([&] { return !engine.isRunning(); }));
}

}  // namespace
}  // namespace pelorine
