#include "controls/CXPButton.h"

#include <QApplication>
#include <QEnterEvent>

#include <gtest/gtest.h>

namespace pelorine::controls {
namespace {

constexpr int kWidth = 80;
constexpr int kHeight = 24;

QImage render(const XpButtonState& state, const QString& text = QStringLiteral("OK")) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    paintXpButton(painter, image.rect(), state, text, font, QColor(213, 224, 240));
    return image;
}

QColor at(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

// The bounding box of the dark blue text pixels.
QRect textBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() < 140 && c.blue() - c.red() > 60) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

TEST(XpButtonLookTest, GradientStepsFollowTheirFormula) {
    EXPECT_EQ(xpGradientColour(0, false, false), QColor(255, 255, 255));
    // Step 63: d = 255 - 21, f = 255 - 15, g = 255 - 12.
    EXPECT_EQ(xpGradientColour(63, false, false), QColor(234, 234, 243));
    EXPECT_EQ(xpGradientColour(63, false, true), QColor(234, 234, 240));
    EXPECT_EQ(xpGradientColour(63, true, false), QColor(240, 240, 243));
    EXPECT_EQ(xpGradientColour(63, true, true), QColor(240, 240, 234));
}

TEST(XpButtonLookTest, RowsBelowTheFaceHeightUseTheLastStep) {
    EXPECT_EQ(xpGradientStep(0, 20), 0);
    EXPECT_EQ(xpGradientStep(10, 20), 31);
    EXPECT_EQ(xpGradientStep(20, 20), 63);
    EXPECT_EQ(xpGradientStep(21, 20), 63);
    EXPECT_EQ(xpGradientStep(5, 0), 63);
}

TEST(XpButtonLookTest, BorderSetFollowsHoverBeforeFocus) {
    EXPECT_FALSE(xpBordersFor({}).draw);
    XpButtonState focused;
    focused.focused = true;
    EXPECT_EQ(xpBordersFor(focused).set.left, QColor(153, 198, 252));
    XpButtonState both = focused;
    both.hovered = true;
    EXPECT_EQ(xpBordersFor(both).set.left, QColor(250, 196, 88));
}

TEST(XpButtonLookTest, PlainFaceHasTheGradientAndABlackFrame) {
    const QImage image = render({});
    EXPECT_EQ(at(image, 0, 0), QColor(Qt::black));
    EXPECT_EQ(at(image, kWidth - 1, kHeight - 1), QColor(Qt::black));
    const int faceHeight = kHeight - 2 * kXpEdge;
    EXPECT_EQ(at(image, 6, 3), xpGradientColour(xpGradientStep(3, faceHeight), false, false));
    // The lowest face row uses the last brush.
    EXPECT_EQ(at(image, 6, kHeight - 3), xpGradientColour(63, false, false));
    // No border set without hover or focus.
    EXPECT_EQ(at(image, kXpEdge, kHeight / 2),
              xpGradientColour(xpGradientStep(kHeight / 2, faceHeight), false, false));
}

TEST(XpButtonLookTest, HoverDrawsTheHoverBordersAndFace) {
    XpButtonState hovered;
    hovered.hovered = true;
    const QImage image = render(hovered);
    EXPECT_EQ(at(image, kXpEdge, kHeight / 2), QColor(250, 196, 88));
    EXPECT_EQ(at(image, kWidth - kXpEdge - 1, kHeight / 2), QColor(251, 202, 106));
    EXPECT_EQ(at(image, kWidth / 2, kXpEdge), QColor(252, 210, 121));
    const int faceHeight = kHeight - 2 * kXpEdge;
    EXPECT_EQ(at(image, 8, 5), xpGradientColour(xpGradientStep(5, faceHeight), true, false));
}

TEST(XpButtonLookTest, FocusDrawsTheFocusBorders) {
    XpButtonState focused;
    focused.focused = true;
    const QImage image = render(focused);
    EXPECT_EQ(at(image, kXpEdge, kHeight / 2), QColor(153, 198, 252));
}

TEST(XpButtonLookTest, PushedTextMovesOnePixelRightAndDown) {
    const QRect up = textBox(render({}));
    XpButtonState pushed;
    pushed.down = true;
    const QRect down = textBox(render(pushed));
    ASSERT_FALSE(up.isEmpty());
    EXPECT_EQ(down, up.translated(1, 1));
}

TEST(XpButtonLookTest, EmptyTextDrawsOnlyFrameAndGradient) {
    EXPECT_TRUE(textBox(render({}, QString())).isEmpty());
}

TEST(CXPButtonTest, EnterAndLeaveSwitchTheHoverFace) {
    CXPButton button(QStringLiteral("Cancel"));
    button.resize(kWidth, kHeight);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&button, &enter);
    EXPECT_TRUE(button.isHovered());
    QImage image = button.grab().toImage();
    EXPECT_EQ(image.pixelColor(kXpEdge, kHeight / 2), QColor(250, 196, 88));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_FALSE(button.isHovered());
    image = button.grab().toImage();
    EXPECT_NE(image.pixelColor(kXpEdge, kHeight / 2), QColor(250, 196, 88));
}

}  // namespace
}  // namespace pelorine::controls
