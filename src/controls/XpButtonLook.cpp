#include "controls/XpButtonLook.h"

#include <QFontMetrics>

#include <algorithm>

namespace pelorine::controls {
namespace {

// Rectangles with exclusive right and bottom edges.
struct Edges {
    int left, top, right, bottom;
};

void line(QPainter& painter, const QColor& colour, int width, QPoint from, QPoint to) {
    QPen pen(colour, width, Qt::SolidLine, Qt::FlatCap);
    painter.setPen(pen);
    painter.drawLine(from, to);
}

}  // namespace

QColor xpGradientColour(int step, bool hovered, bool highlighted) {
    const int d = 255 - step / 3;
    const int f = 255 - step / 4;
    const int g = 255 - step / 5;
    if (hovered) {
        return QColor(f, f, highlighted ? d : g);
    }
    return QColor(d, d, highlighted ? f : g);
}

int xpGradientStep(int y, int faceHeight) {
    if (faceHeight <= 0) {
        return kXpGradientSteps - 1;
    }
    return std::min(kXpGradientSteps - 1, (kXpGradientSteps - 1) * y / faceHeight);
}

XpBorderSet xpHoverBorders() {
    return {QColor(250, 196, 88),
            QColor(251, 202, 106),
            QColor(252, 210, 121),
            QColor(229, 151, 0),
            3,
            2};
}

XpBorderSet xpFocusBorders() {
    return {QColor(153, 198, 252),
            QColor(162, 189, 252),
            QColor(162, 201, 255),
            QColor(162, 201, 255),
            3,
            2};
}

XpBorderChoice xpBordersFor(const XpButtonState& state) {
    if (!state.focused && !state.hovered) {
        return {};
    }
    return {true, (state.hovered || !state.focused) ? xpHoverBorders() : xpFocusBorders()};
}

QPoint xpTextOrigin(const QRect& face, QSize textSize, bool down) {
    const int right = face.left() + face.width();
    const int bottom = face.top() + face.height();
    QPoint origin((face.left() + right) / 2 - textSize.width() / 2,
                  (face.top() + bottom) / 2 - textSize.height() / 2);
    if (down) {
        origin += QPoint(1, 1);
    }
    return origin;
}

void paintXpButton(QPainter& painter, const QRect& rect, const XpButtonState& state,
                   const QString& text, const QFont& font, const QColor& background) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect, background);

    // Outer frame in black, its inside white as a fresh drawing surface is.
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));

    const Edges face{rect.left() + kXpEdge, rect.top() + kXpEdge,
                     rect.left() + rect.width() - kXpEdge, rect.top() + rect.height() - kXpEdge};
    const int faceWidth = face.right - face.left;
    const int faceHeight = face.bottom - face.top;
    // The rows run two pixels past the face height and across to the face width
    // plus two, so the lowest rows always end on the last step.
    for (int y = face.top; y < faceHeight + 2; ++y) {
        const int step = xpGradientStep(y, faceHeight);
        painter.fillRect(QRect(face.left, y, faceWidth + 2 - face.left, 1),
                         xpGradientColour(step, state.hovered, state.highlighted()));
    }

    const XpBorderChoice borders = xpBordersFor(state);
    if (borders.draw) {
        const XpBorderSet& b = borders.set;
        line(painter, b.left, b.sideWidth, {face.left, face.bottom - 3}, {face.left, face.top + 2});
        line(painter, b.right, b.sideWidth, {face.right - 1, face.bottom - 3},
             {face.right - 1, face.top + 2});
        line(painter, b.top, b.edgeWidth, {face.left + 2, face.top}, {face.right - 2, face.top});
        line(painter, b.bottom, b.edgeWidth, {face.left + 2, face.bottom},
             {face.right - 2, face.bottom});
    }

    if (!text.isEmpty()) {
        painter.setFont(font);
        const QFontMetrics metrics(font);
        const QSize size = metrics.size(Qt::TextShowMnemonic, text);
        const QPoint origin =
            xpTextOrigin(QRect(face.left, face.top, faceWidth, faceHeight), size, state.down);
        const QRect box(origin, size);
        if (state.enabled) {
            painter.setPen(QColor(kXpTextColour));
            painter.drawText(box, Qt::TextShowMnemonic, text);
        } else {
            // Engraved, as disabled text is drawn elsewhere on the desktop.
            painter.setPen(Qt::white);
            painter.drawText(box.translated(1, 1), Qt::TextShowMnemonic, text);
            painter.setPen(QColor(128, 128, 128));
            painter.drawText(box, Qt::TextShowMnemonic, text);
        }
    }
    painter.restore();
}

}  // namespace pelorine::controls
