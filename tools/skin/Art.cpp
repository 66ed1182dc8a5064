#include "Art.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>

namespace skin {

QFont font(int pixelSize, bool bold) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

QImage transparentImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void prepare(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

void drawText(QPainter& painter, const QRectF& box, const QString& text, const QFont& f,
              const QColor& colour, int flags) {
    painter.save();
    painter.setFont(f);
    painter.setPen(colour);
    painter.drawText(box, flags, text);
    painter.restore();
}

QFont fittingFont(const QString& text, int pixelSize, bool bold, qreal width) {
    for (int size = pixelSize; size > 7; --size) {
        QFont f = font(size, bold);
        if (QFontMetricsF(f).horizontalAdvance(text) <= width) {
            return f;
        }
    }
    return font(7, bold);
}

void drawToolbarPlate(QPainter& painter, const QRectF& box, Face face, qreal radius) {
    if (face == Face::Normal) {
        return;
    }
    painter.save();
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    if (face == Face::Hover) {
        fill.setColorAt(0.0, QColor(255, 255, 255, 245));
        fill.setColorAt(1.0, QColor(208, 226, 252));
        painter.setPen(QPen(QColor(110, 155, 222), 1.0));
    } else {
        fill.setColorAt(0.0, QColor(160, 188, 230));
        fill.setColorAt(1.0, QColor(193, 212, 241));
        painter.setPen(QPen(QColor(72, 112, 182), 1.0));
    }
    painter.setBrush(fill);
    painter.drawRoundedRect(box, radius, radius);
    if (face == Face::Hover) {
        // A thin inner light gives the plate its glassy edge.
        painter.setPen(QPen(QColor(255, 255, 255, 180), 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(box.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
    }
    painter.restore();
}

void drawPushFace(QPainter& painter, const QRectF& box, Face face) {
    painter.save();
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    QColor border;
    switch (face) {
        case Face::Normal:
            fill.setColorAt(0.0, QColor(252, 253, 255));
            fill.setColorAt(0.5, QColor(234, 240, 250));
            fill.setColorAt(1.0, QColor(208, 221, 242));
            border = QColor(132, 158, 204);
            break;
        case Face::Hover:
            fill.setColorAt(0.0, QColor(255, 255, 255));
            fill.setColorAt(0.5, QColor(238, 246, 255));
            fill.setColorAt(1.0, QColor(200, 223, 255));
            border = QColor(58, 125, 220);
            break;
        case Face::Pressed:
            fill.setColorAt(0.0, QColor(176, 200, 236));
            fill.setColorAt(1.0, QColor(206, 222, 246));
            border = QColor(62, 104, 176);
            break;
    }
    painter.setPen(QPen(border, 1.0));
    painter.setBrush(fill);
    painter.drawRoundedRect(box, 4, 4);
    if (face != Face::Pressed) {
        painter.setPen(QPen(QColor(255, 255, 255, 200), 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(box.adjusted(1, 1, -1, -1), 3, 3);
    }
    painter.restore();
}

void drawPanel(QPainter& painter, const QRectF& box) {
    painter.save();
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, QColor(236, 242, 251));
    fill.setColorAt(1.0, palette::kPanel);
    painter.setPen(QPen(palette::kPanelBorder, 1.0));
    painter.setBrush(fill);
    painter.drawRoundedRect(box, 6, 6);
    painter.setPen(QPen(QColor(255, 255, 255, 170), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(box.adjusted(1, 1, -1, -1), 5, 5);
    painter.restore();
}

}  // namespace skin
