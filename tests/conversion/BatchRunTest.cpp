// The batch run with engine processes: the fake engine converts, holds until
// quit, or fails, as its source file says.

#include "conversion/BatchRun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <thread>

#include "conversion/PartFiles.h"
#include "records/OutputFiles.h"
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
        jobs.push_back(*testing::plainJob(folder.file(name + ".avi"),
                                          folder.file("out/" + name + ".MP4"), 100));
        return jobs.back();
    }
    std::string output(const std::string& name) { return folder.file("out/" + name + ".mp4"); }

    std::unique_ptr<BatchRun> makeBatch(
        std::chrono::milliseconds patience = EngineSession::kQuitPatience) {
        return std::make_unique<BatchRun>(jobs, view, services, folder.path() + "logs/", patience);
    }
    std::unique_ptr<BatchRun> runBatch() {
        auto batch = makeBatch();
        batch->run();
        return batch;
    }
    // Starts an engine of this user that is not ours and pays no heed to quit.
    std::unique_ptr<platform::ChildProcess> foreignEngine() {
        std::filesystem::create_directories(folder.file("theirs"));
        auto started = platform::systemProcessLauncher().start(
            engine.path() + " -hold -currentfolder \"" + folder.file("theirs/") + "\"", "");
        EXPECT_TRUE(started.started);
        EXPECT_TRUE(testing::waitUntil([&] { return engine.isRunning(); }));
        return std::move(started.process);
    }

    testing::TempFolder folder;
    testing::FolderPaths paths{folder.path()};
    Engine engine{platform::systemProcessLauncher(), platform::systemProcessList(), paths,
                  platform::systemFileSystem()};
    Settings settings{platform::systemFileSystem(), folder.file("zelvic.ini"), "/v"};
    RecordingPower power;
    BatchRun::Services services{engine, platform::systemFileSystem(), power, settings};
    std::vector<Job> jobs;
    RecordingView view;
};

TEST_F(BatchRunTest, AnEmptyListEndsAtOnceWithBothBarsFull) {
    const auto batch = runBatch();
    EXPECT_THAT(view.events(), ElementsAre("timer on", "timer off", "overall 100", "job 100",
                                           "message Complete!"));
    EXPECT_FALSE(batch->converting());
    EXPECT_EQ(batch->currentJob(), 0);
}

TEST_F(BatchRunTest, ConvertsEveryJobIntoAFolderItCreates) {
    addJob("one");
    addJob("two");
    const auto batch = runBatch();
    EXPECT_TRUE(std::filesystem::exists(output("one")));
    EXPECT_TRUE(std::filesystem::exists(output("two")));
    EXPECT_FALSE(std::filesystem::exists(partialOutputPath(output("two"))));
    EXPECT_EQ(batch->results()[0].outcome, JobOutcome::Done);
    EXPECT_EQ(batch->results()[1].outcome, JobOutcome::Done);
    EXPECT_THAT(view.outcomes.events(), ElementsAre("0 done", "1 done"));
    // The bars are only set at the end: a new batch starts from where the last left them.
    EXPECT_THAT(view.events(), ElementsAre("timer on", "select 0", "select 1", "timer off",
                                           "overall 100", "job 100", "message Complete!"));
}

// A restored list: the Jobs converted before end at once as done, whatever
// the overwrite policy, and the batch counts them as converted.
TEST_F(BatchRunTest, JobsConvertedBeforeAreDoneWithoutARun) {
    addJob("before");
    addJob("after");
    std::filesystem::create_directories(folder.file("out"));
    folder.write("out/before.mp4", "converted before the crash");
    settings.setOverwritePolicy(kAskBeforeOverwrite);
    auto batch = makeBatch();
    batch->setConvertedBefore({true});
    batch->run();
    EXPECT_EQ(folder.read("out/before.mp4"), "converted before the crash");
    EXPECT_EQ(batch->results()[0].outcome, JobOutcome::Done);
    EXPECT_TRUE(batch->results()[0].logPath.empty()) << "no engine ran for it";
    EXPECT_TRUE(std::filesystem::exists(output("after")));
    EXPECT_THAT(view.outcomes.events(), ElementsAre("0 done", "1 done"));
    EXPECT_THAT(view.events(), ElementsAre("timer on", "select 1", "timer off", "overall 100",
                                           "job 100", "message Complete!"));
}

