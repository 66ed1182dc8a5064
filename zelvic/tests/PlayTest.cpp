// Play mode into a real X11 window, with SDL's dummy sound driver (see
// CMakeLists.txt). Each case has a virtual X server of its own: no window of
// another case, and no engine of one still closing its window, shares its display.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "CommandLines.h"
#include "DvdFixture.h"
#include "Engine.h"
#include "TestWindow.h"
#include "jobs/DvdSource.h"
#include "preview/PreviewCommandLine.h"
#include "support/VirtualXServer.h"

namespace zelvic::test {
namespace {

using namespace std::chrono_literals;
namespace dvd = pelorine::dvdtest;

// The colour key as the converter paints the preview area: red 2, green 1, blue 0.
constexpr std::uint32_t kKey = 0x020100;
constexpr int kWidth = 186;
constexpr int kHeight = 138;

class PlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.ready()) << server.failure();
        // The engines this case starts play on its server.
        ::setenv("DISPLAY", server.display().c_str(), 1);
        ASSERT_TRUE(window.valid()) << "cannot open the display " << server.display();
    }

    // Plays `name` from `start` to `end` seconds into the window, with the
    // converter's own preview command line.
    void play(const std::string& name, double start, double end) {
        const Fixture& media = fixture(name);
        pelorine::Job job;
        job.sourcePath = fixturePath(name);
        job.sourceWidth = media.width;
        job.sourceHeight = media.height;
        play(job, start, end);
    }

    void play(pelorine::Job job, double start, double end) {
        job.audioChannel = "default";
        job.audioVolume = "default";
        const std::string line = pelorine::preview::previewCommandLine(
            job, start, end, {kWidth, kHeight, window.id()}, {engine_, dir.folder()});
        std::vector<std::string> args = splitCommandLine(line);
        const std::string program = args.front();
        args.erase(args.begin());
        writeControl(dir.folder(), 0);
        engine = std::make_unique<Process>(program, args, dir.file("play.log"));
    }

    // Most of the window shows something other than the colour key.
    bool showsPicture() { return window.countOther(kKey) > kWidth * kHeight * 9 / 10; }
    double position() { return readProgress(dir.folder()).value_or(-1.0); }
    std::string log() {
        std::ifstream in(dir.file("play.log"));
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    ProcessEnd quit() {
        writeControl(dir.folder(), 2);
        return engine->wait(10s);
    }

    pelorine::testing::VirtualXServer server;
    TempDir dir;
    TestWindow window{server.display(), kWidth, kHeight, kKey};
    std::unique_ptr<Process> engine;
    std::string engine_ = enginePath();  // the program play() starts
};

TEST_F(PlayTest, ThePictureReplacesTheColourKeyAndTheRangeEndEndsTheRun) {
    play("ramp43.mp4", 0.5, 1.5);
    ASSERT_TRUE(eventually([&] { return showsPicture(); }, 20s)) << log();
    const ProcessEnd end = engine->wait(30s);
    ASSERT_TRUE(end.exited) << log();
    EXPECT_EQ(end.status, ExitStatus::Done) << log();
    EXPECT_NEAR(position(), 1.5, 0.1) << "the last position is the range's end";
}

// A recording as broadcast: H.264 with reordered pictures in a transport
// stream, key frames 10 s apart. Played from inside its first group of
// pictures, the preview decodes from the key frame before the range, as a
// clip of it does, and shows the range's pictures.
TEST_F(PlayTest, ARangeInsideALongGroupOfPicturesPlays) {
    std::vector<std::string> args = movingPictureWithTone("160x120", 4);
    args.insert(args.end(), {"-c:v", "libx264", "-preset", "ultrafast", "-bf", "2", "-g", "250",
                             "-c:a", "aac"});
    generateMedia("play-gop", "v1", {{"gop.ts", args}});
    pelorine::Job job;
    job.sourcePath = (mediaFolder("play-gop", "v1") / "gop.ts").string();
    job.sourceWidth = 160;
    job.sourceHeight = 120;
    play(job, 1.0, 2.0);
    ASSERT_TRUE(eventually([&] { return showsPicture(); }, 20s)) << log();
    const ProcessEnd end = engine->wait(30s);
    ASSERT_TRUE(end.exited) << log();
    EXPECT_EQ(end.status, ExitStatus::Done) << log();
    EXPECT_NEAR(position(), 2.0, 0.1);
}

