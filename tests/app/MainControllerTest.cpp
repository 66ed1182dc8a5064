// The main window's decisions, driven without a display: a scripted window,
// scripted dialogs, and the fake engine as the engine.

#include "app/MainController.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/Commands.h"
#include "conversion/JobsAtOnce.h"
#include "settings/OutputFolder.h"
#include "support/Recorders.h"
#include "support/ScriptedWindow.h"
#include "support/TestSupport.h"

namespace pelorine {
namespace {

using testing::ExitCalled;
using testing::ScriptedDesktop;
using testing::ScriptedWindow;

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class MainControllerTest : public testing::ControllerFixture {
protected:
    Job& addJob(const std::string& name) {
        folder.write(name + ".avi", "length=50");
        return controller.jobs().append(
            testing::plainJob(folder.file(name + ".avi"), folder.file("out/" + name + ".MP4"), 50));
    }
};

TEST(OutputFolder, RetargetKeepsTheFileName) {
    EXPECT_EQ(retargetOutputPath("/media/psp", "/home/me/out/M4V12345.MP4"),
              "/media/psp/M4V12345.MP4");
    EXPECT_EQ(retargetOutputPath("/", "/home/me/out/a.mp4"), "/a.mp4");
    EXPECT_EQ(retargetOutputPath("/media/psp/", "/x/a.mp4"), "/media/psp/a.mp4");
    EXPECT_EQ(retargetOutputPath("", "/x/a.mp4"), "/a.mp4");
}

TEST(OutputFolder, StatusLineShortensLongPathsAtASeparator) {
    EXPECT_EQ(folderStatusText("/home/me/Videos"), "/home/me/Videos");
    const std::string exact(55, 'a');
    EXPECT_EQ(folderStatusText(exact), exact);
    // 73 characters: the last 53 begin inside "a-rather-long-folder-name", so
    // the text starts at the separator that follows.
    const std::string longPath =
        "/home/someone-else/a-rather-long-folder-name/and/yet/another/level/here/x";
    EXPECT_EQ(folderStatusText(longPath), ".../and/yet/another/level/here/x");
    EXPECT_EQ(folderStatusText(std::string(60, 'b')), "..." + std::string(53, 'b'));
}

TEST_F(MainControllerTest, EveryCommandOfTheTableIsHandled) {
    using namespace command;
    for (const int id : {kExit,
                         kFileMenu,
                         kEditMenu,
                         kSettingsMenu,
                         kHelpMenu,
                         kAdd,
                         kDelete,
                         kClear,
                         kConvert,
                         kStop,
                         kDvd,
                         kWebsite,
                         kMinimise,
                         kSaveProfileAs,
                         kBrowse,
                         kCancel,
                         kPlay,
                         kStopPlay,
                         kPlayPrevious,
                         kPlayNext,
                         kNewProject,
                         kOpenProject,
                         kSaveProject,
                         kAddFile,
                         kDeleteSelectedFile,
                         kClearMenu,
                         kExitMenu,
                         kStopPreviewOrGuard,
                         kSetOutputPath,
                         kPlayMenu,
                         kConvertMenu,
                         kHelp,
                         kWebsiteMenu,
                         kAbout,
                         kContactUs,
                         kOverwriteSettings,
                         kVideoInformation,
                         kLoadProfile,
                         kSetOutputFileName,
                         kStopPreviewMenu,
                         kStopConversionMenu,
                         kListPlay,
                         kListStop,
                         kListAddFile,
                         kListClear,
                         kListDvdSettings,
                         kListSetOutputFileName,
                         kListFileInformation,
                         kListDeleteVideoFile}) {
        EXPECT_TRUE(controller.handleCommand(id, window.at())) << id;
    }
    EXPECT_FALSE(controller.handleCommand(4242, window.at()));
}

TEST_F(MainControllerTest, MenusRouteTheChosenItem) {
    window.menuChoice = command::kMinimise;
    controller.handleCommand(command::kHelpMenu, window.at());
    EXPECT_THAT(window.events(), ElementsAre("focus", "menu 148 at 1006", "focus", "minimise"));
    window.clear();
    window.menuChoice = 0;
    controller.handleCommand(command::kFileMenu, window.at());
    EXPECT_THAT(window.events(), ElementsAre("focus", "menu 143 at 1001"));
}

// The menu is modal: its item acts on the row the window sent with the click
// that opened it.
TEST_F(MainControllerTest, AMenuItemActsOnTheRowSentWithTheMenu) {
    for (const std::string name : {"a", "b", "c"}) {
        addJob(name);
    }
    window.menuChoice = command::kDeleteSelectedFile;
    controller.handleCommand(command::kEditMenu, {1, kStartProfile});
    ASSERT_EQ(controller.jobs().count(), 2u);
    EXPECT_EQ(controller.jobs().job(1).sourcePath, folder.file("c.avi"));
    controller.handleCommand(command::kEditMenu, {std::nullopt, kStartProfile});
    EXPECT_EQ(window.events().back(), "box Please select a video in the list first!");
}

TEST_F(MainControllerTest, ExitAsksFirst) {
    window.confirmAnswer = false;
    EXPECT_NO_THROW(controller.handleCommand(command::kExit, window.at()));
    EXPECT_THAT(window.events(), Contains("confirm Video Batch Converter: Exit anyway?"));
    window.confirmAnswer = true;
    try {
        controller.handleCommand(command::kExitMenu, window.at());
        FAIL() << "the program should have ended";
    } catch (const ExitCalled& exit) {
        EXPECT_EQ(exit.code, 1);
    }
    EXPECT_TRUE(controller.closeRequested());
}

TEST_F(MainControllerTest, ChoosingAFolderMovesEveryOutput) {
    addJob("one");
    addJob("two");
    window.folderChoice = folder.file("psp");
    controller.handleCommand(command::kBrowse, window.at());
    EXPECT_EQ(controller.jobs().job(0).outputPath, folder.file("psp/one.MP4"));
    EXPECT_EQ(controller.jobs().job(1).outputPath, folder.file("psp/two.MP4"));
    EXPECT_THAT(window.events(), Contains("cell 1.4 " + folder.file("psp/two.mp4")));
    EXPECT_THAT(window.events(), Contains("edit " + folder.file("psp")));
    EXPECT_THAT(folder.read("zelvic.ini"), HasSubstr("OutputPath=" + folder.file("psp")));

    window.folderChoice.reset();  // cancelled: nothing changes
    controller.handleCommand(command::kSetOutputPath, window.at());
    EXPECT_EQ(settings.outputPath(), folder.file("psp"));

    controller.outputPathEdited("");
    EXPECT_EQ(controller.jobs().job(0).outputPath, "/one.MP4");
}

TEST_F(MainControllerTest, TheOutputFolderDoesNotChangeUnderARunningBatch) {
    addJob("one");
    pretendConverting();
    window.folderChoice = folder.file("elsewhere");
    controller.handleCommand(command::kBrowse, window.at());
    controller.outputPathEdited(folder.file("typed"));
    endPretending();
    EXPECT_EQ(controller.jobs().job(0).outputPath, folder.file("out/one.MP4"));
    EXPECT_THAT(window.events(), Contains("box " + std::string(kGuardMessage)));
    EXPECT_THAT(window.events(), Contains("edit " + folder.file("out")));
}

TEST_F(MainControllerTest, LinksOpenOrSayWhyNot) {
    controller.handleCommand(command::kContactUs, window.at());
    controller.handleCommand(command::kWebsite, window.at());
    EXPECT_THAT(desktop.links,
                ElementsAre("mailto:support@pelorine.example", paths.helpStartPage()));
    desktop.result = platform::kLinkNoAssociation;
    controller.handleCommand(command::kWebsiteMenu, window.at());
    EXPECT_THAT(window.events(),
                Contains("warning Pelorine: Unable to open hyperlink:\n\nThere is no application "
                         "associated\nwith the given filename extension."));
    controller.handleCommand(command::kHelp, window.at());  // no help installed in the test folder
    EXPECT_THAT(window.events().back(), HasSubstr("The help was not found"));
}

TEST_F(MainControllerTest, ConvertRunsTheBatchOnAWorkerAndFollowsItsProgress) {
    addJob("one");
    addJob("two");
    controller.handleCommand(command::kConvert, window.at());
    ASSERT_TRUE(testing::waitUntil([&] { return !controller.batchActive(); }));
    EXPECT_TRUE(std::filesystem::exists(folder.file("out/one.mp4")));
    EXPECT_TRUE(std::filesystem::exists(folder.file("out/two.mp4")));
    EXPECT_THAT(window.events(), Contains("message Complete!"));

    EXPECT_THAT(window.outcomes.events(), ElementsAre("0 done", "1 done"));
    const std::size_t seen = window.events().size();
    controller.progressTick();  // after the batch: nothing moves
    EXPECT_EQ(window.events().size(), seen);
}

TEST_F(MainControllerTest, ProgressTicksFollowTheBatchsOwnCopy) {
    addJob("one");
    addJob("two").duration = 1000;
    folder.write("two.avi", "length=1000 hold");
    controller.handleCommand(command::kConvert, window.at());
    ASSERT_TRUE(testing::waitUntil([&] {
        const BatchRun* batch = controller.batch().lastBatch();
        return batch->currentJob() == 2 && batch->engineRunning();
    }));
    controller.jobs().job(1).duration = 1;  // the list changes; the batch's copy does not
    window.clear();
    // The engine reports one more second every few milliseconds: Job 2 of 2
    // at q % shows q on its bar and 50 + q / 2 overall.
    ASSERT_TRUE(testing::waitUntil([&] {
        controller.progressTick();
        const auto events = window.events();
        return !events.empty() && events.back().rfind("job ", 0) == 0;
    }));
    const std::vector<std::string> bars = window.events();
    ASSERT_GE(bars.size(), 2u);
    const std::string& overallBar = bars[bars.size() - 2];
    ASSERT_EQ(overallBar.rfind("overall ", 0), 0u);
    const int overall = std::stoi(overallBar.substr(std::string("overall ").size()));
    const int job = std::stoi(bars.back().substr(std::string("job ").size()));
    EXPECT_GT(job, 0);
    EXPECT_EQ(overall, 50 + job / 2);
    endPretending();
}

// Two Jobs at once: each running row's Status cell tells its own progress,
// the Progress bar follows the selected one, and Stop stops both.
TEST_F(MainControllerTest, SeveralJobsAtOnceEachShowTheirOwnProgress) {
    addJob("long").duration = 2000;
    addJob("short").duration = 1000;
    addJob("waits");
    folder.write("long.avi", "length=2000 hold");
    folder.write("short.avi", "length=1000 hold");
    controller.batch().setBatchSetup([](BatchRun& batch) { batch.setJobsAtOnce(2); });
    controller.handleCommand(command::kConvert, window.at());
    ASSERT_TRUE(testing::waitUntil([&] {
        const BatchRun* batch = controller.batch().lastBatch();
        return batch && const_cast<BatchRun*>(batch)->state().running.size() == 2;
    }));
    const auto told = [&](std::size_t row) {
        const std::string& cell = window.rows[row][kStatusColumn];
        return cell.rfind("converting ", 0) == 0 && cell.find("\u00d7, ") != std::string::npos &&
               cell.size() > 5 && cell.compare(cell.size() - 5, 5, " left") == 0;
    };
    ASSERT_TRUE(testing::waitUntil([&] {
        controller.progressTick(window.at());
        return told(0) && told(1) && window.timing.find("all ") != std::string::npos;
    }));
    EXPECT_EQ(window.rows[2][kStatusColumn], "waiting");
    // The bar shows the percentage of the cell of the Job it follows.
    const auto barFollows = [&](std::optional<std::size_t> selected, std::size_t row) {
        window.clear();
        controller.progressTick(WindowState{selected, -1});
        const std::string& cell = window.rows[row][kStatusColumn];
        const std::string bar = "job " + cell.substr(11, cell.find(' ', 11) - 11);
        const auto events = window.events();
        return std::find(events.begin(), events.end(), bar) != events.end();
    };
    EXPECT_TRUE(barFollows(1, 1)) << "the selected running Job";
    EXPECT_TRUE(barFollows(2, 0)) << "not running: the first running Job";
    EXPECT_TRUE(barFollows(std::nullopt, 0));
    endPretending();
    EXPECT_EQ(window.rows[0][kStatusColumn], "stopped");
    EXPECT_EQ(window.rows[1][kStatusColumn], "stopped");
    EXPECT_EQ(window.rows[2][kStatusColumn], "") << "not reached";
}

// The status column, the line under the bars and the logs, as a batch with a
// failing Job goes.
TEST_F(MainControllerTest, TheListFollowsTheBatchJobByJob) {
    addJob("one").duration = 100000;  // long enough to be followed while it holds
    addJob("two");
    addJob("three");
    folder.write("two.avi", "length=50 fail why=Read-only file system");
    folder.write("one.avi", "length=1000 hold");
    controller.handleCommand(command::kConvert, window.at());
    ASSERT_TRUE(testing::waitUntil([&] {
        const BatchRun* batch = controller.batch().lastBatch();
        return batch->currentJob() == 1 && batch->engineRunning();
    }));
    EXPECT_EQ(window.rows[1][kStatusColumn], "waiting");
    EXPECT_EQ(window.rows[0][kStatusColumn], "converting");
    EXPECT_EQ(window.selected, 0u);
    ASSERT_TRUE(testing::waitUntil([&] {
        controller.progressTick();
        return window.timing.find("\u00d7 real time") != std::string::npos;
    }));
    EXPECT_THAT(window.rows[0][kStatusColumn], ::testing::MatchesRegex("converting [0-9]+ %"));
    EXPECT_THAT(window.timing, HasSubstr("this job "));
    controller.handleCommand(command::kStop, window.at());
    ASSERT_TRUE(testing::waitUntil([&] { return !controller.batchActive(); }));
    EXPECT_EQ(window.rows[0][kStatusColumn], "stopped");
    EXPECT_EQ(window.rows[1][kStatusColumn], "") << "not reached";
    EXPECT_EQ(window.timing, "");

    // Again, to the end this time.
    folder.write("one.avi", "length=50");
    window.logAnswer = true;  // "Show Log" in the end message
    controller.handleCommand(command::kConvert, window.at());
    ASSERT_TRUE(testing::waitUntil([&] { return !controller.batchActive(); }));
    EXPECT_EQ(window.rows[0][kStatusColumn], "done");
    EXPECT_EQ(window.rows[1][kStatusColumn], "failed");
    EXPECT_EQ(window.rows[2][kStatusColumn], "done");
    EXPECT_THAT(window.events(), Contains(HasSubstr("two.avi: Read-only file system")));
    EXPECT_TRUE(window.offeredLog);
    // The logs of the batch are kept in the user's state folder.
    ASSERT_FALSE(desktop.links.empty());
    const std::string batchFolder = desktop.links.back();
    EXPECT_EQ(batchFolder.rfind(paths.logFolder(), 0), 0u) << batchFolder;
    EXPECT_TRUE(std::filesystem::exists(batchFolder + "02 two.log"));
    EXPECT_EQ(window.selected, 2u) << "the last Job stays selected, and in the grid";
    EXPECT_EQ(controller.jobOperations().selectedIndex(), 2u);

    // "Show Log" in the list's menu: the log of the selected Job.
    window.selected = 1;
    controller.handleCommand(command::kListShowLog, window.at());
    EXPECT_EQ(desktop.links.back(), batchFolder + "02 two.log");
    addJob("four");
    window.selected = 3;
    controller.handleCommand(command::kListShowLog, window.at());
    EXPECT_THAT(window.events().back(), HasSubstr("There is no log of this job"));
}

TEST_F(MainControllerTest, ACancelledCountdownKeepsTheComputerOn) {
    addJob("one");
    window.shutDown = true;
    window.countdownRunsOut = false;
    controller.handleCommand(command::kConvert, window.at());
    ASSERT_TRUE(testing::waitUntil([&] { return !controller.batchActive(); }));
    EXPECT_EQ(power.requests, 0);
    EXPECT_THAT(window.events(), Contains("countdown 30"));
    EXPECT_THAT(window.events(), Contains("message Complete!"));
}

TEST_F(MainControllerTest, StopWhileIdleDoesNothing) {
    controller.handleCommand(command::kStop, window.at());
    EXPECT_THAT(window.events(), ElementsAre("focus"));
    EXPECT_EQ(controller.activityState(), ActivityState::Idle);
}

}  // namespace
}  // namespace pelorine