TEST_F(BatchRunTest, OverwritePolicies) {
    addJob("exists");
    addJob("fresh");
    std::filesystem::create_directories(folder.file("out"));
    folder.write("out/exists.mp4", "old");

    settings.setOverwritePolicy(kAskBeforeOverwrite);
    view.overwrite = false;  // Cancel skips the Job
    const auto cancelled = runBatch();
    EXPECT_EQ(folder.read("out/exists.mp4"), "old");
    EXPECT_EQ(cancelled->results()[0].outcome, JobOutcome::Skipped);
    EXPECT_EQ(cancelled->results()[1].outcome, JobOutcome::Done);
    EXPECT_THAT(view.events(), ::testing::Contains("ask File \"" + output("exists") +
                                                   "\" already exists. Overwrite?"));
    // The end message names the skipped Job rather than saying "Complete!".
    EXPECT_EQ(view.events().back(),
              "message 1 job of 2 was converted.\n\n1 job of 2 skipped:\n1. " +
                  folder.file("exists.avi") + ": \"" + output("exists") + "\" exists already.");

    settings.setOverwritePolicy(kSkipExisting);
    const std::size_t asked = view.events().size();
    const auto skipped = runBatch();
    EXPECT_EQ(skipped->results()[0].outcome, JobOutcome::Skipped);
    for (std::size_t i = asked; i < view.events().size(); ++i) {
        EXPECT_THAT(view.events()[i], ::testing::Not(HasSubstr("ask"))) << "skipped silently";
    }

    settings.setOverwritePolicy(kOverwrite);
    const auto overwritten = runBatch();
    EXPECT_EQ(overwritten->results()[0].outcome, JobOutcome::Done);
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

    const auto batch = makeBatch();
    std::thread worker([&] { batch->run(); });
    ASSERT_TRUE(
        testing::waitUntil([&] { return batch->engineRunning() && batch->currentJob() == 1; }));
    batch->requestStop();
    worker.join();
    EXPECT_FALSE(engine.isRunning());

    // The question for Job 2 is still asked; then the batch ends without it.
    const auto events = view.events();
    EXPECT_THAT(events, ::testing::Contains(HasSubstr("ask File")));
    EXPECT_THAT(events, ::testing::Not(::testing::Contains("select 2")));
    EXPECT_EQ(folder.read("out/second.mp4"), "old");
    EXPECT_FALSE(std::filesystem::exists(output("third")));
    EXPECT_FALSE(batch->converting());

    // Job 1 keeps what it made under a name that says so, never under its own.
    const JobResult& first = batch->results()[0];
    EXPECT_EQ(first.outcome, JobOutcome::Stopped);
    EXPECT_FALSE(std::filesystem::exists(output("first")));
    ASSERT_FALSE(first.keptFile.empty());
    EXPECT_TRUE(std::filesystem::exists(first.keptFile));
    EXPECT_THAT(first.keptFile, ::testing::StartsWith(folder.file("out/first (stopped at ")));
    EXPECT_EQ(events.back(),
              "message 0 jobs of 3 were converted.\n\n1 job of 3 stopped before "
              "the end:\n1. " +
                  folder.file("first.avi") + ": what was made is kept as \"" + first.keptFile +
                  "\"\n\n2 jobs of 3 not converted, as the "
                  "batch was stopped:\n2. " +
                  folder.file("second.avi") + "\n3. " + folder.file("third.avi"));
}

