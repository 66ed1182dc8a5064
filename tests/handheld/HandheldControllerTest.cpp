// Send to PSP, copying when a batch has finished and the size line, driven
// through the window's commands with a folder standing for the memory stick.

#include "app/HandheldController.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "app/Commands.h"
#include "conversion/EncoderCommandLine.h"
#include "support/ScriptedWindow.h"
#include "support/TestSupport.h"

namespace pelorine {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::HasSubstr;

// Made before the controller, which is given the folder that stands for the stick.
struct HandheldStick {
    testing::TempFolder stick;
};

class HandheldControllerTest : public HandheldStick, public testing::ControllerFixture {
protected:
    HandheldControllerTest() : testing::ControllerFixture(stick.path()) {
        fs::create_directories(stick.file("PSP/GAME"));
    }

    // A Job whose output (and its thumbnail) is there, as after converting it.
    Job& converted(const std::string& name, const std::string& codec) {
        folder.write(name + ".avi", "length=5");
        Job& job = controller.jobs().append(
            testing::plainJob(folder.file(name + ".avi"), folder.file("out/" + name + ".MP4"), 5));
        job.videoCodec = codec;
        fs::create_directories(folder.file("out"));
        const std::string output = EncoderCommandLine(job, EngineInvocation{}).firstOutput();
        std::ofstream(output) << "video of " << name;
        std::ofstream(thumbnailPath(output)) << "picture of " << name;
        return job;
    }

    // The stick's folder as the messages name it.
    std::string handheldRoot() const { return fs::path(stick.path()).parent_path().string(); }

    std::set<std::string> handheldFiles() const { return stick.filesBelow(); }
};

TEST_F(HandheldControllerTest, SendToPspCopiesEveryConvertedJobTheListMenuTheSelectedOne) {
    converted("one", "h264");
    converted("two", "MPEG4");
    window.selected = 1;  // the Edit menu's command sends them all all the same
    controller.handleCommand(command::kSendToHandheld, window.at());
    EXPECT_EQ(
        handheldFiles(),
        (std::set<std::string>{"MP_ROOT/100ANV01/MAQ00001.MP4", "MP_ROOT/100ANV01/MAQ00001.THM",
                               "MP_ROOT/100MNV01/M4V00001.MP4", "MP_ROOT/100MNV01/M4V00001.THM"}));
    EXPECT_EQ(stick.read("MP_ROOT/100ANV01/MAQ00001.MP4"), "video of one");
    EXPECT_EQ(stick.read("MP_ROOT/100MNV01/M4V00001.THM"), "picture of two");
    EXPECT_THAT(window.events(),
                Contains("box Copied to the PSP memory stick at \"" + handheldRoot() +
                         "\":\n  MP_ROOT/100ANV01/MAQ00001.MP4\n  MP_ROOT/100MNV01/M4V00001.MP4"));
    EXPECT_THAT(window.events(), Contains("task end")) << "the copy showed its progress";

    window.clear();
    window.selected = 0;
    controller.handleCommand(command::kListSendToHandheld, window.at());
    EXPECT_TRUE(handheldFiles().contains("MP_ROOT/100ANV01/MAQ00002.MP4"));
    EXPECT_EQ(handheldFiles().size(), 6u) << "only the selected Job, under the next number";
    EXPECT_EQ(folder.read("out/one.mp4"), "video of one") << "the output is untouched";
}

TEST_F(HandheldControllerTest, NothingToSendAndNoHandheldAreSaid) {
    folder.write("one.avi", "length=5");
    controller.jobs().append(
        testing::plainJob(folder.file("one.avi"), folder.file("out/one.MP4"), 5));
    controller.handleCommand(command::kSendToHandheld, window.at());
    EXPECT_THAT(window.events(),
                Contains(std::string("warning Send to PSP: ") + handheld::kNothingToSendMessage));

    fs::remove_all(stick.file("PSP"));  // no longer looks like a memory stick
    window.clear();
    controller.handleCommand(command::kSendToHandheld, window.at());
    EXPECT_THAT(window.events(),
                Contains(std::string("warning Send to PSP: ") + handheld::kNoHandheldMessage));
    EXPECT_TRUE(handheldFiles().empty());
}

TEST_F(HandheldControllerTest, CopyWhenFinishedSendsWhatTheBatchConverted) {
    HandheldController& handheld = controller.handheld();
    EXPECT_EQ(handheld.checked(command::kToggleCopyWhenFinished), false);
    controller.handleCommand(command::kToggleCopyWhenFinished, window.at());
    EXPECT_EQ(handheld.checked(command::kToggleCopyWhenFinished), true);
    EXPECT_THAT(folder.read("zelvic.ini"), HasSubstr("CopyWhenFinished=1"));

    folder.write("done.avi", "length=5");
    folder.write("broken.avi", "length=5 fail");
    controller.jobs().append(
        testing::plainJob(folder.file("done.avi"), folder.file("out/done.MP4"), 5));
    controller.jobs().append(
        testing::plainJob(folder.file("broken.avi"), folder.file("out/broken.MP4"), 5));
    controller.handleCommand(command::kConvert, window.at());
    ASSERT_TRUE(testing::waitUntil([&] { return !controller.batchActive(); }));
    // The engine made the thumbnail, as the setting is on by default.
    EXPECT_EQ(handheldFiles(), (std::set<std::string>{"MP_ROOT/100MNV01/M4V00001.MP4",
                                                      "MP_ROOT/100MNV01/M4V00001.THM"}));
    const auto events = window.events();
    const auto end = std::find_if(events.begin(), events.end(),
                                  [](const std::string& e) { return e.starts_with("message "); });
    ASSERT_NE(end, events.end());
    EXPECT_THAT(*end, HasSubstr("1 job of 2 could not be converted"));
    EXPECT_THAT(*end, HasSubstr("Copied to the PSP memory stick at \"" + handheldRoot() +
                                "\":\n  MP_ROOT/100MNV01/M4V00001.MP4"));
}

TEST_F(HandheldControllerTest, TheSizeLineWarnsAndConvertAsksWhenTheBatchWillNotFit) {
    const HandheldController& handheld = controller.handheld();
    EXPECT_TRUE(handheld.estimate(std::nullopt, folder.file("out")).text.empty());
    converted("short", "MPEG4");
    HandheldController::Estimate line = handheld.estimate(0, folder.file("out/not/made/yet"));
    EXPECT_FALSE(line.tooLarge) << line.text;
    EXPECT_THAT(line.text, HasSubstr("Size: job 1 "));
    EXPECT_THAT(line.text, HasSubstr("; free: output folder "));
    EXPECT_THAT(line.text, HasSubstr(", PSP "));

    // Ten years of video fit on no disk.
    folder.write("long.avi", "length=315360000");
    controller.jobs().append(
        testing::plainJob(folder.file("long.avi"), folder.file("out/long.MP4"), 315360000));
    line = handheld.estimate(std::nullopt, folder.file("out"));
    EXPECT_TRUE(line.tooLarge);
    EXPECT_THAT(line.text, HasSubstr("(too small)"));
    window.clear();
    window.confirmAnswer = false;
    controller.handleCommand(command::kConvert, window.at());
    EXPECT_EQ(controller.batch().lastBatch(), nullptr) << "nothing converted";
    EXPECT_THAT(window.events(), Contains(HasSubstr("confirm Warning: The converted videos will "
                                                    "take about ")));
}

}  // namespace
}  // namespace pelorine
