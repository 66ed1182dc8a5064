// Engine runs, each in a session of its own: launch, the running check, the
// identify flow and the channel folders, with the fake engine as a real process.

#include "engine/Engine.h"

#include <gtest/gtest.h>

#include "engine/EngineSession.h"
#include "support/TestSupport.h"

namespace pelorine {
namespace {

using testing::TempFolder;

class EngineTest : public ::testing::Test {
protected:
    EngineTest() { testing::installFakeEngine(folder.path()); }

    // An engine of this user that this program does not own; it ignores quit.
    std::unique_ptr<platform::ChildProcess> foreignEngine(const std::string& channel) {
        std::filesystem::create_directories(channel);
        auto started = platform::systemProcessLauncher().start(
            engine.path() + " -hold -currentfolder \"" + channel + "\"", "");
        EXPECT_TRUE(started.started);
        EXPECT_TRUE(testing::waitUntil([&] { return engine.isRunning(); }));
        return std::move(started.process);
    }

    TempFolder folder;
    testing::FolderPaths paths{folder.path()};
    Engine engine{platform::systemProcessLauncher(), platform::systemProcessList(), paths,
                  platform::systemFileSystem()};
};

TEST(IdentifyCommandLine, QuotesFilesAndPassesDiscOptionsAsTheyAre) {
    EXPECT_EQ(Engine::identifyCommandLine("/opt/p/zelvic", "/v/My Clip.avi", false, "/run/p/"),
              "/opt/p/zelvic \"/v/My Clip.avi\"  -vo null -nosound -identify -currentfolder "
              "\"/run/p/\" ");
    EXPECT_EQ(Engine::identifyCommandLine("/opt/p/zelvic", " dvd://1 -dvd-device \"/dev/sr0\" ",
                                          true, "/run/p/"),
              "/opt/p/zelvic  dvd://1 -dvd-device \"/dev/sr0\"   -vo null -nosound -identify "
              "-currentfolder \"/run/p/\" ");
    // The Windows form: the folder's trailing backslash is doubled before the quote.
    EXPECT_EQ(Engine::identifyCommandLine(R"(C:\WINDOWS\system32\zelvic.exe)", R"(C:\V\A.avi)",
                                          false, R"(C:\App\)"),
              R"(C:\WINDOWS\system32\zelvic.exe "C:\V\A.avi"  -vo null -nosound -identify )"
              R"(-currentfolder "C:\App\\" )");
}

TEST(ActivityState, ConvertingComesBeforePreviewing) {
    EXPECT_EQ(activityState(true, false), ActivityState::Converting);
    EXPECT_EQ(activityState(true, true), ActivityState::Converting);
    EXPECT_EQ(activityState(false, true), ActivityState::Previewing);
    EXPECT_EQ(activityState(false, false), ActivityState::Idle);
}

TEST(RunFolderOwner, ReadsOnlyRunFolderNames) {
    EXPECT_EQ(runFolderOwner("run-1234-7"), 1234);
    for (const char* name :
         {"run-", "run-12", "run--3-1", "run-x-1", "logs", "run-0-1", "Run-1-1"}) {
        EXPECT_FALSE(runFolderOwner(name)) << name;
    }
}

TEST_F(EngineTest, IdentifyReadsWhatTheEngineWroteInARunOfItsOwn) {
    folder.write("clip one.avi", "length=125.5 width=640 height=480");
    const IdentifyOutcome outcome = engine.identify(folder.file("clip one.avi"), false);
    ASSERT_EQ(outcome.result, IdentifyResult::Identified);
    EXPECT_EQ(outcome.exitStatus, 0);
    EXPECT_EQ(outcome.info->mediaLength(), 125.5);
    EXPECT_EQ(outcome.info->videoWidth(), 640);
    EXPECT_EQ(outcome.info->videoHeight(), 480);
    EXPECT_TRUE(std::filesystem::is_empty(folder.file("run"))) << "its channel folder is gone";
}

TEST_F(EngineTest, AnOldRecordIsNeverReadForANewSource) {
    folder.write("good.avi", "length=10");
    ASSERT_EQ(engine.identify(folder.file("good.avi"), false).result, IdentifyResult::Identified);
    EXPECT_EQ(engine.identify(folder.file("missing.avi"), false).result,
              IdentifyResult::NotIdentified);
    folder.write("empty.avi", "length=0");
    EXPECT_EQ(engine.identify(folder.file("empty.avi"), false).result,
              IdentifyResult::NotIdentified);
}

TEST_F(EngineTest, IdentifyWhileAnEngineRunsStartsNothingAndLeavesItAlone) {
    const std::string theirs = folder.file("run/");
    const auto other = foreignEngine(theirs);
    folder.write("run/vctrl.dat", std::string("\0\0\0\0", 4));

    folder.write("a.avi", "length=10");
    const IdentifyOutcome outcome = engine.identify(folder.file("a.avi"), false);
    EXPECT_EQ(outcome.result, IdentifyResult::EngineBusy);
    EXPECT_EQ(outcome.detail.message(), "Please stop converting or playing the movie!");
    // Nothing was written into another run's control file.
    EXPECT_EQ(folder.read("run/vctrl.dat"), std::string("\0\0\0\0", 4));
    EXPECT_FALSE(other->hasEnded());

    EXPECT_TRUE(other->forceEnd());
    other->wait();
    EXPECT_TRUE(testing::waitUntil([&] { return !engine.isRunning(); }));
}

// Another run of ours (this window's, another window's, a pelorine-cli's)
// talks through its own folder inside the private folder: an identify goes
// on beside it and leaves it alone, while the sweep still waits for it.
TEST_F(EngineTest, AnEngineOfOursHoldsNoIdentifyBack) {
    EngineSession other(engine, EnginePurpose::Convert);
    ASSERT_TRUE(other.open());
    ASSERT_TRUE(
        other.start(engine.path() + " -currentfolder \"" + other.channelFolder() + "\"", ""));
    ASSERT_TRUE(testing::waitUntil([&] { return engine.isRunning(); }));
    EXPECT_FALSE(engine.foreignEngineRunning());

    folder.write("a.avi", "length=10");
    const IdentifyOutcome outcome = engine.identify(folder.file("a.avi"), false);
    EXPECT_EQ(outcome.result, IdentifyResult::Identified);
    EXPECT_TRUE(other.running());
    std::filesystem::create_directories(folder.file("run/run-999999999-1"));
    engine.sweepStaleRuns();
    EXPECT_TRUE(std::filesystem::exists(folder.file("run/run-999999999-1")))
        << "not swept while any engine runs";
    other.quit();
    EXPECT_EQ(other.waitForEnd(), 4);
}

TEST_F(EngineTest, AMissingEngineIdentifiesNothing) {
    std::filesystem::remove(folder.file("zelvic"));
    folder.write("a.avi", "length=10");
    const IdentifyOutcome outcome = engine.identify(folder.file("a.avi"), false);
    EXPECT_EQ(outcome.result, IdentifyResult::NotIdentified);
    EXPECT_FALSE(outcome.detail);
}

TEST_F(EngineTest, SessionsTalkThroughFoldersOfTheirOwn) {
    EngineSession first(engine, EnginePurpose::Preview);
    EngineSession second(engine, EnginePurpose::Preview);
    ASSERT_TRUE(first.open());
    ASSERT_TRUE(second.open());
    EXPECT_NE(first.channelFolder(), second.channelFolder());
    for (EngineSession* session : {&first, &second}) {
        // Without -o or -identify the fake engine waits for quit.
        ASSERT_TRUE(session->start(
            engine.path() + " -currentfolder \"" + session->channelFolder() + "\"", ""));
    }
    ASSERT_TRUE(first.running() && second.running());

    // Quit reaches only the run it is meant for.
    first.quit();
    EXPECT_EQ(first.waitForEnd(), 4);
    EXPECT_TRUE(second.running());
    EXPECT_FALSE(second.waitForEnd(std::chrono::milliseconds(50)));
    EXPECT_EQ(second.end(), 4);
    EXPECT_FALSE(second.stopRequested());
    second.requestStop();
    EXPECT_TRUE(second.stopRequested());
}

TEST_F(EngineTest, AnEngineThatIgnoresQuitIsEndedByItsOwnSession) {
    EngineSession session(engine, EnginePurpose::Preview);
    ASSERT_TRUE(session.open());
    ASSERT_TRUE(session.start(
        engine.path() + " -hold -currentfolder \"" + session.channelFolder() + "\"", ""));
    int pumped = 0;
    EXPECT_EQ(session.end(std::chrono::milliseconds(100), [&] { ++pumped; }), 128 + 9);
    EXPECT_GT(pumped, 0) << "the window kept painting while it waited";
    EXPECT_FALSE(session.running());
    EXPECT_FALSE(session.forceEnd()) << "an ended run is never signalled";
}

TEST_F(EngineTest, TheChannelFolderGoesWithTheRunUnlessItsEngineStillRuns) {
    std::string folderOfEnded;
    std::string folderOfRunning;
    std::unique_ptr<EngineSession> left;
    {
        EngineSession ended(engine, EnginePurpose::Convert);
        ASSERT_TRUE(ended.open());
        folderOfEnded = ended.channelFolder();
        EXPECT_TRUE(std::filesystem::is_directory(folderOfEnded));
    }
    EXPECT_FALSE(std::filesystem::exists(folderOfEnded));

    left = std::make_unique<EngineSession>(engine, EnginePurpose::Convert);
    ASSERT_TRUE(left->open());
    folderOfRunning = left->channelFolder();
    ASSERT_TRUE(left->start(engine.path() + " -currentfolder \"" + folderOfRunning + "\"", ""));
    ASSERT_TRUE(left->running());
    const platform::ProcessId pid = *left->pid();
    left.reset();  // as when the window closes: the engine goes on
    EXPECT_TRUE(std::filesystem::is_directory(folderOfRunning));
    EXPECT_TRUE(platform::systemProcessList().exists(pid));
    folder.write(folderOfRunning.substr(folder.path().size()) + "vctrl.dat",
                 std::string("\2\0\0\0", 4));
    EXPECT_TRUE(testing::waitUntil([&] { return !engine.isRunning(); }));

    // A later start sweeps folders whose program has gone; ours stay.
    std::filesystem::create_directories(folder.file("run/run-999999999-1"));
    engine.sweepStaleRuns();
    EXPECT_FALSE(std::filesystem::exists(folder.file("run/run-999999999-1")));
    EXPECT_TRUE(std::filesystem::exists(folderOfRunning)) << "this program's own";
}

// This program's process id comes from the process list it is handed: its runs
// are named for it, and the sweep keeps them even when no such process exists.
TEST_F(EngineTest, RunsAreNamedForTheProcessIdHandedIn) {
    struct OtherId final : platform::ProcessList {
        platform::ProcessQuery isRunning(const std::string& path) const override {
            return platform::systemProcessList().isRunning(path);
        }
        platform::ProcessQuery isRunningExcept(const std::string& path,
                                               const platform::InsideFolder& ours) const override {
            return platform::systemProcessList().isRunningExcept(path, ours);
        }
        bool exists(platform::ProcessId pid) const override {
            return platform::systemProcessList().exists(pid);
        }
        platform::ProcessId ownId() const override { return 999999998; }
        platform::ProcessId parentId() const override { return 1; }
    } processes;
    Engine named(platform::systemProcessLauncher(), processes, paths, platform::systemFileSystem());
    EngineSession session(named, EnginePurpose::Convert);
    ASSERT_TRUE(session.open());
    EXPECT_EQ(session.channelFolder().rfind(folder.file("run/run-999999998-"), 0), 0u)
        << session.channelFolder();
    named.sweepStaleRuns();
    EXPECT_TRUE(std::filesystem::is_directory(session.channelFolder()));
}

}  // namespace
}  // namespace pelorine