TEST_F(BatchRunTest, AnEngineThatIgnoresQuitIsEndedSoStopAlwaysEnds) {
    addJob("stubborn", "deaf");
    addJob("next");
    const auto batch = makeBatch(std::chrono::milliseconds(100));
    std::thread worker([&] { batch->run(); });
    ASSERT_TRUE(testing::waitUntil([&] { return batch->engineRunning(); }));
    batch->requestStop();
    worker.join();
    EXPECT_FALSE(batch->engineRunning());
    EXPECT_FALSE(engine.isRunning());
    EXPECT_EQ(batch->results()[0].outcome, JobOutcome::Failed);
    EXPECT_EQ(batch->results()[0].reason, "The engine ended with status 137.");  // SIGKILL
    EXPECT_EQ(batch->results()[1].outcome, JobOutcome::Pending);
}

TEST_F(BatchRunTest, FailuresAreReportedAndTheBatchGoesOn) {
    addJob("vanished");
    std::filesystem::remove(folder.file("vanished.avi"));
    addJob("broken", "fail why=cannot write \"x.mp4\": Read-only file system");
    addJob("fine");
    addJob("unsafe").audioVolume = "+5 -o /tmp/elsewhere";
    Job& silent = addJob("silent");
    silent.videoDisabled = silent.audioDisabled = "yes";
    Job& mute = addJob("mute");
    mute.outputFormat = "mp3";
    mute.audioDisabled = "yes";
    const auto batch = runBatch();
    EXPECT_EQ(batch->results()[0].outcome, JobOutcome::Failed);
    EXPECT_EQ(batch->results()[0].reason, "The source could not be opened.");
    EXPECT_EQ(batch->results()[1].outcome, JobOutcome::Failed);
    EXPECT_EQ(batch->results()[2].outcome, JobOutcome::Done);
    EXPECT_EQ(batch->results()[3].outcome, JobOutcome::Failed);
    EXPECT_TRUE(std::filesystem::exists(batch->results()[1].logPath));
    const std::string message = view.events().back();
    EXPECT_THAT(message, HasSubstr("5 jobs of 6 could not be converted:"));
    EXPECT_THAT(message, HasSubstr("1. " + folder.file("vanished.avi") +
                                   ": The source could not be opened."));
    // The engine's own reason, from its log, and where the log is.
    EXPECT_THAT(message, HasSubstr("2. " + folder.file("broken.avi") +
                                   ": cannot write \"x.mp4\": Read-only file system (engine log: " +
                                   batch->results()[1].logPath + ")"));
    EXPECT_THAT(message, HasSubstr("\"Audio volume\""));
    EXPECT_THAT(message, HasSubstr("5. " + folder.file("silent.avi") +
                                   ": Both \"Video disabled\" and \"Audio disabled\" are \"yes\": "
                                   "there is neither picture nor sound to convert."));
    EXPECT_THAT(message, HasSubstr("6. " + folder.file("mute.avi") + ": \"Audio disabled\" is"));
    EXPECT_TRUE(batch->results()[4].logPath.empty()) << "no engine ran for it";
    EXPECT_EQ(view.logFolder, folder.path() + "logs/") << "the logs are offered";
}

// A Job refused for its settings keeps the parts an earlier run made.
TEST_F(BatchRunTest, ARefusedJobDeletesNothing) {
    Job& job = addJob("long");
    job.split = "00:10:00";
    job.audioVolume = "+5 -o /tmp/elsewhere";
    std::filesystem::create_directories(folder.file("out"));
    folder.write("out/long_clip_1.mp4", "earlier");
    const auto batch = runBatch();
    EXPECT_EQ(batch->results()[0].outcome, JobOutcome::Failed);
    EXPECT_EQ(folder.read("out/long_clip_1.mp4"), "earlier");
}

TEST_F(BatchRunTest, AnOutputFolderThatCannotBeMadeFailsOnlyItsJob) {
    folder.write("blocker", "a file where a folder should be");
    addJob("lost").outputPath = folder.file("blocker/lost.MP4");
    addJob("fine");
    const auto batch = runBatch();
    EXPECT_EQ(batch->results()[0].outcome, JobOutcome::Failed);
    EXPECT_THAT(batch->results()[0].reason, HasSubstr("blocker"));
    EXPECT_EQ(batch->results()[1].outcome, JobOutcome::Done);
}

