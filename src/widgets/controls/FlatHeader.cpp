#include "controls/FlatHeader.h"

#include <QIcon>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include "controls/SkinPictures.h"

#include <algorithm>

namespace pelorine::controls {

bool headerColumnPressed(bool leftButtonDown, int columnUnderCursor, int column) {
    return leftButtonDown && column >= 0 && columnUnderCursor == column;
}

FlatHeader::FlatHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setMouseTracking(true);
    setHighlightSections(false);
}

void FlatHeader::setSortDirection(int logicalIndex, int direction) {
    directions_[logicalIndex] = direction;
    viewport()->update();
}

int FlatHeader::sortDirection(int logicalIndex) const {
    const auto found = directions_.find(logicalIndex);
    return found == directions_.end() ? 0 : found->second;
}

void FlatHeader::paintEvent(QPaintEvent* /*event*/) {
    // Drawn off-screen and copied in one step.
    QImage image(viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(palette().color(QPalette::Button));
    const std::optional<QPixmap> background = SkinPictures::load(kHeaderPictureId);
    {
        QPainter painter(&image);
        int end = 0;
        for (int visual = 0; visual < count(); ++visual) {
            const int logical = logicalIndex(visual);
            if (isSectionHidden(logical)) {
                continue;
            }
            const QRect column(sectionViewportPosition(logical), 0, sectionSize(logical),
                               viewport()->height());
            painter.save();
            painter.setClipRect(column);
            paintColumn(painter, column, logical, headerColumnPressed(leftDown_, hot_, logical));
            painter.restore();
            end = std::max(end, column.left() + column.width());
        }
        if (background) {
            // One pixel wider than the client area, as the picture's right edge is soft.
            painter.drawPixmap(QRect(end, 0, viewport()->width() - end + 1, viewport()->height()),
                               *background);
        }
    }
    QPainter(viewport()).drawImage(0, 0, image);
}

QRect FlatHeader::paintEdge(QPainter& painter, QRect rect, bool pressed) const {
    const QPalette& colours = palette();
    if (pressed) {
        painter.setPen(colours.color(QPalette::Dark));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        return rect.translated(1, 1);
    }
    const QColor light = colours.color(QPalette::Light);
    const QColor shadow = colours.color(QPalette::Dark);
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), light);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), light);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), shadow);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), shadow);
    return rect;
}

void FlatHeader::paintColumn(QPainter& painter, QRect rect, int logicalIndex, bool pressed) const {
    rect = paintEdge(painter, rect, pressed);
    if (const int direction = sortDirection(logicalIndex); direction != 0) {
        const int side = rect.height();
        const QRect cell(rect.left() + rect.width() - side, rect.top(), side, side);
        const int id = direction > 0 ? kHeaderAscendingPictureId : kHeaderDescendingPictureId;
        if (const auto arrow = SkinPictures::load(id)) {
            painter.drawPixmap(cell, *arrow);
        }
        rect.setWidth(rect.width() - side);
    }
    if (const auto background = SkinPictures::load(kHeaderPictureId)) {
        painter.drawPixmap(QRect(rect.left(), rect.top(), rect.width() - 1, rect.height()),
                           *background);
    }
    paintLabel(painter, rect, logicalIndex);
}

void FlatHeader::paintLabel(QPainter& painter, QRect rect, int logicalIndex) const {
    const QVariant icon = model() != nullptr
                              ? model()->headerData(logicalIndex, orientation(), Qt::DecorationRole)
                              : QVariant();
    if (icon.canConvert<QIcon>()) {
        const QPixmap picture = icon.value<QIcon>().pixmap(rect.height() - 2);
        if (!picture.isNull()) {
            painter.drawPixmap(rect.left() + 1, rect.top() + (rect.height() - picture.height()) / 2,
                               picture);
            rect.setLeft(rect.left() + picture.width());
        }
    }

    const QString text = model() != nullptr
                             ? model()->headerData(logicalIndex, orientation()).toString()
                             : QString();
    if (!text.isEmpty()) {
        Qt::Alignment alignment = Qt::AlignLeft;
        if (model() != nullptr) {
            const QVariant given =
                model()->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole);
            if (given.isValid()) {
                alignment = Qt::Alignment(given.toInt()) & Qt::AlignHorizontal_Mask;
            }
        }
        const QRect textBox = rect.adjusted(5, 0, -5, 0);
        painter.setPen(Qt::black);
        painter.setFont(font());
        painter.drawText(textBox, alignment | Qt::AlignVCenter | Qt::TextSingleLine,
                         fontMetrics().elidedText(text, Qt::ElideRight, textBox.width()));
    }
}

void FlatHeader::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        leftDown_ = true;
        hot_ = logicalIndexAt(event->position().toPoint());
        viewport()->update();
    }
    QHeaderView::mousePressEvent(event);
}

void FlatHeader::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        leftDown_ = false;
        viewport()->update();
    }
    QHeaderView::mouseReleaseEvent(event);
}

void FlatHeader::mouseMoveEvent(QMouseEvent* event) {
    setHot(logicalIndexAt(event->position().toPoint()));
    QHeaderView::mouseMoveEvent(event);
}

void FlatHeader::leaveEvent(QEvent* event) {
    if (!leftDown_) {
        setHot(-1);
    }
    QHeaderView::leaveEvent(event);
}

void FlatHeader::setHot(int column) {
    if (hot_ != column) {
        hot_ = column;
        viewport()->update();
    }
}

}  // namespace pelorine::controls
