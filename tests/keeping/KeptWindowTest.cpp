// The window's logic keeping its list, with the fake engine: a batch ended
// in the middle (the program gone without its clean end, as after a kill),
// then a new start that asks, restores the list as it was with the states it
// had, and converts only what was not done.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "keeping/KeepFakes.h"
#include "records/OutputFiles.h"
#include "support/ScriptedWindow.h"

namespace pelorine {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

// One start of the program: the window's logic over the shared folder.
struct Start {
    explicit Start(testing::TempFolder& folder)
        : paths(folder.path()),
          settings(platform::systemFileSystem(), folder.file("zelvic.ini"), folder.file("out")),
          controller({engine, paths, platform::systemFileSystem(), power, desktop, settings,
                      testing::systemDevices()},
                     window, window) {
        window.controller = &controller;
        controller.initialise();
    }
    ~Start() { window.close(); }
    void keep(bool restore) {
        dialogs.restore = restore;
        controller.keepList({platform::systemFileSystem(), timer, writer, dialogs});
    }
    std::string status(std::size_t row) const { return window.rows.at(row).at(kStatusColumn); }

    testing::FolderPaths paths;
    Engine engine{platform::systemProcessLauncher(), platform::systemProcessList(), paths,
                  platform::systemFileSystem()};
    Settings settings;
    testing::ScriptedDesktop desktop;
    testing::RecordingPower power;
    testing::ScriptedWindow window;
    testing::ManualTimer timer;
    testing::InlineWriter writer;
    testing::ScriptedKeepDialogs dialogs;
    MainController controller;
};

class KeptWindowTest : public ::testing::Test {
protected:
    KeptWindowTest() {
        testing::installFakeEngine(folder.path());
        ::setenv("FAKE_ZELVIC_LOG", folder.file("engine.log").c_str(), 1);
    }
    ~KeptWindowTest() override { ::unsetenv("FAKE_ZELVIC_LOG"); }
    void addJob(Start& start, const std::string& name, const std::string& behaviour) {
        folder.write(name + ".avi", "length=5 " + behaviour);
        start.controller.jobs().append(
            testing::plainJob(folder.file(name + ".avi"), folder.file("out/" + name + ".MP4"), 5));
    }
    std::size_t engineRuns() const {
        std::ifstream log(folder.file("engine.log"));
        std::size_t runs = 0;
        for (std::string line; std::getline(log, line);) {
            runs += line.find("\x1f-o\x1f") != std::string::npos ? 1 : 0;
        }
        return runs;
    }

    testing::TempFolder folder;
};

TEST_F(KeptWindowTest, AfterAnEndInTheMiddleOfABatchOnlyTheRestIsConverted) {
    std::vector<Job> before;
    {
        Start first(folder);
        first.keep(false);
        addJob(first, "first", "");
        addJob(first, "second", "hold");
        addJob(first, "third", "");
        first.controller.jobs().job(2).videoBitrate = "768";
        first.controller.jobs().changed(2);
        before = first.controller.jobs().snapshot();
        first.controller.handleCommand(command::kConvert, first.window.at());
        ASSERT_TRUE(testing::waitUntil([&] {
            const BatchRun* batch = first.controller.batch().lastBatch();
            return batch && batch->currentJob() == 2 && batch->engineRunning();
        }));
        ASSERT_TRUE(first.timer.fire());  // the list as it stands goes to disk
        // The program goes here; its batch with it (the kill leaves the
        // running Job's unfinished file behind).
        first.timer.cancel();
    }
    folder.write(partialOutputPath("out/second.mp4"), "length=2");
    fs::remove(folder.file("engine.log"));

    Start next(folder);
    next.keep(true);
    ASSERT_EQ(next.dialogs.questions.size(), 1u);
    EXPECT_EQ(next.dialogs.questions[0],
              "Pelorine did not close normally. Restore the list of 3 jobs?\n\n"
              "1 converted, 2 remaining.");
    EXPECT_EQ(next.controller.jobs().snapshot(), before);
    EXPECT_EQ(next.status(0), "done");
    EXPECT_EQ(next.status(1), "");
    EXPECT_FALSE(fs::exists(folder.file(partialOutputPath("out/second.mp4"))));

    folder.write("second.avi", "length=5");
    next.controller.handleCommand(command::kConvert, next.window.at());
    ASSERT_TRUE(testing::waitUntil([&] { return !next.controller.batchActive(); }));
    EXPECT_EQ(engineRuns(), 2u) << "only the second and the third Job ran";
    EXPECT_THAT((std::vector<std::string>{next.status(0), next.status(1), next.status(2)}),
                ElementsAre("done", "done", "done"));
    ASSERT_TRUE(next.controller.finishKeeping());

    Start clean(folder);
    clean.keep(true);
    EXPECT_TRUE(clean.dialogs.questions.empty()) << "a clean end asks nothing";
    EXPECT_TRUE(clean.controller.jobs().empty()) << "the setting is off";
}

}  // namespace
}  // namespace pelorine
