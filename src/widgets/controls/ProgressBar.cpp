#include "controls/ProgressBar.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

namespace pelorine::controls {

ProgressBar::ProgressBar(QWidget* parent)
    : QProgressBar(parent),
      colours_(progressColours(QColor(kProgressBase), palette().color(QPalette::Shadow),
                               palette().color(QPalette::Dark))) {
    setTextVisible(false);
}

void ProgressBar::paintEvent(QPaintEvent* /*event*/) {
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    {
        QPainter offscreen(&image);
        // A reset bar reports a value below its minimum; it shows as empty.
        paintProgressBar(offscreen, QRect(QPoint(0, 0), size()), minimum(), maximum(),
                         std::max(value(), minimum()), colours_);
    }
    QPainter painter(this);
    painter.drawImage(0, 0, image);
}

}  // namespace pelorine::controls
