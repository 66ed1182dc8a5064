// The kept list: written after a change (one write for a run of changes),
// restored after an unclean end when the user says so, after a clean one
// only when the setting asks; damaged files, gone sources, a second program
// and a disk that refuses the writes.

#include <sys/mount.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "conversion/OutputNames.h"
#include "keeping/KeepFakes.h"
#include "keeping/ListKeeper.h"
#include "project/ProjectFile.h"
#include "project/SampleJobs.h"
#include "records/OutputFiles.h"
#include "support/TestSupport.h"

namespace pelorine {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using namespace std::chrono_literals;

class ListKeeperTest : public ::testing::Test {
protected:
    ListKeeperTest() {
        fs::create_directories(folder.file("out"));
        list.jobs = testing::sampleJobs(folder.path());
        for (const Job& job : list.jobs) {
            touch(job.sourcePath);
        }
    }
    static void touch(const std::string& path) { std::ofstream(path) << "x"; }

    std::unique_ptr<ListKeeper> keeper(std::string state = "") {
        return std::make_unique<ListKeeper>(state.empty() ? stateFolder : state,
                                            KeepingServices{files, timer, writer, dialogs},
                                            [this] { return list; });
    }
    // A run that kept `kept` and ended without finishing (a kill).
    void killedRunKept(const KeptList& kept) {
        const KeptList shown = list;
        list = kept;
        auto run = keeper();
        run->start(false);
        ASSERT_TRUE(timer.fire());
        list = shown;
    }
    std::vector<Job> jobsOnDisk() const {
        const OpenedProject opened = openProject(stateFolder + "list.vpt", files);
        EXPECT_EQ(opened.result, OpenedProject::Result::Opened) << opened.detail.message();
        return opened.jobs;
    }

    testing::TempFolder folder;
    std::string stateFolder = folder.file("state") + "/";
    platform::FileSystem& files = platform::systemFileSystem();
    testing::ManualTimer timer;
    testing::InlineWriter writer;
    testing::ScriptedKeepDialogs dialogs;
    KeptList list;
};

TEST_F(ListKeeperTest, ARunOfChangesGivesOneWriteASecondAfterTheFirst) {
    auto run = keeper();
    EXPECT_FALSE(run->start(false));
    ASSERT_TRUE(timer.fire());  // the start's own write: this run's list is on disk
    for (int key = 0; key < 20; ++key) {
        list.jobs[0].videoBitrate = std::to_string(1000 + key);
        run->changed();
    }
    EXPECT_EQ(timer.delays, std::vector<std::chrono::milliseconds>(2, 1000ms));
    EXPECT_EQ(writer.writes, 1);
    ASSERT_TRUE(timer.fire());
    EXPECT_FALSE(timer.fire());
    EXPECT_EQ(writer.writes, 2);
    EXPECT_EQ(jobsOnDisk(), list.jobs);
    EXPECT_TRUE(dialogs.told.empty());
}

// A batch converting two Jobs at once: both were running, both wait again
// without their unfinished files.
TEST_F(ListKeeperTest, AfterAKillEveryJobThatWasConvertingWaitsAgain) {
    KeptList kept = list;
    kept.outcomes = {JobOutcome::Pending, JobOutcome::Done, JobOutcome::Pending};
    kept.running = {0, 2};
    touch(firstOutputPath(kept.jobs[1]));
    const std::string first = partialOutputPath(firstOutputPath(kept.jobs[0]));
    const std::string third = partialOutputPath(firstOutputPath(kept.jobs[2]));
    touch(first);
    touch(third);
    killedRunKept(kept);

    auto next = keeper();
    const auto restored = next->start(false);
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_THAT(dialogs.questions[0], ::testing::HasSubstr("1 converted, 2 remaining."));
    ASSERT_TRUE(restored);
    EXPECT_THAT(restored->outcomes,
                ElementsAre(JobOutcome::Pending, JobOutcome::Done, JobOutcome::Pending));
    EXPECT_TRUE(restored->running.empty());
    EXPECT_FALSE(fs::exists(first));
    EXPECT_FALSE(fs::exists(third));
}

TEST_F(ListKeeperTest, AfterAKillTheListComesBackWithItsStates) {
    KeptList kept = list;
    kept.outcomes = {JobOutcome::Done, JobOutcome::Pending, JobOutcome::Failed};
    kept.running = {1};
    touch(firstOutputPath(kept.jobs[0]));
    const std::string unfinished = partialOutputPath(firstOutputPath(kept.jobs[1]));
    touch(unfinished);
    killedRunKept(kept);

    auto next = keeper();
    const auto restored = next->start(false);
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0],
              "Pelorine did not close normally. Restore the list of 3 jobs?\n\n"
              "1 converted, 2 remaining.");
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->jobs, kept.jobs);
    EXPECT_THAT(restored->outcomes,
                ElementsAre(JobOutcome::Done, JobOutcome::Pending, JobOutcome::Failed));
    EXPECT_TRUE(restored->running.empty());
    EXPECT_FALSE(fs::exists(unfinished));
    EXPECT_TRUE(dialogs.told.empty());
}

