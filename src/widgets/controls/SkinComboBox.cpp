#include "controls/SkinComboBox.h"

#include <QMouseEvent>
#include <QPainter>

#include "controls/SkinPictures.h"

namespace pelorine::controls {
namespace {

// Rectangles here are worked out with exclusive right and bottom edges, as the
// skin's measurements are given, then turned into QRects.
struct Edges {
    int left, top, right, bottom;

    Edges shrunk(int by) const { return {left + by, top + by, right - by, bottom - by}; }
    Edges rightmost(int width) const { return {right - width, top, right, bottom}; }
    QRect rect() const { return QRect(left, top, right - left, bottom - top); }
};

void frame(QPainter& painter, const QRect& r) {
    if (r.width() > 0 && r.height() > 0) {
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    }
}

}  // namespace

ComboSkinGeometry comboSkinGeometry(const QRect& client, int buttonWidth) {
    const Edges whole{client.left(), client.top(), client.left() + client.width(),
                      client.top() + client.height()};
    ComboSkinGeometry g;
    const Edges outer = whole.shrunk(1);
    g.outerFrame = outer.rect();
    const Edges inner = outer.shrunk(1);
    g.buttonFrame = inner.rightmost(buttonWidth).rect();
    const Edges cell = inner.shrunk(1).rightmost(buttonWidth).shrunk(1);
    // The picture is stretched one pixel narrower than the cell.
    g.arrow = QRect(cell.left, cell.top, cell.right - cell.left - 1, cell.bottom - cell.top);
    g.arrowFrameTall = Edges{cell.left, cell.top - 1, cell.right, cell.bottom + 1}.rect();
    g.arrowFrameWide = Edges{cell.left - 1, cell.top - 1, cell.right + 1, cell.bottom + 1}.rect();
    return g;
}

SkinComboBox::SkinComboBox(QWidget* parent) : QComboBox(parent) {}

void SkinComboBox::paintEvent(QPaintEvent* event) {
    QComboBox::paintEvent(event);
    const ComboSkinGeometry g = comboSkinGeometry(rect());
    QPainter painter(this);
    painter.setPen(Qt::white);
    painter.setBrush(Qt::NoBrush);
    frame(painter, g.outerFrame);
    frame(painter, g.buttonFrame);
    if (const auto arrow = SkinPictures::load(kComboArrowPictureId)) {
        painter.drawPixmap(g.arrow, *arrow);
    } else {
        emit pictureMissing(kComboArrowPictureId);
    }
    if (isEnabled()) {
        frame(painter, g.arrowFrameTall);
        frame(painter, g.arrowFrameWide);
    }
}

void SkinComboBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        leftDown_ = true;
    }
    QComboBox::mousePressEvent(event);
}

void SkinComboBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        leftDown_ = false;
        update();
    }
    QComboBox::mouseReleaseEvent(event);
}

}  // namespace pelorine::controls
