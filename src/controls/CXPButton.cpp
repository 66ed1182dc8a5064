#include "controls/CXPButton.h"

#include <QImage>
#include <QPainter>

namespace pelorine::controls {

CXPButton::CXPButton(QWidget* parent) : QPushButton(parent) {}

CXPButton::CXPButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

XpButtonState CXPButton::lookState() const {
    return {hovered_, hasFocus(), isDown(), isDefault(), isEnabled()};
}

void CXPButton::paintEvent(QPaintEvent* /*event*/) {
    // Drawn off-screen and copied in one step, so hovering never flickers.
    QImage image(size() * devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio());
    {
        QPainter offscreen(&image);
        paintXpButton(offscreen, QRect(QPoint(0, 0), size()), lookState(), text(), font(),
                      palette().color(QPalette::Window));
    }
    QPainter painter(this);
    painter.drawImage(0, 0, image);
}

void CXPButton::enterEvent(QEnterEvent* event) {
    QPushButton::enterEvent(event);
    hovered_ = true;
    update();
}

void CXPButton::leaveEvent(QEvent* event) {
    QPushButton::leaveEvent(event);
    hovered_ = false;
    update();
}

}  // namespace pelorine::controls
