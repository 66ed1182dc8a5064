// The main window's decisions, driven without a display: a scripted window,
// scripted dialogs, and the fake engine as the engine.

#include "app/MainController.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/Commands.h"
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
        window.rows.push_back(std::vector<std::string>(6));
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
        EXPECT_TRUE(controller.handleCommand(id)) << id;
    }
    EXPECT_FALSE(controller.handleCommand(4242));
}

TEST_F(MainControllerTest, MenusRouteTheChosenItem) {
    window.menuChoice = command::kMinimise;
    controller.handleCommand(command::kHelpMenu);
    EXPECT_THAT(window.events(), ElementsAre("focus", "menu 148 at 1006", "focus", "minimise"));
    window.clear();
    window.menuChoice = 0;
    controller.handleCommand(command::kFileMenu);
    EXPECT_THAT(window.events(), ElementsAre("focus", "menu 143 at 1001"));
}

TEST_F(MainControllerTest, ExitAsksFirst) {
    window.confirmAnswer = false;
    EXPECT_NO_THROW(controller.handleCommand(command::kExit));
    EXPECT_THAT(window.events(), Contains("confirm Video Batch Converter: Exit anyway?"));
    window.confirmAnswer = true;
    try {
        controller.handleCommand(command::kExitMenu);
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
    controller.handleCommand(command::kBrowse);
    EXPECT_EQ(controller.jobs().job(0).outputPath, folder.file("psp/one.MP4"));
    EXPECT_EQ(controller.jobs().job(1).outputPath, folder.file("psp/two.MP4"));
    EXPECT_THAT(window.events(), Contains("cell 1.4 " + folder.file("psp/two.MP4")));
    EXPECT_THAT(window.events(), Contains("edit " + folder.file("psp")));
    EXPECT_THAT(folder.read("zelvic.ini"), HasSubstr("OutputPath=" + folder.file("psp")));

    window.folderChoice.reset();  // cancelled: nothing changes
    controller.handleCommand(command::kSetOutputPath);
    EXPECT_EQ(settings.outputPath(), folder.file("psp"));

    controller.outputPathEdited("");
    EXPECT_EQ(controller.jobs().job(0).outputPath, "/one.MP4");
}

TEST_F(MainControllerTest, TheOutputFolderDoesNotChangeUnderARunningBatch) {
    addJob("one");
    pretendConverting();
    window.folderChoice = folder.file("elsewhere");
    controller.handleCommand(command::kBrowse);
    controller.outputPathEdited(folder.file("typed"));
    endPretending();
    EXPECT_EQ(controller.jobs().job(0).outputPath, folder.file("out/one.MP4"));
    EXPECT_THAT(window.events(), Contains("box " + std::string(kGuardMessage)));
    EXPECT_THAT(window.events(), Contains("edit " + folder.file("out")));
}

TEST_F(MainControllerTest, LinksOpenOrSayWhyNot) {
    controller.handleCommand(command::kContactUs);
    controller.handleCommand(command::kWebsite);
    EXPECT_THAT(desktop.links,
                ElementsAre("mailto:support@pelorine.example", controller.helpStartPage()));
    desktop.result = platform::kLinkNoAssociation;
    controller.handleCommand(command::kWebsiteMenu);
    EXPECT_THAT(window.events(),
                Contains("warning Pelorine: Unable to open hyperlink:\n\nThere is no application "
                         "associated\nwith the given filename extension."));
    controller.handleCommand(command::kHelp);  // no help installed in the test folder
    EXPECT_THAT(window.events().back(), HasSubstr("The help was not found"));
}

TEST_F(MainControllerTest, ConvertRunsTheBatchOnAWorkerAndFollowsItsProgress) {
    addJob("one");
    addJob("two");
    controller.handleCommand(command::kConvert);
    ASSERT_TRUE(testing::waitUntil([&] { return !controller.batchActive(); }));
    EXPECT_TRUE(std::filesystem::exists(folder.file("out/one.mp4")));
    EXPECT_TRUE(std::filesystem::exists(folder.file("out/two.mp4")));
    EXPECT_EQ(window.events().back(), "message Complete!");

    // A progress tick reads the engine's position for the current Job.
    window.clear();
    controller.batchState().currentJob = 2;
    folder.write("run/vprog.dat", std::string("\0\0\0\0\0\0\x39\x40", 8));  // 25.0 s of 50
    controller.progressTick();
    EXPECT_THAT(window.events(), ElementsAre("overall 75", "job 50"));
    controller.batchState().currentJob = 0;
}

TEST_F(MainControllerTest, StopWhileIdleDoesNothing) {
    controller.handleCommand(command::kStop);
    EXPECT_THAT(window.events(), ElementsAre("focus"));
    EXPECT_EQ(controller.activityState(), ActivityState::Idle);
}

}  // namespace
}  // namespace pelorine

namespace pelorine {
namespace {

TEST_F(MainControllerTest, SmallDialogsChangeTheSettingAndTheOutputName) {
    window.policyChoice = 3;
    controller.handleCommand(command::kOverwriteSettings);
    EXPECT_EQ(settings.overwritePolicy(), 3);
    window.policyChoice.reset();
    controller.handleCommand(command::kOverwriteSettings);
    EXPECT_EQ(settings.overwritePolicy(), 3) << "Cancel changes nothing";

    addJob("one");
    window.nameChoice = "holiday";
    controller.handleCommand(command::kSetOutputFileName);
    EXPECT_EQ(controller.jobs().job(0).outputPath, folder.file("out/one.MP4")) << "no selection";
    window.selected = 0;
    controller.handleCommand(command::kListSetOutputFileName);
    EXPECT_EQ(controller.jobs().job(0).outputPath, folder.file("out/holiday.mp4"));
    EXPECT_EQ(window.rows[0][kOutputColumn], folder.file("out/holiday.mp4"));

    controller.handleCommand(command::kVideoInformation);
    controller.handleCommand(command::kAbout);
    EXPECT_THAT(window.events(), Contains("information " + folder.file("one.avi")));
    EXPECT_EQ(window.events().back(), "about");
}

}  // namespace
}  // namespace pelorine
