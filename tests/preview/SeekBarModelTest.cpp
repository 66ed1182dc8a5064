#include "preview/SeekBarModel.h"

#include <gtest/gtest.h>

namespace pelorine::preview {
namespace {

using Kind = SeekNotice::Kind;

// The window's seek bar: a 169 x 11 channel, a 5 x 10 thumb, margins 1, 1, 0, 0.
SeekBarModel windowSeekBar(double min = 0.0, double max = 100.0) {
    SeekBarModel bar;
    bar.metrics() = {169, 11, 5, 10, 1, 1, 0, 0};
    bar.setRange(min, max);
    return bar;
}

TEST(SeekBarGeometryTest, TheRangeSpansPixelsThreeToOneHundredSixtySix) {
    const SeekBarModel bar = windowSeekBar();
    EXPECT_EQ(bar.metrics().track(), 163);
    EXPECT_EQ(bar.pixelOf(0.0), 3);
    EXPECT_EQ(bar.pixelOf(100.0), 166);
    EXPECT_EQ(bar.pixelOf(50.0), 84);  // 81.5 + 3, truncated
}

TEST(SeekBarGeometryTest, EveryPixelMapsBackToItself) {
    for (const double max : {100.0, 5400.0, 7.3, 163.0}) {
        const SeekBarModel bar = windowSeekBar(0.0, max);
        for (int x = 3; x <= 166; ++x) {
            EXPECT_EQ(bar.pixelOf(bar.positionOf(x)), x) << "max " << max << " pixel " << x;
        }
    }
}

TEST(SeekBarGeometryTest, PositionsBeyondTheRangeShowAtItsEnds) {
    SeekBarModel bar = windowSeekBar();
    bar.setPosition(250.0);
    EXPECT_EQ(bar.position(), 100.0);
    EXPECT_EQ(bar.thumbPixel(), 166);
    bar.setPosition(-3.0);
    EXPECT_EQ(bar.position(), 0.0);
    EXPECT_EQ(bar.thumbPixel(), 3);
}

TEST(SeekBarGeometryTest, ALengthOfZeroDrawsAtTheLeftEnd) {
    SeekBarModel bar = windowSeekBar(0.0, 0.0);
    bar.setPosition(12.0);
    EXPECT_EQ(bar.position(), 0.0);
    EXPECT_EQ(bar.thumbPixel(), 3);
    bar.press(120);
    bar.move(150);
    EXPECT_EQ(bar.position(), 0.0);
    EXPECT_EQ(bar.release(), (SeekNotice{Kind::Released, 0}));
}

TEST(SeekBarDragTest, AClickOffTheThumbMovesItsCentreThere) {
    SeekBarModel bar = windowSeekBar();
    bar.setPosition(40.0);
    const int thumb = bar.thumbPixel();
    const auto moved = bar.press(thumb + 40);
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->kind, Kind::Moved);
    EXPECT_EQ(bar.thumbPixel(), thumb + 40);
    EXPECT_EQ(moved->seconds, static_cast<int>(bar.position()));
    EXPECT_FALSE(bar.move(thumb + 40)) << "no further pixel, no further notice";
    EXPECT_EQ(bar.release().kind, Kind::Released);
    EXPECT_FALSE(bar.dragging());
}

TEST(SeekBarDragTest, AGrabOnTheThumbKeepsTheGrabPointUnderTheMouse) {
    SeekBarModel bar = windowSeekBar();
    bar.setPosition(40.0);
    const int thumb = bar.thumbPixel();
    EXPECT_FALSE(bar.press(thumb + 1)) << "the thumb does not jump by the grab offset";
    EXPECT_EQ(bar.thumbPixel(), thumb);
    ASSERT_TRUE(bar.move(thumb + 2));
    EXPECT_EQ(bar.thumbPixel(), thumb + 1);
    // The thumb's edge pixel still counts as the thumb.
    bar.release();
    EXPECT_FALSE(bar.press(bar.thumbPixel() - 2));
}

TEST(SeekBarDragTest, DraggingPastTheEndsStopsAtTheRange) {
    SeekBarModel bar = windowSeekBar(10.0, 90.0);
    bar.press(100);
    bar.move(400);
    EXPECT_EQ(bar.position(), 90.0);
    EXPECT_EQ(bar.thumbPixel(), 166);
    bar.move(-50);
    EXPECT_EQ(bar.position(), 10.0);
    EXPECT_EQ(bar.thumbPixel(), 3);
    EXPECT_EQ(bar.release(), (SeekNotice{Kind::Released, 10}));
}

TEST(SeekBarDragTest, TheLastTwoPixelsBothGiveTheMaximum) {
    SeekBarModel bar = windowSeekBar();
    bar.press(167);
    EXPECT_EQ(bar.position(), 100.0);
    EXPECT_FALSE(bar.move(166)) << "already shown at 166";
}

TEST(SeekBarDragTest, AReleaseWithoutADragStillReports) {
    SeekBarModel bar = windowSeekBar();
    bar.setPosition(33.9);
    EXPECT_FALSE(bar.move(90)) << "moves without a pressed button do nothing";
    EXPECT_EQ(bar.release(), (SeekNotice{Kind::Released, 33}));
}

TEST(SeekBarDragTest, NoticesCarryWholeSeconds) {
    SeekBarModel bar = windowSeekBar(0.0, 5400.0);
    const auto moved = bar.press(100);
    ASSERT_TRUE(moved);
    const double exact = bar.positionOf(100);
    EXPECT_NE(exact, static_cast<int>(exact));
    EXPECT_EQ(moved->seconds, static_cast<int>(exact));
    EXPECT_EQ(bar.release().seconds, static_cast<int>(exact));
}

}  // namespace
}  // namespace pelorine::preview
