#include "preview/RangeSliderModel.h"

#include <gtest/gtest.h>

namespace pelorine::preview {
namespace {

// The window's slider is 185 x 15: handles 11 wide, a track of 163 pixels.
// With the range 0 .. 163 every pixel is one second.
RangeSliderModel windowSlider(double min, double max, double left, double right) {
    RangeSliderModel slider;
    slider.setSize(185, 15);
    slider.setMinMax(min, max);
    slider.setRange(left, right);
    return slider;
}

// Grabs `part` at the centre of what a click hits and drags it to `x`.
std::optional<RangeNotice> drag(RangeSliderModel& slider, RangePart part, int x) {
    const RangeSliderLayout l = slider.layout();
    const PixelRect between{l.leftRect.right + 1, 0, l.rightRect.left - 1, slider.height()};
    const PixelRect rect = part == RangePart::Left    ? l.leftRect
                           : part == RangePart::Right ? l.rightRect
                                                      : between;
    EXPECT_TRUE(slider.press(rect.centreX(), rect.centreY()));
    EXPECT_EQ(slider.trackedPart(), part);
    return slider.move(x, 7);
}

TEST(RangeSliderLayoutTest, HandlesAndBarSitAtTheirValuesPixels) {
    const RangeSliderModel slider = windowSlider(0, 163, 10, 20);
    const RangeSliderLayout l = slider.layout();
    EXPECT_EQ(l.arrowWidth, 11);
    EXPECT_EQ(l.trackLength, 163);
    EXPECT_EQ(l.leftHandle, (PixelRect{10, 0, 21, 15}));
    EXPECT_EQ(l.leftRect, (PixelRect{11, 1, 19, 13}));
    EXPECT_EQ(l.rightHandle, (PixelRect{31, 0, 42, 15}));
    EXPECT_EQ(l.rightRect, (PixelRect{32, 1, 40, 13}));
    EXPECT_EQ(l.bar, (PixelRect{22, 1, 31, 14}));
    EXPECT_TRUE(l.leftRaised && l.rightRaised);
}

TEST(RangeSliderLayoutTest, PixelsRoundToTheNearest) {
    const RangeSliderModel slider = windowSlider(0, 326, 0, 326);
    EXPECT_EQ(slider.pixelOf(0.0), 0);
    EXPECT_EQ(slider.pixelOf(3.0), 2);  // 1.5 rounds up
    EXPECT_EQ(slider.pixelOf(2.9), 1);
    EXPECT_EQ(slider.pixelOf(326.0), 163);
}

TEST(RangeSliderLayoutTest, ADraggedHandleLooksPressed) {
    RangeSliderModel slider = windowSlider(0, 163, 10, 20);
    const PixelRect handle = slider.layout().rightHandle;
    drag(slider, RangePart::Right, 36);
    const RangeSliderLayout l = slider.layout();
    EXPECT_FALSE(l.rightRaised);
    EXPECT_TRUE(l.leftRaised);
    EXPECT_EQ(l.rightRect, l.rightHandle);
    EXPECT_EQ(l.rightHandle, handle);
    slider.release();
    EXPECT_TRUE(slider.layout().rightRaised);
}

TEST(RangeSliderSettersTest, TheClipIsBroughtIntoTheWholeRange) {
    struct Case {
        double left, right, expectedLeft, expectedRight;
    };
    const Case cases[] = {
        {5, 3, 5, 3},      // start after end: left as it is
        {-2, 4, 0, 4},     // start before the range
        {12, 15, 10, 10},  // all past the end
        {2, 8, 2, 8},
    };
    for (const Case& c : cases) {
        const RangeSliderModel slider = windowSlider(0, 10, c.left, c.right);
        EXPECT_EQ(slider.left(), c.expectedLeft) << c.left << ".." << c.right;
        EXPECT_EQ(slider.right(), c.expectedRight) << c.left << ".." << c.right;
    }
}

TEST(RangeSliderSettersTest, TheWholeRangeTakesItsEndsInEitherOrder) {
    const RangeSliderModel slider = windowSlider(50, 20, 0, 100);
    EXPECT_EQ(slider.minimum(), 20);
    EXPECT_EQ(slider.maximum(), 50);
    EXPECT_EQ(slider.left(), 20);
    EXPECT_EQ(slider.right(), 50);
}

TEST(RangeSliderDragTest, TheLeftHandleStopsAtTheRightHandle) {
    RangeSliderModel slider = windowSlider(0, 163, 10, 20);
    EXPECT_EQ(drag(slider, RangePart::Left, 100), 0);
    EXPECT_EQ(slider.left(), 20);
    EXPECT_EQ(slider.move(-40, 7), 0);
    EXPECT_EQ(slider.left(), 0);
    EXPECT_EQ(slider.right(), 20);
}

TEST(RangeSliderDragTest, TheRightHandleStopsAtTheLeftHandleAndTheEnd) {
    RangeSliderModel slider = windowSlider(0, 163, 10, 20);
    EXPECT_EQ(drag(slider, RangePart::Right, 0), 1);
    EXPECT_EQ(slider.right(), 10);
    EXPECT_EQ(slider.move(0, 7), 0) << "a step that leaves the end where it is";
    EXPECT_EQ(slider.move(500, 7), 1);
    EXPECT_EQ(slider.right(), 163);
}

TEST(RangeSliderDragTest, TheHandlesFollowTheMouseOnePixelASecond) {
    RangeSliderModel slider = windowSlider(0, 163, 10, 20);
    drag(slider, RangePart::Left, 15 + 5);  // the handle's centre is 5 past its start
    EXPECT_EQ(slider.left(), 15);
    slider.release();
    drag(slider, RangePart::Right, 40 + 16);  // 11 + 5 past the right value's pixel
    EXPECT_EQ(slider.right(), 40);
}

TEST(RangeSliderDragTest, TheBarKeepsTheClipsLengthAgainstEitherEnd) {
    RangeSliderModel slider = windowSlider(0, 163, 10, 30);
    EXPECT_EQ(drag(slider, RangePart::Bar, 400), 2);
    EXPECT_EQ(slider.right(), 163);
    EXPECT_EQ(slider.left(), 143);
    EXPECT_EQ(slider.move(-300, 7), 2);
    EXPECT_EQ(slider.left(), 0);
    EXPECT_EQ(slider.right(), 20);
}

TEST(RangeSliderDragTest, AClickBesideTheHandlesAndTheBarGrabsNothing) {
    RangeSliderModel slider = windowSlider(0, 163, 40, 60);
    EXPECT_FALSE(slider.press(10, 7));   // left of the left handle
    EXPECT_FALSE(slider.press(150, 7));  // right of the right handle
    EXPECT_FALSE(slider.press(45, 14));  // the left handle's outline
    EXPECT_FALSE(slider.tracking());
    EXPECT_FALSE(slider.move(100, 7));
    EXPECT_EQ(slider.left(), 40);
}

TEST(RangeSliderKeyTest, ArrowsMoveTheClipOrItsEndOnePixel) {
    RangeSliderModel slider = windowSlider(0, 163, 10, 20);
    EXPECT_EQ(slider.key(RangeKey::Right, false, false), 2);
    EXPECT_EQ(slider.left(), 11);
    EXPECT_EQ(slider.right(), 21);
    EXPECT_EQ(slider.key(RangeKey::Right, true, false), 0);
    EXPECT_EQ(slider.left(), 11);
    EXPECT_EQ(slider.right(), 22);
    EXPECT_EQ(slider.key(RangeKey::Left, false, false), 2);
    EXPECT_EQ(slider.left(), 10);
    EXPECT_EQ(slider.right(), 21);
    EXPECT_FALSE(slider.key(RangeKey::Left, false, true)) << "Ctrl: the key is not ours";
    EXPECT_EQ(slider.left(), 10);
}

TEST(RangeSliderKeyTest, AtTheEndsNothingMovesButTheParentHears) {
    RangeSliderModel slider = windowSlider(0, 163, 100, 163);
    EXPECT_EQ(slider.key(RangeKey::Right, false, false), 2);
    EXPECT_EQ(slider.left(), 100);
    EXPECT_EQ(slider.right(), 163);
    slider.setRange(0, 5);
    EXPECT_EQ(slider.key(RangeKey::Left, false, false), 2);
    EXPECT_EQ(slider.left(), 0);
}

TEST(RangeSliderKeyTest, ShiftLeftNeverTakesTheEndBeforeTheStart) {
    RangeSliderModel slider = windowSlider(0, 163, 30, 30);
    EXPECT_EQ(slider.key(RangeKey::Left, true, false), 0);
    EXPECT_EQ(slider.left(), 30);
    EXPECT_EQ(slider.right(), 30);
}

TEST(RangeSliderLengthZeroTest, EverythingStaysAtTheLeftEnd) {
    RangeSliderModel slider = windowSlider(0, 0, 0, 0);
    const RangeSliderLayout l = slider.layout();
    EXPECT_EQ(l.leftPixel, 0);
    EXPECT_EQ(l.rightPixel, 0);
    EXPECT_FALSE(slider.key(RangeKey::Right, false, false));
    drag(slider, RangePart::Left, 90);
    EXPECT_EQ(slider.left(), 0);
    slider.release();
    drag(slider, RangePart::Right, 90);
    EXPECT_EQ(slider.right(), 0);
}

TEST(RangeSliderLengthZeroTest, ASliderTooNarrowForItsHandlesNeverDivides) {
    RangeSliderModel slider;
    slider.setSize(20, 15);
    slider.setMinMax(0, 100);
    slider.setRange(10, 50);
    EXPECT_LT(slider.trackLength(), 0);
    EXPECT_FALSE(slider.key(RangeKey::Right, false, false));
}

}  // namespace
}  // namespace pelorine::preview
