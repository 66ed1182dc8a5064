#include "play/PlayTiming.h"

#include <gtest/gtest.h>

namespace zelvic {
namespace {

TEST(MasterClockTest, RunsWithTheSystemClockAndHoldsWhilePaused) {
    MasterClock clock;
    EXPECT_FALSE(clock.started());
    EXPECT_EQ(clock.at(50.0), 0.0);
    clock.anchor(5.0, 100.0);
    EXPECT_DOUBLE_EQ(clock.at(100.5), 5.5);
    clock.pause(101.0);
    EXPECT_DOUBLE_EQ(clock.at(105.0), 6.0);
    clock.pause(106.0);  // a second pause changes nothing
    EXPECT_DOUBLE_EQ(clock.at(107.0), 6.0);
    clock.resume(110.0);
    EXPECT_DOUBLE_EQ(clock.at(110.25), 6.25);
}

TEST(MasterClockTest, FollowsTheSoundOnlyWhenItStraysTooFar) {
    MasterClock clock;
    clock.follow(2.0, 10.0);  // the first reading starts the clock
    EXPECT_DOUBLE_EQ(clock.at(10.0), 2.0);
    clock.follow(2.53, 10.5);  // 30 ms off: the coarse steps of a device
    EXPECT_DOUBLE_EQ(clock.at(10.5), 2.5);
    clock.follow(2.45, 10.5);  // 50 ms behind: the sound is the master
    EXPECT_DOUBLE_EQ(clock.at(10.5), 2.45);
    EXPECT_DOUBLE_EQ(clock.at(11.0), 2.95) << "the system clock carries it on";
}

TEST(FrameActionTest, WaitShowOrDrop) {
    struct Case {
        double due;
        std::optional<double> next;
        double clock;
        bool drop;
        FrameAction expected;
    };
    const Case cases[] = {
        {1.00, 1.04, 0.99, true, FrameAction::Wait},
        {1.00, 1.04, 1.00, true, FrameAction::Show},
        {1.00, 1.04, 1.03, true, FrameAction::Show},
        {1.00, 1.04, 1.05, true, FrameAction::Drop},          // the next one is due too
        {1.00, 1.04, 1.05, false, FrameAction::Show},         // late, but every frame shows
        {1.00, std::nullopt, 3.00, true, FrameAction::Show},  // the last one always shows
    };
    for (const Case& c : cases) {
        EXPECT_EQ(frameAction(c.due, c.next, c.clock, c.drop), c.expected)
            << c.due << " at " << c.clock << (c.drop ? " dropping" : "");
    }
}

// Sound decoded while the sound device was still opening, when the picture
// has already started: what lies before the clock is left out, to the
// sample, and never more than the frame holds.
TEST(SamplesPassedTest, LeavesOutWhatThePictureHasPassed) {
    EXPECT_EQ(samplesPassed(0.0, 1024, 48000, 0.5), 1024) << "wholly passed";
    EXPECT_EQ(samplesPassed(0.0, 1024, 48000, 0.010), 480) << "10 ms of it passed";
    EXPECT_EQ(samplesPassed(1.0, 1024, 44100, 1.0), 0) << "starts with the clock";
    EXPECT_EQ(samplesPassed(2.0, 1024, 44100, 1.5), 0) << "still ahead";
    // A part of a sample counts as passed: the rest starts at or after the clock.
    EXPECT_EQ(samplesPassed(0.0, 1024, 44100, 1.5 / 44100), 2);
    EXPECT_EQ(samplesPassed(0.0, 0, 44100, 1.0), 0) << "an empty frame";
}

TEST(PlacePictureTest, KeepsTheShapeCentredOrFillsTheWindow) {
    struct Case {
        int width, height;
        AVRational sar;
        int windowWidth, windowHeight;
        bool keep;
        Placement expected;
    };
    const Case cases[] = {
        {186, 138, {1, 1}, 186, 138, true, {0, 0, 186, 138}},
        {186, 138, {1, 1}, 300, 200, true, {15, 0, 270, 200}},
        {320, 180, {1, 1}, 186, 138, true, {0, 16, 186, 105}},
        {352, 288, {16, 11}, 512, 400, true, {0, 56, 512, 288}},  // anamorphic
        {320, 180, {0, 1}, 320, 240, true, {0, 30, 320, 180}},    // unknown: square
        {320, 180, {1, 1}, 186, 138, false, {0, 0, 186, 138}},
        {320, 180, {1, 1}, 0, 0, true, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(placePicture(c.width, c.height, c.sar, c.windowWidth, c.windowHeight, c.keep),
                  c.expected)
            << c.width << "x" << c.height << " in " << c.windowWidth << "x" << c.windowHeight;
    }
}

}  // namespace
}  // namespace zelvic