TEST_F(ListKeeperTest, AConvertedJobWhoseOutputIsGoneWaitsAgain) {
    KeptList kept = list;
    kept.outcomes = {JobOutcome::Done, JobOutcome::Done, JobOutcome::Stopped};
    touch(firstOutputPath(kept.jobs[1]));
    killedRunKept(kept);
    const auto restored = keeper()->start(false);
    ASSERT_TRUE(restored);
    EXPECT_THAT(restored->outcomes,
                ElementsAre(JobOutcome::Pending, JobOutcome::Done, JobOutcome::Stopped));
    EXPECT_THAT(dialogs.questions.at(0), HasSubstr("1 converted, 2 remaining."));
}

TEST_F(ListKeeperTest, DiscardStartsEmptyAndTheEmptyListIsKept) {
    killedRunKept(list);
    const std::string unfinished = partialOutputPath(firstOutputPath(list.jobs[0]));
    touch(unfinished);
    dialogs.restore = false;
    const KeptList shown = list;
    list = {};
    auto next = keeper();
    EXPECT_FALSE(next->start(false));
    EXPECT_EQ(dialogs.questions.size(), 1u);
    EXPECT_TRUE(fs::exists(unfinished));  // only a restore touches the outputs
    ASSERT_TRUE(timer.fire());
    EXPECT_TRUE(jobsOnDisk().empty());
}

TEST_F(ListKeeperTest, AfterACleanEndOnlyTheSettingRestores) {
    {
        auto run = keeper();
        run->start(false);
        ASSERT_TRUE(run->finish());
        EXPECT_FALSE(fs::exists(run->markerPath()));
        run->changed();
        EXPECT_FALSE(timer.pending()) << "nothing is written after the end";
    }
    {
        auto kept = keeper();
        const auto restored = kept->start(true);
        ASSERT_TRUE(restored);
        EXPECT_EQ(restored->jobs, list.jobs);
        ASSERT_TRUE(kept->finish());
    }
    EXPECT_FALSE(keeper()->start(false));
    EXPECT_TRUE(dialogs.questions.empty());
}

TEST_F(ListKeeperTest, GoneSourcesAreLeftOutAndNamedOnce) {
    killedRunKept(list);
    fs::remove(list.jobs[0].sourcePath);
    fs::remove(list.jobs[2].sourcePath);
    const auto restored = keeper()->start(false);
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->jobs, std::vector<Job>{list.jobs[1]});
    EXPECT_THAT(dialogs.questions.at(0), HasSubstr("Restore the list of 1 job?"));
    EXPECT_THAT(dialogs.told,
                ElementsAre("These jobs were left out because their video is gone:\n" +
                            list.jobs[0].sourcePath + "\n" + list.jobs[2].sourcePath));
}

TEST_F(ListKeeperTest, ADamagedOrCutListIsMovedAsideAndToldOnceAndNoneIsWrittenOver) {
    std::vector<std::uint8_t> whole;
    std::vector<const Job*> jobs;
    for (const Job& job : list.jobs) {
        jobs.push_back(&job);
    }
    ASSERT_TRUE(encodeProject(jobs, whole));
    const std::string cut(whole.begin(), whole.begin() + static_cast<long>(whole.size() / 2));
    const std::pair<std::string, std::string> cases[] = {
        {cut, "list.vpt.damaged"}, {"not a list at all", "list.vpt.damaged.2"}};
    for (const auto& [bytes, aside] : cases) {
        dialogs.told.clear();
        fs::create_directories(stateFolder);
        std::ofstream(stateFolder + "list.vpt", std::ios::binary) << bytes;
        std::ofstream(stateFolder + "list.open") << "open";
        auto next = keeper();
        EXPECT_FALSE(next->start(false));
        EXPECT_TRUE(dialogs.questions.empty());
        ASSERT_EQ(dialogs.told.size(), 1u);
        EXPECT_THAT(dialogs.told[0], HasSubstr("is damaged"));
        EXPECT_THAT(dialogs.told[0], HasSubstr("moved to \"" + stateFolder + aside + "\""));
        EXPECT_EQ(folder.read("state/" + aside), bytes);
        EXPECT_FALSE(fs::exists(next->listPath()));
        next.reset();
        dialogs.told.clear();
        EXPECT_FALSE(keeper()->start(false));
        EXPECT_TRUE(dialogs.told.empty()) << "told once";
    }
    EXPECT_EQ(folder.read("state/list.vpt.damaged"), cut) << "the first damaged list is kept";
}