namespace pelorine {
namespace {

TEST_F(MainControllerTest, SmallDialogsChangeTheSettingAndTheOutputName) {
    window.policyChoice = 3;
    controller.handleCommand(command::kOverwriteSettings, window.at());
    EXPECT_EQ(settings.overwritePolicy(), 3);
    window.policyChoice.reset();
    controller.handleCommand(command::kOverwriteSettings, window.at());
    EXPECT_EQ(settings.overwritePolicy(), 3) << "Cancel changes nothing";

    addJob("one");
    window.nameChoice = "holiday";
    controller.handleCommand(command::kSetOutputFileName, window.at());
    EXPECT_EQ(controller.jobs().job(0).outputPath, folder.file("out/one.MP4")) << "no selection";
    window.selected = 0;
    controller.handleCommand(command::kListSetOutputFileName, window.at());
    EXPECT_EQ(controller.jobs().job(0).outputPath, folder.file("out/holiday.mp4"));
    EXPECT_EQ(window.rows[0][kOutputColumn], folder.file("out/holiday.mp4"));

    controller.handleCommand(command::kVideoInformation, window.at());
    controller.handleCommand(command::kAbout, window.at());
    EXPECT_THAT(window.events(), Contains("information " + folder.file("one.avi")));
    EXPECT_EQ(window.events().back(), "about");
}

// Keeping the list is off at first; the Settings menu's item turns it on and
// off, stores it at once and shows its state, and a later start reads it.
TEST_F(MainControllerTest, KeepTheListIsAStoredCheckOfTheSettingsMenu) {
    using namespace command;
    EXPECT_EQ(controller.checked(kToggleKeepList), false);
    window.menuChoice = kToggleKeepList;
    controller.handleCommand(kSettingsMenu, window.at());
    EXPECT_EQ(controller.checked(kToggleKeepList), true);
    EXPECT_THAT(folder.read("zelvic.ini"), HasSubstr("[LIST]\nKeepWhenClosing=1\n"));
    KeepSetting stored(platform::systemFileSystem(), folder.file("zelvic.ini"));
    stored.read();
    EXPECT_TRUE(stored.on());

    controller.handleCommand(kToggleKeepList, window.at());
    EXPECT_EQ(controller.checked(kToggleKeepList), false);
    EXPECT_THAT(folder.read("zelvic.ini"), HasSubstr("[LIST]\nKeepWhenClosing=0\n"));
    // The other checks still answer, and a plain command has none.
    EXPECT_EQ(controller.checked(kToggleCopyWhenFinished), false);
    EXPECT_EQ(controller.checked(kAbout), std::nullopt);
}

// "Jobs at once": Auto at first; each item of the Settings menu's submenu
// stores its number at once and is the only one checked; the next batch
// runs that many, Auto as many as the machine's processors and memory allow.
TEST_F(MainControllerTest, JobsAtOnceIsOneStoredChoiceOfTheSettingsMenu) {
    using namespace command;
    const auto checkedItems = [&] {
        std::vector<int> on;
        for (int id = kJobsAtOnceAuto; id <= kJobsAtOnceMost; ++id) {
            EXPECT_TRUE(controller.checked(id).has_value()) << id;
            if (controller.checked(id).value_or(false)) {
                on.push_back(id);
            }
        }
        return on;
    };
    EXPECT_THAT(checkedItems(), ElementsAre(kJobsAtOnceAuto));
    EXPECT_EQ(controller.jobsAtOnce(), autoJobsAtOnce(testing::oneProcessorMachine().facts()));

    window.menuChoice = kJobsAtOnceAuto + 3;
    controller.handleCommand(kSettingsMenu, window.at());
    EXPECT_THAT(checkedItems(), ElementsAre(kJobsAtOnceAuto + 3));
    EXPECT_EQ(controller.jobsAtOnce(), 3);
    EXPECT_THAT(folder.read("zelvic.ini"), HasSubstr("JobsAtOnce=3\n"));
    JobsAtOnceSetting stored(platform::systemFileSystem(), folder.file("zelvic.ini"));
    stored.read();
    EXPECT_EQ(stored.value(), 3);

    controller.handleCommand(kJobsAtOnceMost, window.at());
    EXPECT_THAT(checkedItems(), ElementsAre(kJobsAtOnceMost));
    EXPECT_EQ(controller.jobsAtOnce(), 8);
    controller.handleCommand(kJobsAtOnceAuto, window.at());
    EXPECT_THAT(checkedItems(), ElementsAre(kJobsAtOnceAuto));
    EXPECT_THAT(folder.read("zelvic.ini"), HasSubstr("JobsAtOnce=0\n"));
    EXPECT_EQ(controller.checked(kJobsAtOnceMost + 1), std::nullopt);
}

}  // namespace
}  // namespace pelorine