// The engine shows its first picture before the sound device is open and
// decodes while its window opens: what shows first must still be the start
// asked for. A source dark for its first second and light after it, one key
// frame at 0 and reordered pictures, played from 1 s: the first picture seen
// is light, and so is every one after it.
TEST_F(PlayTest, TheFirstPictureShownIsTheStartsOwn) {
    generateMedia(
        "play-start", "v1",
        {{"darklight.mp4", ffmpegArgs({"color=c=0x101010:size=160x120:rate=25:duration=1",
                                       "color=c=0xF0F0F0:size=160x120:rate=25:duration=2",
                                       "sine=frequency=440:duration=3"},
                                      {"-filter_complex", "[0:v][1:v]concat=n=2:v=1[v]", "-map",
                                       "[v]", "-map", "2:a", "-c:v", "libx264", "-preset",
                                       "ultrafast", "-bf", "2", "-g", "250", "-c:a", "aac"})}});
    pelorine::Job job;
    job.sourcePath = (mediaFolder("play-start", "v1") / "darklight.mp4").string();
    job.sourceWidth = 160;
    job.sourceHeight = 120;
    play(job, 1.0, 2.0);
    std::uint32_t first = kKey;
    ASSERT_TRUE(eventually(
        [&] {
            first = window.pixel(kWidth / 2, kHeight / 2);
            return first != kKey;
        },
        20s))
        << log();
    EXPECT_GT(first & 0xFF, 0xC0u) << std::hex << "the first picture: " << first;
    bool allLight = true;
    while (engine->running()) {
        if (const std::uint32_t centre = window.pixel(kWidth / 2, kHeight / 2); centre != kKey) {
            allLight = allLight && (centre & 0xFF) > 0xC0;
        }
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_TRUE(allLight) << "a picture from before the start showed";
    const ProcessEnd end = engine->wait(10s);
    EXPECT_EQ(end.status, ExitStatus::Done) << log();
}

// Without a picture the clock follows the sound: the sound waits for its
// device, plays out and the run ends at the range's end.
TEST_F(PlayTest, SoundAlonePlaysToTheRangesEnd) {
    generateMedia("play-sound", "v1",
                  {{"tone.mp3", ffmpegArgs({"sine=frequency=440:duration=3"}, {"-ac", "2"})}});
    pelorine::Job job;
    job.sourcePath = (mediaFolder("play-sound", "v1") / "tone.mp3").string();
    play(job, 0.5, 1.5);
    const ProcessEnd end = engine->wait(30s);
    ASSERT_TRUE(end.exited) << log();
    EXPECT_EQ(end.status, ExitStatus::Done) << log();
    EXPECT_NEAR(position(), 1.5, 0.1) << log();
    EXPECT_EQ(log().find("no audio device"), std::string::npos) << log();
}

// SDL lives in a module of its own beside the engine: an installation that
// lacks it fails the run with the module's name, and does not hang.
TEST_F(PlayTest, WithoutTheScreenModuleTheRunFailsAndSaysWhy) {
    const TempDir installed;
    const std::filesystem::path built = std::filesystem::path(enginePath()).parent_path();
    for (const char* file : {"zelvic", "libzelvic_play.so"}) {
        std::filesystem::copy_file(built / file, installed.file(file));
    }
    engine_ = installed.file("zelvic");
    play("ramp43.mp4", 0.0, 1.0);
    const ProcessEnd end = engine->wait(30s);
    ASSERT_TRUE(end.exited) << log();
    EXPECT_EQ(end.status, ExitStatus::Failed) << log();
    EXPECT_NE(log().find("libzelvic_screen.so"), std::string::npos) << log();
    EXPECT_FALSE(showsPicture());
}

TEST_F(PlayTest, PauseHoldsPictureAndPositionQuitEndsWithStatusFour) {
    play("long.mp4", 0.0, 60.0);
    ASSERT_TRUE(eventually([&] { return showsPicture() && position() > 0.3; }, 20s)) << log();

    writeControl(dir.folder(), 1);
    ASSERT_TRUE(eventually([&] { return log().find("paused at ") != std::string::npos; }, 10s));
    const double held = std::stod(log().substr(log().find("paused at ") + 10));
    EXPECT_NEAR(position(), held, 1e-6) << "the held position is told at once";
    const std::uint32_t centre = window.pixel(kWidth / 2, kHeight / 2);
    // The owner paints its window over; the held picture comes back.
    window.clear();
    ASSERT_TRUE(eventually([&] { return showsPicture(); }, 10s)) << "repainted while paused";
    EXPECT_EQ(window.pixel(kWidth / 2, kHeight / 2), centre);
    EXPECT_NEAR(position(), held, 1e-6);

    writeControl(dir.folder(), 0);
    EXPECT_TRUE(eventually([&] { return position() > held + 0.2; }, 10s)) << "plays on";

    const ProcessEnd end = quit();
    ASSERT_TRUE(end.exited) << log();
    EXPECT_EQ(end.status, ExitStatus::Quit) << log();
}

TEST_F(PlayTest, ThePictureFollowsTheWindowsSizeAndKeepsItsShape) {
    play("long.mp4", 0.0, 60.0);
    ASSERT_TRUE(eventually([&] { return showsPicture(); }, 20s)) << log();
    window.resize(300, 200);
    window.clear();
    // 186 x 138 frames keep their shape in 300 x 200: 270 wide, bars left and right.
    EXPECT_TRUE(eventually(
        [&] {
            return window.pixel(250, 150) != kKey && window.pixel(5, 100) == 0 &&
                   window.countOther(kKey) == 300 * 200;
        },
        10s))
        << log();
    EXPECT_EQ(quit().status, ExitStatus::Quit);
}

TEST_F(PlayTest, SoundWithoutADeviceStillShowsThePicture) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    play("ramp43.mp4", 0.0, 1.0);
    unsetenv("SDL_AUDIODRIVER");
    EXPECT_TRUE(eventually([&] { return showsPicture(); }, 20s)) << log();
    const ProcessEnd end = engine->wait(30s);
    EXPECT_EQ(end.status, ExitStatus::Done) << log();
    EXPECT_NE(log().find("no audio device"), std::string::npos) << log();
}

