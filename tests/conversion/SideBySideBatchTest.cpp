// A batch converting several Jobs at once, with engine processes: the fake
// engine appends "start <output>" and "end <output>" to an events file, so
// the tests see which runs really overlapped.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <thread>

#include "conversion/BatchRun.h"
#include "conversion/BatchSchedule.h"
#include "support/Recorders.h"
#include "support/TestSupport.h"

namespace pelorine {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

using RecordingView = testing::RecordingBatchView<BatchView>;

// The fake engine's events in order: ("start" or "end", output).
using Events = std::vector<std::pair<std::string, std::string>>;

std::size_t indexOf(const Events& events, const std::string& what, const std::string& output) {
    const auto at = std::find(events.begin(), events.end(), std::make_pair(what, output));
    return static_cast<std::size_t>(at - events.begin());
}

// The most runs that were going at one time: of every output, or of `output` only.
int mostAtOnce(const Events& events, const std::string& output = "") {
    int going = 0;
    int most = 0;
    for (const auto& [what, file] : events) {
        if (output.empty() || file == output) {
            going += what == "start" ? 1 : -1;
            most = std::max(most, going);
        }
    }
    return most;
}

class SideBySideBatchTest : public ::testing::Test {
protected:
    SideBySideBatchTest() {
        testing::installFakeEngine(folder.path());
        setenv("FAKE_ZELVIC_EVENTS", folder.file("events").c_str(), 1);
    }
    ~SideBySideBatchTest() override { unsetenv("FAKE_ZELVIC_EVENTS"); }

    // A Job whose source holds `behaviour` for the fake engine, writing
    // out/<output>.MP4 (its own name when none is given).
    void addJob(const std::string& name, const std::string& behaviour,
                const std::string& output = "") {
        folder.write(name + ".avi", "length=100 " + behaviour);
        jobs.push_back(*testing::plainJob(
            folder.file(name + ".avi"),
            folder.file("out/" + (output.empty() ? name : output) + ".MP4"), 100));
    }
    std::string output(const std::string& name) { return folder.file("out/" + name + ".mp4"); }

    std::unique_ptr<BatchRun> makeBatch(int atOnce) {
        auto batch = std::make_unique<BatchRun>(jobs, view, services, folder.path() + "logs/");
        batch->setJobsAtOnce(atOnce);
        return batch;
    }
    Events events() const {
        Events list;
        std::istringstream lines(folder.read("events"));
        for (std::string line; std::getline(lines, line);) {
            const auto blank = line.find(' ');
            list.emplace_back(line.substr(0, blank), line.substr(blank + 1));
        }
        return list;
    }
    std::size_t starts() const {
        if (!std::filesystem::exists(folder.file("events"))) {
            return 0;
        }
        const Events list = events();
        return static_cast<std::size_t>(std::count_if(
            list.begin(), list.end(), [](const auto& event) { return event.first == "start"; }));
    }