TEST_F(ListKeeperTest, ASecondProgramNeverWritesTheFirstOnesList) {
    auto first = keeper();
    first->start(false);
    ASSERT_TRUE(timer.fire());
    testing::ManualTimer otherTimer;
    ListKeeper second(stateFolder, KeepingServices{files, otherTimer, writer, dialogs},
                      [] { return KeptList{}; });
    EXPECT_FALSE(second.start(true));
    EXPECT_FALSE(second.keeping());
    EXPECT_THAT(dialogs.told, ElementsAre(kListKeptElsewhere)) << "the user is told, once";
    second.changed();
    EXPECT_FALSE(otherTimer.pending());
    EXPECT_TRUE(second.finish());
    EXPECT_EQ(jobsOnDisk(), list.jobs);
    EXPECT_TRUE(fs::exists(first->markerPath())) << "the first one is still running";
}

// A state folder that cannot be written: told once, written again at the
// next change, and told again only after a write has succeeded.
TEST_F(ListKeeperTest, AFolderThatRefusesTheWriteIsToldOnceAndTriedAgain) {
    touch(folder.file("blocked"));  // a file where the folder should be
    auto run = keeper(folder.file("blocked") + "/");
    EXPECT_FALSE(run->start(false));
    ASSERT_TRUE(timer.fire());
    run->changed();
    ASSERT_TRUE(timer.fire());
    ASSERT_EQ(dialogs.told.size(), 1u);
    EXPECT_THAT(dialogs.told[0], HasSubstr("The list cannot be kept on disk."));
    EXPECT_THAT(dialogs.told[0], HasSubstr("blocked/list.vpt"));
    EXPECT_EQ(writer.writes, 2);

    fs::remove(folder.file("blocked"));
    fs::create_directory(folder.file("blocked"));
    run->changed();
    ASSERT_TRUE(timer.fire());
    EXPECT_TRUE(fs::exists(folder.file("blocked/list.vpt")));
    fs::remove_all(folder.file("blocked"));
    touch(folder.file("blocked"));
    run->changed();
    ASSERT_TRUE(timer.fire());
    EXPECT_EQ(dialogs.told.size(), 2u);
}

// A full disk: a small filesystem of its own (a tmpfs, which needs root).
class FullDiskTest : public ListKeeperTest {
protected:
    void SetUp() override {
        fs::create_directories(stateFolder);
        if (::mount("tmpfs", stateFolder.c_str(), "tmpfs", 0, "size=64k") != 0) {
            GTEST_SKIP() << "a tmpfs cannot be mounted here: " << std::strerror(errno);
        }
        mounted_ = true;
    }
    void TearDown() override {
        if (mounted_) {
            ::umount2(stateFolder.c_str(), MNT_DETACH);
        }
    }
    // Fills what is left of the small disk.
    void fill() const {
        std::ofstream filler(stateFolder + "filler", std::ios::binary);
        const std::string block(4096, 'f');
        for (int i = 0; i < 64 && filler; ++i) {
            filler << block << std::flush;
        }
    }

private:
    bool mounted_ = false;
};

TEST_F(FullDiskTest, TheListStaysInMemoryAndTheOldFileWhole) {
    auto run = keeper();
    run->start(false);
    ASSERT_TRUE(timer.fire());
    const std::vector<Job> before = jobsOnDisk();
    ASSERT_EQ(before, list.jobs);
    fill();
    for (Job& job : list.jobs) {
        job.outputPath += std::string(4000, 'x');  // a list larger than what is left
    }
    for (int change = 0; change < 2; ++change) {
        run->changed();
        ASSERT_TRUE(timer.fire());
    }
    ASSERT_EQ(dialogs.told.size(), 1u);
    EXPECT_THAT(dialogs.told[0], HasSubstr("No space left on device"));
    EXPECT_EQ(jobsOnDisk(), before);
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(stateFolder)) {
        names.insert(entry.path().filename().string());
    }
    EXPECT_EQ(names,
              (std::set<std::string>{"filler", "list.lock", "list.open", "list.state", "list.vpt"}))
        << "no temporary file is left";

    fs::remove(stateFolder + "filler");
    run->changed();
    ASSERT_TRUE(timer.fire());
    EXPECT_EQ(jobsOnDisk(), list.jobs);
    EXPECT_EQ(dialogs.told.size(), 1u);
}

}  // namespace
}  // namespace pelorine
