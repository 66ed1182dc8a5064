// Engine launch, the running check and the identify flow, with the fake
// engine as a real process.

#include "engine/Engine.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace pelorine {
namespace {

using testing::TempFolder;

class EngineTest : public ::testing::Test {
protected:
    EngineTest() { testing::installFakeEngine(folder.path()); }

    TempFolder folder;
    testing::FolderPaths paths{folder.path()};
    Engine engine{platform::systemProcessLauncher(), platform::systemProcessList(), paths,
                  platform::systemFileSystem()};
    EngineLink link{platform::systemFileSystem()};
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

TEST(ActivityState, IsDerivedFromTheFlagAndTheEngine) {
    EXPECT_EQ(activityState(0, true), ActivityState::Converting);
    EXPECT_EQ(activityState(1, true), ActivityState::Previewing);
    EXPECT_EQ(activityState(0, false), ActivityState::Idle);
    EXPECT_EQ(activityState(1, false), ActivityState::Idle);
}

TEST_F(EngineTest, IdentifyReadsWhatTheEngineWrote) {
    folder.write("clip one.avi", "length=125.5 width=640 height=480");
    const IdentifyOutcome outcome = engine.identify(link, folder.file("clip one.avi"), false);
    ASSERT_EQ(outcome.result, IdentifyResult::Identified);
    EXPECT_EQ(outcome.exitStatus, 0);
    EXPECT_EQ(link.mediaLength(), 125.5);
    EXPECT_EQ(link.mediaInfo().videoWidth(), 640);
    EXPECT_EQ(link.mediaInfo().videoHeight(), 480);
    EXPECT_EQ(link.channelFolder(), folder.path() + "run/");
}

TEST_F(EngineTest, AnOldRecordIsNeverReadForANewSource) {
    folder.write("good.avi", "length=10");
    ASSERT_EQ(engine.identify(link, folder.file("good.avi"), false).result,
              IdentifyResult::Identified);
    EXPECT_EQ(engine.identify(link, folder.file("missing.avi"), false).result,
              IdentifyResult::NotIdentified);
    folder.write("empty.avi", "length=0");
    EXPECT_EQ(engine.identify(link, folder.file("empty.avi"), false).result,
              IdentifyResult::NotIdentified);
}

TEST_F(EngineTest, IdentifyWhileTheEngineRunsStartsNothing) {
    std::string channel;
    ASSERT_TRUE(paths.ensureChannelFolder(channel));
    link.setChannelFolder(channel);
    ASSERT_TRUE(link.writeRun());
    // -hold: the fake engine pays no heed to quit, so it surely still runs.
    ASSERT_TRUE(
        engine.launch(engine.path() + " -hold -currentfolder \"" + channel + "\"", false).started);
    ASSERT_TRUE(testing::waitUntil([&] { return engine.isRunning(); }));

    folder.write("a.avi", "length=10");
    const IdentifyOutcome outcome = engine.identify(link, folder.file("a.avi"), false);
    EXPECT_EQ(outcome.result, IdentifyResult::EngineBusy);
    EXPECT_EQ(outcome.detail.message(), "Please stop converting or playing the movie!");

    EXPECT_EQ(engine.terminateAll(), 1);
    EXPECT_TRUE(testing::waitUntil([&] { return !engine.isRunning(); }));
}

TEST_F(EngineTest, AMissingEngineIdentifiesNothing) {
    std::filesystem::remove(folder.file("zelvic"));
    folder.write("a.avi", "length=10");
    const IdentifyOutcome outcome = engine.identify(link, folder.file("a.avi"), false);
    EXPECT_EQ(outcome.result, IdentifyResult::NotIdentified);
    EXPECT_FALSE(outcome.detail);
}

}  // namespace
}  // namespace pelorine