TEST_F(BatchRunTest, TheShutDownBoxPowersOffAfterACountdownInsteadOfTheMessage) {
    addJob("one");
    view.shutDown = true;
    runBatch();
    EXPECT_EQ(power.requests, 1);
    EXPECT_EQ(view.events().back(), "countdown 30");
    EXPECT_EQ(view.batchesEnded, 1);

    // A refused power-off keeps the results in view.
    power.refuse = true;
    runBatch();
    EXPECT_EQ(power.requests, 2);
    EXPECT_EQ(view.events().back(),
              "message The computer could not be switched off: Not allowed.\n\nComplete!");

    // A cancelled countdown: no power-off, the results instead.
    view.countdownRunsOut = false;
    runBatch();
    EXPECT_EQ(power.requests, 2);
    EXPECT_EQ(view.events().back(), "message Complete!");

    // A Job that went wrong is named during the countdown, before the
    // computer goes off with the summary.
    view.countdownRunsOut = true;
    power.refuse = false;
    addJob("broken", "fail why=No space left on device");
    runBatch();
    EXPECT_EQ(power.requests, 3);
    EXPECT_THAT(view.events().back(),
                ::testing::StartsWith("countdown 30: 1 job of 2 was converted."));
    EXPECT_THAT(view.events().back(), HasSubstr("broken.avi: No space left on device"));
}

// An engine of another run of ours, in its own folder inside the private
// folder, converts beside the batch: neither disturbs the other.
TEST_F(BatchRunTest, AnEngineOfAnotherRunOfOursConvertsBeside) {
    std::filesystem::create_directories(folder.file("run/run-1-1"));
    auto started = platform::systemProcessLauncher().start(
        engine.path() + " -hold -currentfolder \"" + folder.file("run/run-1-1/") + "\"", "");
    ASSERT_TRUE(started.started);
    ASSERT_TRUE(testing::waitUntil([&] { return engine.isRunning(); }));
    addJob("one");
    runBatch();
    EXPECT_EQ(view.events().back(), "message Complete!");
    EXPECT_TRUE(std::filesystem::exists(output("one")));
    EXPECT_FALSE(started.process->hasEnded());
    EXPECT_TRUE(started.process->forceEnd());
    started.process->wait();
}

TEST_F(BatchRunTest, ARunningEngineRefusesTheBatchAndIsLeftAlone) {
    const auto theirs = foreignEngine();
    addJob("one");
    const auto batch = runBatch();
    EXPECT_THAT(view.events(), ElementsAre("message Please stop converting or playing the movie!"));
    EXPECT_FALSE(batch->converting());
    EXPECT_FALSE(theirs->hasEnded()) << "an engine this program did not start is never ended";
    EXPECT_TRUE(theirs->forceEnd());
    theirs->wait();
}

}  // namespace
}  // namespace pelorine

namespace pelorine {
namespace {

TEST(PartFileKind, KnowsTheFilesOfOneBaseOnly) {
    EXPECT_EQ(partFileKind("M4V1_clip_3.mp4", "M4V1", "mp4"), PartFileKind::Final);
    EXPECT_EQ(partFileKind("M4V1_clip_12 (stopped at 01m44s).mp4", "M4V1", "mp4"),
              PartFileKind::Stopped);
    EXPECT_EQ(partFileKind("M4V1_clip_2.mp4.part", "M4V1", "mp4"), PartFileKind::Unfinished);
    for (const char* other :
         {"M4V1.mp4", "M4V1_clip_.mp4", "M4V1_clip_3.mp3", "M4V12_clip_3.mp4", "M4V1_clip_3x.mp4",
          "M4V1_clip_3 (mine).mp4", "M4V1_clip_3 (stopped at 01m) (2).mp4", "x_M4V1_clip_3.mp4"}) {
        EXPECT_FALSE(partFileKind(other, "M4V1", "mp4")) << other;
    }
}

class SplitRerunTest : public BatchRunTest {
protected:
    SplitRerunTest() {
        ::setenv("FAKE_ZELVIC_PART_LENGTH", "10", 1);
        std::filesystem::create_directories(folder.file("out"));
        Job& job = addJob("long");
        job.split = "00:10:00";
        job.duration = 25;  // parts of 10 s: three of them
        folder.write("long.avi", "length=25");
    }
    ~SplitRerunTest() override { ::unsetenv("FAKE_ZELVIC_PART_LENGTH"); }