namespace pelorine {
namespace {

// While a batch converts, the preview's commands and the list's edits reach
// neither the batch nor its engine.
TEST_F(MainControllerTest, PreviewCommandsDuringABatchLeaveItConverting) {
    addJob("one");
    window.selected = 0;
    window.nameChoice = "renamed";
    pretendConverting();
    const BatchRun& batch = *controller.batch().lastBatch();
    const std::vector<Job> before = batch.jobs();
    const std::vector<std::function<void()>> commands = {
        [&] { controller.handleCommand(command::kStopPlay, window.at()); },
        [&] { controller.handleCommand(command::kStopPreviewMenu, window.at()); },
        [&] { controller.handleCommand(command::kListStop, window.at()); },
        [&] { controller.handleCommand(command::kSetOutputFileName, window.at()); },
        [&] { controller.handleCommand(command::kListSetOutputFileName, window.at()); },
        [&] { controller.playSelected(window.selected); },  // a double click on the row
    };
    for (std::size_t i = 0; i < commands.size(); ++i) {
        commands[i]();
        EXPECT_EQ(controller.activityState(), ActivityState::Converting) << "command " << i;
        EXPECT_TRUE(batch.engineRunning()) << "command " << i;
        EXPECT_EQ(batch.jobs(), before) << "command " << i;
    }
    EXPECT_THAT(window.events(), Contains("box Please stop converting movies first!"));

    // The list took the new name; the running batch still writes the old one.
    EXPECT_EQ(controller.jobs().job(0).outputPath, folder.file("out/renamed.mp4"));
    EXPECT_EQ(window.rows[0][kOutputColumn], folder.file("out/renamed.mp4"));
    endPretending();
    const JobResult& result = controller.batch().lastBatch()->results()[0];
    EXPECT_EQ(result.outcome, JobOutcome::Stopped);
    EXPECT_THAT(result.keptFile, ::testing::StartsWith(folder.file("out/one (stopped at ")));
    EXPECT_FALSE(std::filesystem::exists(folder.file("out/renamed.mp4")));
}

// An engine of this user that is not one of ours: started by hand or by an
// older program, talking through the channel files right in the private
// folder that every such run shares.
class ForeignEngineTest : public MainControllerTest {
protected:
    void SetUp() override {
        std::filesystem::create_directories(theirs);
        folder.write("run/vctrl.dat", std::string("\0\0\0\0", 4));
        // Without -o or -identify the fake engine runs until its control file says quit.
        auto started = platform::systemProcessLauncher().start(
            engine.path() + " -currentfolder \"" + theirs + "\"", "");
        ASSERT_TRUE(started.started);
        other = std::move(started.process);
        ASSERT_TRUE(testing::waitUntil([&] { return engine.isRunning(); }));
    }
    void TearDown() override {
        if (other) {
            other->forceEnd();
            other->wait();
        }
    }

