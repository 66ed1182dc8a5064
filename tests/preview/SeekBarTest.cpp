#include "preview/SeekBar.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "controls/SkinPictures.h"

namespace pelorine::preview {
namespace {

constexpr int kSeekBarId = 1022;

QImage picture(int id) {
    return controls::SkinPictures::load(id)->toImage().convertToFormat(QImage::Format_RGB32);
}

// The seek bar as the window sets it up.
class SeekBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bar.setChannelImages(131, 132));
        ASSERT_TRUE(bar.setThumbImages(133, 130, true, SeekBar::kKeyFromPixel, 0, 0));
        bar.setMargins(1, 1, 0, 0);
        bar.setRange(0.0, 100.0, false);
        bar.setPosition(40.0);
        bar.show();
    }
    QImage shown() { return bar.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    void press(int x) { QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(x, 5)); }
    void moveTo(int x) { QTest::mouseMove(&bar, QPoint(x, 5)); }
    void release(int x) { QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(x, 5)); }
    // The posted notices, once the event loop has delivered them.
    void deliver() { QCoreApplication::processEvents(); }

    SeekBar bar{kSeekBarId};
    QSignalSpy moved{&bar, &SeekBar::thumbMoved};
    QSignalSpy released{&bar, &SeekBar::released};
};

TEST_F(SeekBarTest, TakesTheSizeOfItsChannelPicture) {
    EXPECT_EQ(bar.size(), QSize(169, 11));
    EXPECT_EQ(bar.thumbPixel(), 68);  // 0.4 * 163 + 3
}

TEST_F(SeekBarTest, PaintsTheActiveChannelLeftOfTheThumbAndTheThumbKeyedOut) {
    const QImage image = shown();
    const QImage active = picture(132);
    const QImage channel = picture(131);
    const QImage thumb = picture(133);
    const int p = bar.thumbPixel();
    EXPECT_EQ(image.pixel(30, 5), active.pixel(30, 5));
    EXPECT_EQ(image.pixel(p - 3, 5), active.pixel(p - 3, 5));
    EXPECT_EQ(image.pixel(p + 3, 5), channel.pixel(p + 3, 5));
    EXPECT_EQ(image.pixel(150, 5), channel.pixel(150, 5));
    // The thumb stands at (p - 2, 1); its corners are the key colour and let
    // the channel show through.
    EXPECT_EQ(image.pixel(p, 5), thumb.pixel(2, 4));
    EXPECT_EQ(image.pixel(p - 2, 1), active.pixel(p - 2, 1));
    EXPECT_EQ(image.pixel(p + 2, 1), channel.pixel(p + 2, 1));
}

TEST_F(SeekBarTest, AClickOffTheThumbMovesItThereAndPostsBothNotices) {
    const int target = bar.thumbPixel() + 40;
    press(target);
    EXPECT_EQ(bar.thumbPixel(), target);
    EXPECT_EQ(moved.count(), 0) << "posted, not sent";
    deliver();
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved[0][0].toInt(), kSeekBarId);
    EXPECT_EQ(moved[0][1].toInt(), static_cast<int>(bar.position()));
    release(target);
    deliver();
    ASSERT_EQ(released.count(), 1);
    EXPECT_EQ(released[0][1].toInt(), static_cast<int>(bar.position()));
}

TEST_F(SeekBarTest, TheGrabbedThumbDoesNotJumpAndShowsItsActivePicture) {
    const int thumb = bar.thumbPixel();
    press(thumb + 1);
    EXPECT_TRUE(bar.dragging());
    EXPECT_EQ(shown().pixel(thumb, 5), picture(130).pixel(2, 4));
    moveTo(thumb + 2);
    EXPECT_EQ(bar.thumbPixel(), thumb + 1);
    release(thumb + 2);
    EXPECT_EQ(shown().pixel(thumb + 1, 5), picture(133).pixel(2, 4));
}

TEST_F(SeekBarTest, DraggingPastEitherEndStopsAtTheRange) {
    press(100);
    moveTo(300);
    EXPECT_EQ(bar.position(), 100.0);
    EXPECT_EQ(bar.thumbPixel(), 166);
    moveTo(-40);
    EXPECT_EQ(bar.position(), 0.0);
    release(-40);
    deliver();
    ASSERT_EQ(released.count(), 1);
    EXPECT_EQ(released[0][1].toInt(), 0);
}

TEST_F(SeekBarTest, AReleaseWithoutAPressStillPosts) {
    release(50);
    deliver();
    EXPECT_EQ(released.count(), 1);
    EXPECT_EQ(moved.count(), 0);
}

TEST_F(SeekBarTest, KeysDoNothing) {
    bar.setFocus();
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Left, Qt::Key_End, Qt::Key_Space}) {
        QTest::keyClick(&bar, key);
    }
    deliver();
    EXPECT_EQ(bar.position(), 40.0);
    EXPECT_EQ(moved.count() + released.count(), 0);
}

TEST_F(SeekBarTest, ALengthOfZeroShowsTheThumbAtTheLeftEnd) {
    bar.setRange(0.0, 0.0, true);
    bar.setPosition(0.0);
    EXPECT_EQ(bar.thumbPixel(), 3);
    EXPECT_EQ(shown().pixel(3, 5), picture(133).pixel(2, 4));
    press(120);
    release(120);
    deliver();
    ASSERT_EQ(released.count(), 1);
    EXPECT_EQ(released[0][1].toInt(), 0);
}

TEST(SeekBarPicturesTest, AMissingPictureIsRefusedAndChangesNothing) {
    SeekBar bar(kSeekBarId);
    EXPECT_FALSE(bar.setChannelImages(131, 99999));
    EXPECT_FALSE(bar.setThumbImages(99999, 0, false, 0, 0, 0));
    EXPECT_TRUE(bar.setChannelImages(131, 0));
    EXPECT_EQ(bar.size(), QSize(169, 11));
}

}  // namespace
}  // namespace pelorine::preview
