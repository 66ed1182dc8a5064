#include "controls/GradientButton.h"

#include <QImage>
#include <QPainter>

namespace pelorine::controls {

GradientButton::GradientButton(QWidget* parent) : QPushButton(parent) {}

GradientButton::GradientButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

GradientButtonState GradientButton::lookState() const {
    return {hovered_, hasFocus(), isDown(), isDefault(), isEnabled()};
}

void GradientButton::paintEvent(QPaintEvent* /*event*/) {
    // Drawn off-screen and copied in one step, so hovering never flickers.
    QImage image(size() * devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio());
    {
        QPainter offscreen(&image);
        paintGradientButton(offscreen, QRect(QPoint(0, 0), size()), lookState(), text(), font(),
                            palette().color(QPalette::Window));
    }
    QPainter painter(this);
    painter.drawImage(0, 0, image);
}

void GradientButton::enterEvent(QEnterEvent* event) {
    QPushButton::enterEvent(event);
    hovered_ = true;
    update();
}

void GradientButton::leaveEvent(QEvent* event) {
    QPushButton::leaveEvent(event);
    hovered_ = false;
    update();
}

}  // namespace pelorine::controls
