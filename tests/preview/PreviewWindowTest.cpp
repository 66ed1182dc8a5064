#include "preview/PreviewWindow.h"

#include <gtest/gtest.h>

namespace pelorine::preview {
namespace {

int countOf(const QImage& image, const QRect& area, QRgb colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

TEST(PreviewWindowTest, ShowsTheColourKeyOrThePauseNotice) {
    PreviewWindow window;
    window.resize(186, 138);
    const QRgb key = qRgb(2, 1, 0);
    QImage image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(countOf(image, image.rect(), key), 186 * 138);

    window.setShowPause(1);
    image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(countOf(image, image.rect(), key), 0);
    EXPECT_EQ(image.pixel(5, 5), qRgb(0, 0, 0));
    EXPECT_GT(countOf(image, QRect(45, 40, 120, 20), qRgb(255, 255, 255)), 0);
    EXPECT_GT(countOf(image, QRect(15, 70, 160, 20), qRgb(255, 255, 255)), 0);
    EXPECT_EQ(countOf(image, QRect(0, 0, 186, 38), qRgb(255, 255, 255)), 0);

    window.setShowPause(0);
    image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(countOf(image, image.rect(), key), 186 * 138);
}

}  // namespace
}  // namespace pelorine::preview