    testing::TempFolder folder;
    testing::FolderPaths paths{folder.path()};
    Engine engine{platform::systemProcessLauncher(), platform::systemProcessList(), paths,
                  platform::systemFileSystem()};
    Settings settings{platform::systemFileSystem(), folder.file("zelvic.ini"), "/v"};
    testing::RecordingPower power;
    BatchRun::Services services{engine, platform::systemFileSystem(), power, settings};
    std::vector<Job> jobs;
    RecordingView view;
};

TEST_F(SideBySideBatchTest, TwoOrThreeAtOnceStartReportAndEndEachOnItsOwn) {
    addJob("long", "runfor=3");
    addJob("short", "runfor=1");
    addJob("late", "runfor=1");

    const auto three = makeBatch(3);
    three->run();
    Events seen = events();
    EXPECT_EQ(mostAtOnce(seen), 3);
    EXPECT_LT(indexOf(seen, "end", output("short")), indexOf(seen, "end", output("long")));
    // Each Job is reported as it ends, whatever its place.
    EXPECT_EQ(view.outcomes.events().back(), "0 done");
    EXPECT_THAT(view.outcomes.events(), UnorderedElementsAre("0 done", "1 done", "2 done"));
    EXPECT_EQ(view.events().back(), "message Complete!");
    EXPECT_THAT(view.events(), ::testing::Not(::testing::Contains(::testing::StartsWith("select"))))
        << "the rows converting are not selected one after another";

    std::filesystem::remove(folder.file("events"));
    std::filesystem::remove_all(folder.file("out"));
    const auto two = makeBatch(2);
    two->run();
    seen = events();
    EXPECT_EQ(mostAtOnce(seen), 2);
    // The third starts when the short one ends, while the long one goes on.
    EXPECT_LT(indexOf(seen, "end", output("short")), indexOf(seen, "start", output("late")));
    EXPECT_LT(indexOf(seen, "start", output("late")), indexOf(seen, "end", output("long")));
    for (const char* name : {"long", "short", "late"}) {
        EXPECT_TRUE(std::filesystem::exists(output(name))) << name;
    }
    for (const JobResult& result : two->results()) {
        EXPECT_EQ(result.outcome, JobOutcome::Done);
    }
}

TEST_F(SideBySideBatchTest, StopEndsEveryRunningJobAndTheMessageNamesEachOutcome) {
    addJob("first", "hold");
    addJob("second", "hold");
    addJob("third", "hold");
    const auto batch = makeBatch(2);
    std::thread worker([&] { batch->run(); });
    ASSERT_TRUE(
        testing::waitUntil([&] { return starts() == 2 && batch->state().running.size() == 2; }));
    batch->requestStop();
    worker.join();
    EXPECT_FALSE(engine.isRunning());
    EXPECT_EQ(starts(), 2u) << "no Job starts after Stop";

    const std::vector<JobResult>& results = batch->results();
    ASSERT_EQ(results.size(), 3u);
    for (std::size_t row : {0u, 1u}) {
        EXPECT_EQ(results[row].outcome, JobOutcome::Stopped) << row;
        EXPECT_TRUE(std::filesystem::exists(results[row].keptFile)) << row;
    }
    EXPECT_EQ(results[2].outcome, JobOutcome::Pending);
    EXPECT_FALSE(std::filesystem::exists(output("first")));
    EXPECT_EQ(view.events().back(),
              "message 0 jobs of 3 were converted.\n\n2 jobs of 3 stopped before the end:\n1. " +
                  folder.file("first.avi") + ": what was made is kept as \"" + results[0].keptFile +
                  "\"\n2. " + folder.file("second.avi") + ": what was made is kept as \"" +
                  results[1].keptFile +
                  "\"\n\n1 job of 3 not converted, as the batch was stopped:\n3. " +
                  folder.file("third.avi"));
}

TEST_F(SideBySideBatchTest, AFailingJobDoesNotStopTheOthers) {
    addJob("long", "runfor=2");
    addJob("broken", "fail why=no room");
    addJob("fine", "");
    const auto batch = makeBatch(2);
    batch->run();
    EXPECT_EQ(batch->results()[0].outcome, JobOutcome::Done);
    EXPECT_EQ(batch->results()[1].outcome, JobOutcome::Failed);
    EXPECT_EQ(batch->results()[1].reason, "no room");
    EXPECT_EQ(batch->results()[2].outcome, JobOutcome::Done);
    const Events seen = events();
    EXPECT_LT(indexOf(seen, "start", output("fine")), indexOf(seen, "end", output("long")))
        << "the next Job took the failed one's place at once";
}

// Jobs are started in list order, but never two that write the same file.
TEST_F(SideBySideBatchTest, JobsWritingTheSameFileNeverConvertTogether) {
    addJob("one", "runfor=1.5", "same");
    addJob("two", "runfor=0.2", "same");
    addJob("other", "runfor=0.2");
    const auto batch = makeBatch(3);
    batch->run();
    const Events seen = events();
    EXPECT_EQ(mostAtOnce(seen, output("same")), 1);
    EXPECT_EQ(mostAtOnce(seen), 2) << "the other Job went beside the first";
    EXPECT_LT(indexOf(seen, "start", output("other")), indexOf(seen, "end", output("same")));
    EXPECT_THAT(view.outcomes.events(), UnorderedElementsAre("0 done", "1 done", "2 done"));
}

// The overwrite questions come one at a time, while the Job that needs none converts.
TEST_F(SideBySideBatchTest, QuestionsAreAskedOneAtATimeWhileOthersConvert) {
    class SlowAnswers : public RecordingView {
    public:
        bool askOverwrite(const std::string& question) override {
            const int now = ++asking;
            most = std::max(most.load(), now);
            convertingMeanwhile = convertingMeanwhile || batch->engineRunning();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            --asking;
            return RecordingView::askOverwrite(question);
        }
        BatchRun* batch = nullptr;
        std::atomic<int> asking{0};
        std::atomic<int> most{0};
        std::atomic<bool> convertingMeanwhile{false};
    } answers;
    answers.overwrite = true;
    addJob("new", "runfor=2");
    addJob("a", "");
    addJob("b", "");
    std::filesystem::create_directories(folder.file("out"));
    folder.write("out/a.mp4", "old");
    folder.write("out/b.mp4", "old");
    settings.setOverwritePolicy(kAskBeforeOverwrite);
    BatchRun batch(jobs, answers, services, folder.path() + "logs/");
    batch.setJobsAtOnce(3);
    answers.batch = &batch;
    batch.run();
    EXPECT_EQ(answers.most, 1);
    EXPECT_TRUE(answers.convertingMeanwhile);
    const std::vector<std::string> told = answers.events();
    EXPECT_EQ(std::count_if(told.begin(), told.end(),
                            [](const std::string& e) { return e.rfind("ask ", 0) == 0; }),
              2);
    EXPECT_NE(folder.read("out/a.mp4"), "old");
    EXPECT_NE(folder.read("out/b.mp4"), "old");
}

TEST(BatchSchedule, ClaimsMeetOnTheStemAndOnASplitJobsParts) {
    EXPECT_TRUE(claimsMeet({"/out/a", false}, {"/out/a", false}));
    EXPECT_TRUE(claimsMeet({"/out/A", false}, {"/out/a", false})) << "case may not count";
    EXPECT_FALSE(claimsMeet({"/out/a", false}, {"/out/ab", false}));
    EXPECT_FALSE(claimsMeet({"/out/a", false}, {"/other/a", false}));
    // A split Job writes and clears "<stem>_clip_N".
    EXPECT_TRUE(claimsMeet({"/out/a", true}, {"/out/a_clip_2", false}));
    EXPECT_TRUE(claimsMeet({"/out/a_clip_2", false}, {"/out/a", true}));
    EXPECT_FALSE(claimsMeet({"/out/a", false}, {"/out/a_clip_2", false}));
    EXPECT_FALSE(claimsMeet({"/out/a", true}, {"/out/a_clip_", false}));
}

TEST(BatchSchedule, TheFirstWaitingJobWhoseFilesAreFreeStartsNext) {
    BatchSchedule schedule({{"/o/x", false}, {"/o/x", false}, {"/o/y", false}, {"/o/x", true}});
    EXPECT_EQ(schedule.startNext(), 0u);
    EXPECT_EQ(schedule.startNext(), 2u) << "1 and 3 write what 0 writes";
    EXPECT_EQ(schedule.startNext(), std::nullopt);
    EXPECT_EQ(schedule.runningCount(), 2u);
    schedule.end(0);
    EXPECT_EQ(schedule.startNext(), 1u);
    EXPECT_EQ(schedule.startNext(), std::nullopt);
    EXPECT_TRUE(schedule.anyWaiting());
    schedule.end(1);
    EXPECT_EQ(schedule.startNext(), 3u);
    EXPECT_FALSE(schedule.anyWaiting());
}

}  // namespace
}  // namespace pelorine