TEST_F(PlayTest, ADvdTitlePlaysItsChosenChaptersFromTheImage) {
    pelorine::Job job;
    job.isDvd = 1;
    job.sourcePath = pelorine::dvdSourcePath(dvd::dvdFixture().image);
    job.dvdTitle = 1;
    job.dvdChapterFirst = 2;
    job.dvdChapterLast = 2;
    job.dvdAudioId = dvd::kFrenchMpegId;
    job.sourceWidth = 768;
    job.sourceHeight = 576;
    play(job, 0.5, 1.5);
    // Chapter 2 is light grey; chapter 1, before it on the disc, is dark.
    const auto lightGrey = [&] {
        const std::uint32_t centre = window.pixel(kWidth / 2, kHeight / 2);
        return ((centre >> 8) & 0xFF) > 120;
    };
    ASSERT_TRUE(eventually([&] { return showsPicture() && lightGrey(); }, 20s)) << log();
    const ProcessEnd end = engine->wait(30s);
    ASSERT_TRUE(end.exited) << log();
    EXPECT_EQ(end.status, ExitStatus::Done) << log();
    EXPECT_NEAR(position(), 1.5, 0.1) << "positions count from the chapter range's start";
}

TEST_F(PlayTest, WithoutAWindowIdItPlaysInAWindowOfItsOwn) {
    const ProcessEnd end = runEngine(
        {fixturePath("ramp43.mp4"), "-ss", "0", "-endpos", "0.5", "-currentfolder", dir.folder()},
        dir.file("own.log"), 30s);
    EXPECT_TRUE(end.exited);
    EXPECT_EQ(end.status, ExitStatus::Done);
}

// Servers running side by side each name a display of their own, ready for
// windows as soon as it is named.
TEST(VirtualXServer, ServersSideBySideNeverShareADisplay) {
    const pelorine::testing::VirtualXServer servers[3];
    for (const auto& server : servers) {
        ASSERT_TRUE(server.ready()) << server.failure();
        EXPECT_TRUE(TestWindow(server.display(), 8, 8, kKey).valid()) << server.display();
    }
    EXPECT_NE(servers[0].display(), servers[1].display());
    EXPECT_NE(servers[0].display(), servers[2].display());
    EXPECT_NE(servers[1].display(), servers[2].display());
}

}  // namespace
}  // namespace zelvic::test
