#include "controls/GradientButtonLook.h"

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

QColor gradientColour(int step, bool hovered, bool highlighted) {
    const int d = 255 - step / 3;
    const int f = 255 - step / 4;
    const int g = 255 - step / 5;
    if (hovered) {
        return QColor(f, f, highlighted ? d : g);
    }
    return QColor(d, d, highlighted ? f : g);
}

int gradientStep(int y, int faceHeight) {
    if (faceHeight <= 0) {
        return kGradientSteps - 1;
    }
    return std::min(kGradientSteps - 1, (kGradientSteps - 1) * y / faceHeight);
}

GradientBorderSet gradientHoverBorders() {
    return {QColor(250, 196, 88),
            QColor(251, 202, 106),
            QColor(252, 210, 121),
            QColor(229, 151, 0),
            3,
            2};
}

GradientBorderSet gradientFocusBorders() {
    return {QColor(153, 198, 252),
            QColor(162, 189, 252),
            QColor(162, 201, 255),
            QColor(162, 201, 255),
            3,
            2};
}

GradientBorderChoice gradientBordersFor(const GradientButtonState& state) {
    if (!state.focused && !state.hovered) {
        return {};
    }
    return {true,
            (state.hovered || !state.focused) ? gradientHoverBorders() : gradientFocusBorders()};
}

QPoint gradientTextOrigin(const QRect& face, QSize textSize, bool down) {
    const int right = face.left() + face.width();
    const int bottom = face.top() + face.height();
    QPoint origin((face.left() + right) / 2 - textSize.width() / 2,
                  (face.top() + bottom) / 2 - textSize.height() / 2);
    if (down) {
        origin += QPoint(1, 1);
    }
    return origin;
}

void paintGradientButton(QPainter& painter, const QRect& rect, const GradientButtonState& state,
                         const QString& text, const QFont& font, const QColor& background) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect, background);

    // Outer frame in black, its inside white as a fresh drawing surface is.
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));

    const Edges face{rect.left() + kGradientEdge, rect.top() + kGradientEdge,
                     rect.left() + rect.width() - kGradientEdge,
                     rect.top() + rect.height() - kGradientEdge};
    const int faceWidth = face.right - face.left;
    const int faceHeight = face.bottom - face.top;
    // The rows run two pixels past the face height and across to the face width
    // plus two, so the lowest rows always end on the last step.
    for (int y = face.top; y < faceHeight + 2; ++y) {
        const int step = gradientStep(y, faceHeight);
        painter.fillRect(QRect(face.left, y, faceWidth + 2 - face.left, 1),
                         gradientColour(step, state.hovered, state.highlighted()));
    }

    const GradientBorderChoice borders = gradientBordersFor(state);
    if (borders.draw) {
        const GradientBorderSet& b = borders.set;
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
            gradientTextOrigin(QRect(face.left, face.top, faceWidth, faceHeight), size, state.down);
        const QRect box(origin, size);
        if (state.enabled) {
            painter.setPen(QColor(kGradientTextColour));
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
