#include "preview/RangeSlider.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace pelorine::preview {
namespace {

// The window's slider, 185 x 15: one second per pixel over 0 .. 163.
class RangeSliderTest : public ::testing::Test {
protected:
    void SetUp() override {
        slider.resize(185, 15);
        slider.setMinMax(0, 163);
        slider.setRange(10, 20);
        slider.show();
    }
    QImage shown() { return slider.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QColor at(int x, int y) { return shown().pixelColor(x, y); }
    void press(int x, int y = 7) { QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(x, y)); }
    void moveTo(int x, int y = 7) { QTest::mouseMove(&slider, QPoint(x, y)); }
    void release(int x, int y = 7) {
        QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(x, y));
    }

    RangeSlider slider;
    QSignalSpy changed{&slider, &RangeSlider::rangeChanged};
};

TEST_F(RangeSliderTest, PaintsTrackHandlesAndBar) {
    const QColor track(0xE5, 0xE7, 0xEF);
    const QColor handle(0xF5, 0xF6, 0xF8);
    EXPECT_EQ(at(0, 0), QColor(Qt::black));
    EXPECT_EQ(at(184, 14), QColor(Qt::black));
    EXPECT_EQ(at(5, 7), track);
    EXPECT_EQ(at(10, 7), QColor(Qt::black)) << "the left handle's outline at pixel(10)";
    EXPECT_EQ(at(17, 12), handle);
    EXPECT_EQ(at(25, 7), QColor(Qt::white)) << "the bar between the handles";
    EXPECT_EQ(at(31, 7), QColor(Qt::black)) << "the right handle starts 11 after pixel(20)";
    EXPECT_EQ(at(41, 7), QColor(Qt::black));
    EXPECT_EQ(at(60, 7), track);
    // The handles' triangles: the left one points right, the right one left.
    EXPECT_EQ(at(14, 7), QColor(Qt::black));
    EXPECT_EQ(at(38, 7), QColor(Qt::black));
}

TEST_F(RangeSliderTest, DraggingTheLeftHandleSendsAtOnceAndStopsAtTheRightHandle) {
    press(15);
    EXPECT_TRUE(slider.tracking());
    EXPECT_EQ(changed.count(), 0) << "a press alone moves nothing";
    moveTo(25);
    ASSERT_EQ(changed.count(), 1) << "sent during the move, not posted";
    EXPECT_EQ(changed[0][0].toInt(), 0);
    EXPECT_EQ(slider.left(), 20);
    moveTo(120);
    EXPECT_EQ(slider.left(), 20);
    EXPECT_EQ(changed.count(), 2) << "every step is sent, also one that changed nothing";
    release(120);
    EXPECT_FALSE(slider.tracking());
    moveTo(150);
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(RangeSliderTest, DraggingTheRightHandleBelowTheLeftStopsThere) {
    press(36);
    moveTo(5);
    EXPECT_EQ(slider.right(), 10);
    EXPECT_EQ(changed.last()[0].toInt(), 1);
    moveTo(4);
    EXPECT_EQ(changed.last()[0].toInt(), 0) << "the end did not move";
    release(4);
}

TEST_F(RangeSliderTest, DraggingTheBarAgainstTheEndKeepsTheLength) {
    press(26);
    moveTo(400);
    EXPECT_EQ(slider.right(), 163);
    EXPECT_EQ(slider.left(), 153);
    EXPECT_EQ(changed.last()[0].toInt(), 2);
    release(400);
}

TEST_F(RangeSliderTest, AClickBesideTheHandlesStartsNothing) {
    press(100);
    moveTo(120);
    release(120);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(slider.left(), 10);
    EXPECT_EQ(slider.right(), 20);
}

TEST_F(RangeSliderTest, ArrowKeysMoveTheClipAndShiftMovesItsEnd) {
    slider.setFocus();
    QTest::keyClick(&slider, Qt::Key_Right);
    EXPECT_EQ(slider.left(), 11);
    EXPECT_EQ(slider.right(), 21);
    EXPECT_EQ(changed.last()[0].toInt(), 2);
    QTest::keyClick(&slider, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(slider.left(), 11);
    EXPECT_EQ(slider.right(), 22);
    EXPECT_EQ(changed.last()[0].toInt(), 0);
    QTest::keyClick(&slider, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(slider.left(), 11);
}

TEST_F(RangeSliderTest, ArrowAtTheEndChangesNothingButStillSends) {
    slider.setRange(100, 163);
    slider.setFocus();
    QTest::keyClick(&slider, Qt::Key_Right);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(slider.left(), 100);
    EXPECT_EQ(slider.right(), 163);
}

TEST_F(RangeSliderTest, TheProgramsSettersSendNothing) {
    slider.setMinMax(0, 50);
    slider.setRange(5, 3);
    EXPECT_EQ(slider.left(), 5);
    EXPECT_EQ(slider.right(), 3);
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(RangeSliderTest, ALengthOfZeroDrawsBothHandlesAtTheLeftEnd) {
    slider.setMinMax(0, 0);
    slider.setRange(0, 0);
    EXPECT_EQ(at(0, 7), QColor(Qt::black));
    EXPECT_EQ(at(11, 7), QColor(Qt::black)) << "the right handle right after the left one";
    EXPECT_EQ(at(60, 7), QColor(0xE5, 0xE7, 0xEF));
    slider.setFocus();
    QTest::keyClick(&slider, Qt::Key_Right);
    EXPECT_EQ(changed.count(), 0);
    press(5);
    moveTo(90);
    EXPECT_EQ(slider.left(), 0);
    release(90);
}

}  // namespace
}  // namespace pelorine::preview
