#include "preview/RangeSlider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "controls/ColourMath.h"

namespace pelorine::preview {
namespace {

constexpr QRgb kTrackColour = controls::fromColorRef(0xEFE7E5);
constexpr QRgb kHandleColour = controls::fromColorRef(0xF8F6F5);

// An outlined, filled rectangle covering left .. right - 1, top .. bottom - 1.
void outlined(QPainter& p, const PixelRect& r, const QColor& fill) {
    p.setPen(Qt::black);
    p.setBrush(fill);
    p.drawRect(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1);
}

// A straight line from `from` up to, not including, `to`.
void lineUpTo(QPainter& p, QPoint from, QPoint to) {
    if (from == to) {
        return;
    }
    const QPoint step((to.x() > from.x()) - (to.x() < from.x()),
                      (to.y() > from.y()) - (to.y() < from.y()));
    p.drawLine(from, to - step);
}

// The raised edge of a handle: light along its left and top, dark along its
// right and bottom.
void raisedEdge(QPainter& p, const PixelRect& r, const QPalette& palette) {
    const QPoint bottomLeft(r.left, r.bottom);
    const QPoint topLeft(r.left, r.top);
    const QPoint topRight(r.right, r.top);
    const QPoint bottomRight(r.right, r.bottom);
    p.setPen(palette.color(QPalette::Light));
    lineUpTo(p, bottomLeft, topLeft);
    lineUpTo(p, topLeft, topRight);
    p.setPen(palette.color(QPalette::Dark));
    lineUpTo(p, topRight, bottomRight);
    lineUpTo(p, bottomRight, bottomLeft);
}

void triangle(QPainter& p, QPoint a, QPoint b, QPoint c) {
    p.setPen(Qt::black);
    p.setBrush(Qt::black);
    const QPoint corners[] = {a, b, c};
    p.drawPolygon(corners, 3);
}

}  // namespace

RangeSlider::RangeSlider(QWidget* parent) : DragControl(parent) {
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    model_.setSize(width(), height());
}

void RangeSlider::setMinMax(double a, double b) {
    model_.setMinMax(a, b);
    update();
}

void RangeSlider::setRange(double left, double right) {
    model_.setRange(left, right);
    update();
}

void RangeSlider::resizeEvent(QResizeEvent*) {
    model_.setSize(width(), height());
}

void RangeSlider::paintEvent(QPaintEvent*) {
    const RangeSliderLayout l = model_.layout();
    const int a = l.arrowWidth;
    const int h = height();
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(palette().color(QPalette::Window));
    {
        QPainter p(&image);
        outlined(p, {0, 0, width(), h}, QColor(kTrackColour));
        const int pL = l.leftPixel;
        const int pR = l.rightPixel;
        outlined(p, l.leftHandle, QColor(kHandleColour));
        if (l.leftRaised) {
            raisedEdge(p, l.leftRect, palette());
        }
        triangle(p, {pL + a / 3, h / 3}, {pL + a / 3, 2 * h / 3}, {pL + 2 * a / 3, h / 2});
        outlined(p, l.rightHandle, QColor(kHandleColour));
        if (l.rightRaised) {
            raisedEdge(p, l.rightRect, palette());
        }
        triangle(p, {pR + a + 2 * a / 3, h / 3}, {pR + a + 2 * a / 3, 2 * h / 3},
                 {pR + a + a / 3, h / 2});
        const PixelRect& bar = l.bar;
        if (bar.right > bar.left && bar.bottom > bar.top) {
            p.fillRect(QRect(bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top),
                       Qt::white);
        }
    }
    QPainter(this).drawImage(0, 0, image);
}

void RangeSlider::send(const std::optional<RangeNotice>& notice) {
    if (notice) {
        emit rangeChanged(*notice);
    }
    update();
}

void RangeSlider::dragStarts(QPoint at) {
    model_.press(at.x(), at.y());
    update();
}

void RangeSlider::dragMoves(QPoint at) {
    if (model_.tracking()) {
        send(model_.move(at.x(), at.y()));
    }
}

void RangeSlider::dragEnds() {
    if (model_.tracking()) {
        model_.release();
        update();
    }
}

void RangeSlider::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key != Qt::Key_Left && key != Qt::Key_Right) {
        QWidget::keyPressEvent(event);
        return;
    }
    const Qt::KeyboardModifiers mods = event->modifiers();
    send(model_.key(key == Qt::Key_Right ? RangeKey::Right : RangeKey::Left,
                    mods.testFlag(Qt::ShiftModifier), mods.testFlag(Qt::ControlModifier)));
}

}  // namespace pelorine::preview