    // What an earlier, longer run left: parts 1 to 5, one stopped, one unfinished.
    void leaveOldParts() {
        for (int part = 1; part <= 5; ++part) {
            folder.write("out/long_clip_" + std::to_string(part) + ".mp4", "old");
        }
        folder.write("out/long_clip_6 (stopped at 00m04s).mp4", "old");
        folder.write("out/long_clip_7.mp4.part", "old");
        folder.write("out/long_clip_notes.txt", "the user's");
    }
    std::set<std::string> outputs() {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.file("out"))) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
};

TEST_F(SplitRerunTest, ARerunThatMayOverwriteLeavesNoOldPartsBehind) {
    leaveOldParts();
    const auto batch = runBatch();
    EXPECT_EQ(batch->results()[0].outcome, JobOutcome::Done) << batch->results()[0].reason;
    EXPECT_EQ(outputs(), (std::set<std::string>{"long_clip_1.mp4", "long_clip_2.mp4",
                                                "long_clip_3.mp4", "long_clip_notes.txt"}));
    EXPECT_NE(folder.read("out/long_clip_1.mp4"), "old");
}

TEST_F(SplitRerunTest, PoliciesThatKeepFilesCountOnlyFinalNames) {
    leaveOldParts();
    std::filesystem::remove(folder.file("out/long_clip_1.mp4"));
    settings.setOverwritePolicy(kSkipExisting);
    auto batch = runBatch();
    EXPECT_EQ(batch->results()[0].outcome, JobOutcome::Skipped) << "old part 2 exists";
    EXPECT_EQ(outputs().size(), 7u) << "nothing was removed";

    settings.setOverwritePolicy(kAskBeforeOverwrite);
    view.overwrite = false;
    batch = runBatch();
    EXPECT_EQ(batch->results()[0].outcome, JobOutcome::Skipped);
    EXPECT_THAT(view.events(),
                ::testing::Contains("ask File \"" + folder.file("out/long_clip_2.mp4") +
                                    "\" already exists. Overwrite?"));
    EXPECT_EQ(outputs().size(), 7u);

    // Only a stopped and an unfinished part: nothing final, so nothing to ask.
    for (int part = 2; part <= 5; ++part) {
        std::filesystem::remove(folder.file("out/long_clip_" + std::to_string(part) + ".mp4"));
    }
    view.log.clear();
    batch = runBatch();
    EXPECT_EQ(batch->results()[0].outcome, JobOutcome::Done);
    EXPECT_THAT(view.events(), ::testing::Not(::testing::Contains(HasSubstr("ask"))));
    EXPECT_EQ(outputs(), (std::set<std::string>{"long_clip_1.mp4", "long_clip_2.mp4",
                                                "long_clip_3.mp4", "long_clip_notes.txt"}));
}

TEST_F(BatchRunTest, AStoppedFileDoesNotCountAsDone) {
    addJob("clip");
    std::filesystem::create_directories(folder.file("out"));
    folder.write("out/clip (stopped at 01m44s).mp4", "shorter");
    settings.setOverwritePolicy(kSkipExisting);
    const auto batch = runBatch();
    EXPECT_EQ(batch->results()[0].outcome, JobOutcome::Done);
    EXPECT_TRUE(std::filesystem::exists(output("clip")));
    EXPECT_EQ(folder.read("out/clip (stopped at 01m44s).mp4"), "shorter") << "not a part: kept";
    EXPECT_EQ(view.events().back(), "message Complete!");
}

}  // namespace
}  // namespace pelorine
