// The preview player with a scripted window and the fake engine, whose play
// mode reports the position -ss + 1 and waits for quit.

#include "app/PreviewController.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/Commands.h"
#include "records/ChannelFiles.h"
#include "support/Recorders.h"
#include "support/ScriptedWindow.h"
#include "support/TestSupport.h"

namespace pelorine {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::StartsWith;

class PreviewControllerTest : public testing::ControllerFixture {
protected:
    // A Job of `length` seconds on a fake source saying `content`.
    Job& addJob(const std::string& name, double length, const std::string& content = "") {
        folder.write(name + ".avi", "length=" + std::to_string(length) + " " + content);
        return controller.jobs().append(testing::plainJob(
            folder.file(name + ".avi"), folder.file("out/" + name + ".MP4"), length));
    }
    PreviewController& preview() { return controller.preview(); }
    std::string commandLine() {
        return preview().session() ? preview().session()->commandLine() : std::string();
    }
    channel::Command control() {
        const auto bytes = platform::systemFileSystem().readPrefix(
            preview().session()->link().controlPath(), channel::kControlRecordSize);
        return channel::readCommand(bytes->data(), bytes->size(), channel::Command::Run);
    }
    // The playback timer's ticks, until the preview has ended.
    bool tickUntilEnded() {
        return testing::waitUntil([&] {
            preview().playbackTick(window.dragging);
            return preview().session() == nullptr;
        });
    }
};

TEST_F(PreviewControllerTest, PlayStartsTheSelectedJobThenPausesAndResumes) {
    addJob("one", 50);
    click(0);
    controller.handleCommand(command::kPlay, window.at());
    ASSERT_TRUE(preview().active());
    EXPECT_THAT(commandLine(), HasSubstr(" -ss 0.000000 -endpos 50.000000 "));
    EXPECT_THAT(commandLine(), HasSubstr(" -wid 4242 "));
    EXPECT_THAT(commandLine(), HasSubstr(" -currentfolder \"" + folder.file("run/run-")));
    EXPECT_TRUE(window.playButtonSecond);
    EXPECT_EQ(window.playbackTimer, PreviewController::kPlaybackTickMs);
    EXPECT_EQ(control(), channel::Command::Run);

    controller.handleCommand(command::kPlayMenu, window.at());
    EXPECT_EQ(control(), channel::Command::Pause);
    EXPECT_FALSE(window.playButtonSecond);
    EXPECT_TRUE(preview().paused()) << "a drag of the window now shows the pause notice";

    controller.handleCommand(command::kListPlay, window.at());
    EXPECT_EQ(control(), channel::Command::Run);
    EXPECT_TRUE(window.playButtonSecond);
    EXPECT_FALSE(preview().paused());
}

TEST_F(PreviewControllerTest, StopPlayEndsTheEngineAndShowsTheColourKeyAgain) {
    addJob("one", 50);
    click(0);
    controller.handleCommand(command::kPlay, window.at());
    ASSERT_TRUE(preview().active());
    window.showPause = 1;
    controller.handleCommand(command::kStopPlay, window.at());
    EXPECT_FALSE(preview().active());
    EXPECT_EQ(preview().session(), nullptr);
    EXPECT_EQ(window.showPause, 0);
    EXPECT_EQ(window.playbackTimer, 0);
    EXPECT_FALSE(window.playButtonSecond);
    EXPECT_EQ(controller.activityState(), ActivityState::Idle);
}

TEST_F(PreviewControllerTest, WithoutASelectionOrDuringABatchNothingPlays) {
    controller.handleCommand(command::kPlay, window.at());
    EXPECT_THAT(window.events(), Contains("box Please select a video in the list first!"));
    addJob("one", 50);
    window.selected = 0;
    pretendConverting();
    controller.handleCommand(command::kPlay, window.at());
    controller.handleCommand(command::kPlayNext, window.at());
    EXPECT_THAT(window.events(), Contains("box Please stop converting movies first!"));
    EXPECT_THAT(window.events(), Contains(std::string("box ") + kGuardMessage));
    EXPECT_EQ(preview().session(), nullptr);
    endPretending();
}

TEST_F(PreviewControllerTest, TheTimerNoticesTheEndAndTheThumbFollowsThePreview) {
    addJob("one", 50);
    click(0);
    window.seek = 20.0;
    controller.jobs().job(0).clipStart = 0;
    controller.handleCommand(command::kPlay, window.at());
    // The fake engine reports -ss + 1.
    window.dragging = true;
    preview().playbackTick(window.dragging);
    EXPECT_EQ(window.seek, 20.0) << "not while the user holds the thumb";
    window.dragging = false;
    ASSERT_TRUE(testing::waitUntil([&] {
        preview().playbackTick(window.dragging);
        return window.seek == 1.0;
    }));
    preview().quit();  // as when another row is clicked
    ASSERT_TRUE(tickUntilEnded());
    EXPECT_FALSE(window.playButtonSecond);
    EXPECT_EQ(window.playbackTimer, 0);
    EXPECT_THAT(window.events(), ::testing::Not(Contains(StartsWith("box "))));
}

TEST_F(PreviewControllerTest, AnEngineThatFailsOrCannotStartIsExplained) {
    addJob("broken", 50, "fail");
    click(0);
    controller.handleCommand(command::kPlay, window.at());
    ASSERT_TRUE(tickUntilEnded());
    EXPECT_THAT(window.events(), Contains("box The preview stopped: the source says fail"));

    std::filesystem::remove(folder.file("zelvic"));
    controller.handleCommand(command::kPlay, window.at());
    EXPECT_THAT(window.events(), Contains(StartsWith("box The preview could not be started: ")));
    EXPECT_EQ(preview().session(), nullptr);
    EXPECT_FALSE(window.playButtonSecond);
}

TEST_F(PreviewControllerTest, PreviousAndNextStopAtTheEndsOfTheList) {
    addJob("one", 50);
    addJob("two", 30);
    click(0);
    controller.handleCommand(command::kPlayPrevious, window.at());
    EXPECT_EQ(window.selected, 0u) << "the first row plays again";
    EXPECT_THAT(commandLine(), HasSubstr(folder.file("one.avi")));
    controller.handleCommand(command::kPlayNext, window.at());
    EXPECT_EQ(window.selected, 1u);
    EXPECT_THAT(commandLine(), HasSubstr(folder.file("two.avi")));
    controller.handleCommand(command::kPlayNext, window.at());
    EXPECT_EQ(window.selected, 1u) << "the last row plays again";
    EXPECT_THAT(commandLine(), HasSubstr(folder.file("two.avi")));
}

TEST_F(PreviewControllerTest, ARowSelectedWithoutLoadingPlaysItsOwnClip) {
    addJob("one", 50);
    addJob("two", 30);
    click(0);
    window.slider = {5.0, 10.0};
    controller.jobOperations().edit(change::SliderRange{5.0, 10.0});  // the slider on Job one
    controller.handleCommand(command::kPlayNext, window.at());
    EXPECT_THAT(commandLine(), HasSubstr(" -ss 0.000000 -endpos 30.000000 "))
        << "not Job one's clip";
    controller.handleCommand(command::kPlayPrevious, window.at());
    EXPECT_THAT(commandLine(), HasSubstr(" -ss 5.000000 -endpos 5.000000 "));
}

TEST_F(PreviewControllerTest, SeekingRestartsThePreviewInsideTheClip) {
    addJob("one", 50);
    click(0);
    // No clip: from the thumb to the end of the Job.
    window.seek = 30.0;
    preview().seek(window.seekRelease());
    EXPECT_THAT(commandLine(), HasSubstr(" -ss 30.000000 -endpos 20.000000 "));
    EXPECT_TRUE(window.playButtonSecond);

    window.slider = {10.0, 20.0};
    controller.jobOperations().edit(change::SliderRange{10.0, 20.0});
    EXPECT_FALSE(preview().active()) << "a clip change stops the preview";
    window.seek = 15.0;
    preview().seek(window.seekRelease());
    EXPECT_THAT(commandLine(), HasSubstr(" -ss 15.000000 -endpos 5.000000 "));
    // Outside the clip: from its start, and the thumb goes there.
    window.seek = 30.0;
    preview().seek(window.seekRelease());
    EXPECT_THAT(commandLine(), HasSubstr(" -ss 10.000000 -endpos 10.000000 "));
    EXPECT_EQ(window.seek, 10.0);
    EXPECT_EQ(controller.jobs().job(0).clipStart, 10.0) << "seeking leaves the Job's clip";

    const auto before = preview().session()->pid();
    preview().seek(window.seekRelease(command::kSeekBar + 1));  // another control's notice
    EXPECT_EQ(preview().session()->pid(), before);
    window.selected.reset();
    preview().seek(window.seekRelease());
    EXPECT_EQ(preview().session()->pid(), before) << "no row: nothing happens";
}

TEST_F(PreviewControllerTest, AnEngineDeafToQuitIsEndedByForce) {
    addJob("deaf", 50, "deaf");
    click(0);
    controller.handleCommand(command::kPlay, window.at());
    ASSERT_TRUE(preview().active());
    const auto pid = preview().session()->pid();
    controller.handleCommand(command::kStopPlay, window.at());
    EXPECT_FALSE(preview().active());
    EXPECT_FALSE(std::filesystem::exists("/proc/" + std::to_string(*pid) + "/status"));
}

TEST_F(PreviewControllerTest, LeavingTheProgramAsksAPreviewToEnd) {
    addJob("one", 50);
    click(0);
    controller.handleCommand(command::kPlay, window.at());
    ASSERT_TRUE(preview().active());
    window.confirmAnswer = true;
    EXPECT_THROW(controller.handleCommand(command::kExit, window.at()), testing::ExitCalled);
    EXPECT_EQ(control(), channel::Command::Quit);
    EXPECT_TRUE(testing::waitUntil([&] { return !preview().active(); }));
}

TEST_F(PreviewControllerTest, ADoubleClickPlaysTheRowFromTheStart) {
    addJob("one", 50);
    click(0);
    controller.playSelected(window.selected);
    ASSERT_TRUE(preview().active());
    const auto first = preview().session()->pid();
    controller.playSelected(window.selected);
    ASSERT_TRUE(preview().session());
    EXPECT_NE(preview().session()->pid(), first) << "stopped, then started again";
    EXPECT_TRUE(preview().active());
    EXPECT_TRUE(window.playButtonSecond);
}

}  // namespace
}  // namespace pelorine
