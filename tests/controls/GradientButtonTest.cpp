#include "controls/GradientButton.h"

#include <QApplication>
#include <QEnterEvent>

#include <gtest/gtest.h>

namespace pelorine::controls {
namespace {

constexpr int kWidth = 80;
constexpr int kHeight = 24;

QImage render(const GradientButtonState& state, const QString& text = QStringLiteral("OK")) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    paintGradientButton(painter, image.rect(), state, text, font, QColor(213, 224, 240));
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

TEST(GradientButtonLookTest, GradientStepsFollowTheirFormula) {
    EXPECT_EQ(gradientColour(0, false, false), QColor(255, 255, 255));
    // Step 63: d = 255 - 21, f = 255 - 15, g = 255 - 12.
    EXPECT_EQ(gradientColour(63, false, false), QColor(234, 234, 243));
    EXPECT_EQ(gradientColour(63, false, true), QColor(234, 234, 240));
    EXPECT_EQ(gradientColour(63, true, false), QColor(240, 240, 243));
    EXPECT_EQ(gradientColour(63, true, true), QColor(240, 240, 234));
}

TEST(GradientButtonLookTest, RowsBelowTheFaceHeightUseTheLastStep) {
    EXPECT_EQ(gradientStep(0, 20), 0);
    EXPECT_EQ(gradientStep(10, 20), 31);
    EXPECT_EQ(gradientStep(20, 20), 63);
    EXPECT_EQ(gradientStep(21, 20), 63);
    EXPECT_EQ(gradientStep(5, 0), 63);
}

TEST(GradientButtonLookTest, BorderSetFollowsHoverBeforeFocus) {
    EXPECT_FALSE(gradientBordersFor({}).draw);
    GradientButtonState focused;
    focused.focused = true;
    EXPECT_EQ(gradientBordersFor(focused).set.left, QColor(153, 198, 252));
    GradientButtonState both = focused;
    both.hovered = true;
    EXPECT_EQ(gradientBordersFor(both).set.left, QColor(250, 196, 88));
}

TEST(GradientButtonLookTest, PlainFaceHasTheGradientAndABlackFrame) {
    const QImage image = render({});
    EXPECT_EQ(at(image, 0, 0), QColor(Qt::black));
    EXPECT_EQ(at(image, kWidth - 1, kHeight - 1), QColor(Qt::black));
    const int faceHeight = kHeight - 2 * kGradientEdge;
    EXPECT_EQ(at(image, 6, 3), gradientColour(gradientStep(3, faceHeight), false, false));
    // The lowest face row uses the last brush.
    EXPECT_EQ(at(image, 6, kHeight - 3), gradientColour(63, false, false));
    // No border set without hover or focus.
    EXPECT_EQ(at(image, kGradientEdge, kHeight / 2),
              gradientColour(gradientStep(kHeight / 2, faceHeight), false, false));
}

TEST(GradientButtonLookTest, HoverDrawsTheHoverBordersAndFace) {
    GradientButtonState hovered;
    hovered.hovered = true;
    const QImage image = render(hovered);
    EXPECT_EQ(at(image, kGradientEdge, kHeight / 2), QColor(250, 196, 88));
    EXPECT_EQ(at(image, kWidth - kGradientEdge - 1, kHeight / 2), QColor(251, 202, 106));
    EXPECT_EQ(at(image, kWidth / 2, kGradientEdge), QColor(252, 210, 121));
    const int faceHeight = kHeight - 2 * kGradientEdge;
    EXPECT_EQ(at(image, 8, 5), gradientColour(gradientStep(5, faceHeight), true, false));
}

TEST(GradientButtonLookTest, FocusDrawsTheFocusBorders) {
    GradientButtonState focused;
    focused.focused = true;
    const QImage image = render(focused);
    EXPECT_EQ(at(image, kGradientEdge, kHeight / 2), QColor(153, 198, 252));
}

TEST(GradientButtonLookTest, PushedTextMovesOnePixelRightAndDown) {
    const QRect up = textBox(render({}));
    GradientButtonState pushed;
    pushed.down = true;
    const QRect down = textBox(render(pushed));
    ASSERT_FALSE(up.isEmpty());
    EXPECT_EQ(down, up.translated(1, 1));
}

TEST(GradientButtonLookTest, EmptyTextDrawsOnlyFrameAndGradient) {
    EXPECT_TRUE(textBox(render({}, QString())).isEmpty());
}

TEST(GradientButtonTest, EnterAndLeaveSwitchTheHoverFace) {
    GradientButton button(QStringLiteral("Cancel"));
    button.resize(kWidth, kHeight);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&button, &enter);
    EXPECT_TRUE(button.isHovered());
    QImage image = button.grab().toImage();
    EXPECT_EQ(image.pixelColor(kGradientEdge, kHeight / 2), QColor(250, 196, 88));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_FALSE(button.isHovered());
    image = button.grab().toImage();
    EXPECT_NE(image.pixelColor(kGradientEdge, kHeight / 2), QColor(250, 196, 88));
}

}  // namespace
}  // namespace pelorine::controls