    std::string theirs = folder.file("run/");
    std::unique_ptr<platform::ChildProcess> other;
};

TEST_F(ForeignEngineTest, IsNeverStoppedOrEndedByTheWindow) {
    addJob("one");
    click(0);
    type(Row::VideoBitrate, "800");  // then a grid value
    for (const int id : {command::kStopPlay, command::kStop, command::kStopPreviewOrGuard,
                         command::kSetOutputFileName}) {
        controller.handleCommand(id, window.at());
    }
    window.filesChoice = {folder.file("one.avi")};
    window.profile = kProfileH264;
    controller.handleCommand(command::kAdd,
                             window.at());  // its identify is refused, writing nothing
    controller.handleCommand(command::kConvert, window.at());
    ASSERT_TRUE(testing::waitUntil([&] { return !controller.batchActive(); }));

    EXPECT_EQ(controller.activityState(), ActivityState::Idle) << "not ours: neither state";
    EXPECT_THAT(window.events(), Contains("message Please stop converting or playing the movie!"));
    EXPECT_EQ(folder.read("run/vctrl.dat"), std::string("\0\0\0\0", 4))
        << "no control code reached a run this program did not start";
    EXPECT_FALSE(other->hasEnded());
    EXPECT_EQ(controller.jobs().job(0).videoBitrate, "800");
}

}  // namespace
}  // namespace pelorine
