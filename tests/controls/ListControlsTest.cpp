// The skinned combo box and the flat list header.

#include <QApplication>
#include <QMouseEvent>
#include <QStandardItemModel>

#include <gtest/gtest.h>

#include "controls/FlatHeader.h"
#include "controls/SkinComboBox.h"
#include "controls/SkinPictures.h"

namespace pelorine::controls {
namespace {

TEST(SkinComboBoxTest, GeometryOfTheFramesAndTheArrow) {
    const ComboSkinGeometry g = comboSkinGeometry(QRect(0, 0, 340, 13), 16);
    EXPECT_EQ(g.outerFrame, QRect(1, 1, 338, 11));
    EXPECT_EQ(g.buttonFrame, QRect(322, 2, 16, 9));
    EXPECT_EQ(g.arrow, QRect(322, 4, 13, 5));
    EXPECT_EQ(g.arrowFrameTall, QRect(322, 3, 14, 7));
    EXPECT_EQ(g.arrowFrameWide, QRect(321, 3, 16, 7));
}

TEST(SkinComboBoxTest, PaintsWhiteFramesAndTheArrowPicture) {
    SkinComboBox combo;
    combo.addItem(QStringLiteral("PSP AVC H264 320x240 AAC (*.mp4) recommended"));
    combo.resize(340, 20);
    const QImage image = combo.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const ComboSkinGeometry g = comboSkinGeometry(combo.rect());
    EXPECT_EQ(image.pixelColor(g.outerFrame.left(), 10), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(100, g.outerFrame.top()), QColor(Qt::white));
    // The arrow picture is stretched into its cell: its chevron is dark.
    int dark = 0;
    for (int y = g.arrow.top(); y <= g.arrow.bottom(); ++y) {
        for (int x = g.arrow.left(); x <= g.arrow.right(); ++x) {
            dark += image.pixelColor(x, y).lightness() < 140;
        }
    }
    EXPECT_GT(dark, 3);
}

class FlatHeaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        model.setHorizontalHeaderLabels(
            {QStringLiteral("ID"), QStringLiteral("Source"), QStringLiteral("Begin Time")});
        header.setModel(&model);
        header.resize(300, 17);
        header.resizeSection(0, 30);
        header.resizeSection(1, 130);
        header.resizeSection(2, 80);
    }
    QImage shown() { return header.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QColor pictureAt(int id, int x, int y) {
        return SkinPictures::load(id)->toImage().pixelColor(x, y);
    }
    int blackIn(const QImage& image, const QRect& area) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                n += image.pixelColor(x, y).lightness() < 60;
            }
        }
        return n;
    }
    int left(int column) const { return header.sectionViewportPosition(column); }
    int right(int column) const { return left(column) + header.sectionSize(column); }

    QStandardItemModel model{0, 3};
    FlatHeader header;
};

TEST_F(FlatHeaderTest, ColumnsAndTheRestStandOnTheHeaderPicture) {
    const QImage image = shown();
    EXPECT_EQ(image.pixelColor(right(1) - 5, 8), pictureAt(kHeaderPictureId, 0, 8));
    EXPECT_EQ(image.pixelColor(right(2) + 5, 8), pictureAt(kHeaderPictureId, 0, 8));
    EXPECT_GT(blackIn(image, QRect(left(1), 0, 60, 17)), 10);  // "Source"
}

TEST_F(FlatHeaderTest, SortedColumnShowsItsArrow) {
    header.setSortDirection(1, 1);
    EXPECT_EQ(header.sortDirection(1), 1);
    EXPECT_EQ(header.sortDirection(2), 0);
    const QImage image = shown();
    const int cellLeft = right(1) - 17;
    EXPECT_EQ(image.pixelColor(cellLeft + 8, 8), pictureAt(kHeaderAscendingPictureId, 8, 8));
    header.setSortDirection(1, -1);
    EXPECT_EQ(shown().pixelColor(cellLeft + 8, 10), pictureAt(kHeaderDescendingPictureId, 8, 10));
}

TEST_F(FlatHeaderTest, ColumnHeldDownIsDrawnPushed) {
    EXPECT_TRUE(headerColumnPressed(true, 2, 2));
    EXPECT_FALSE(headerColumnPressed(false, 2, 2));
    EXPECT_FALSE(headerColumnPressed(true, 1, 2));
    EXPECT_FALSE(headerColumnPressed(true, -1, -1));

    const QImage before = shown();
    const QPointF inside(left(2) + 30, 8);
    QMouseEvent press(QEvent::MouseButtonPress, inside, header.mapToGlobal(inside), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(header.viewport(), &press);
    EXPECT_TRUE(header.isLeftButtonDown());
    EXPECT_EQ(header.hotColumn(), 2);
    const QImage pushed = shown();
    // The raised edge gives way to a one-pixel shadow frame.
    const int edge = left(2);
    EXPECT_EQ(pushed.pixel(edge, 8), header.palette().color(QPalette::Dark).rgb());
    EXPECT_NE(before.pixel(edge, 8), pushed.pixel(edge, 8));
    // The other columns are unchanged.
    EXPECT_EQ(before.copy(0, 0, edge, 17), pushed.copy(0, 0, edge, 17));

    QMouseEvent release(QEvent::MouseButtonRelease, inside, header.mapToGlobal(inside),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(header.viewport(), &release);
    EXPECT_FALSE(header.isLeftButtonDown());
    EXPECT_EQ(shown(), before);
}

}  // namespace
}  // namespace pelorine::controls
