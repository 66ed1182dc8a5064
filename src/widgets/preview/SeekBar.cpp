#include "preview/SeekBar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "controls/SkinPictures.h"

namespace pelorine::preview {
namespace {

std::optional<QImage> loadPicture(int id) {
    const auto picture = controls::SkinPictures::load(id);
    if (!picture) {
        return std::nullopt;
    }
    return picture->toImage().convertToFormat(QImage::Format_ARGB32);
}

// The picture with every pixel of the key colour made transparent.
QImage keyedOut(QImage image, QRgb key) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == key) {
                line[x] = qRgba(0, 0, 0, 0);
            }
        }
    }
    return image;
}

}  // namespace

SeekBar::SeekBar(int controlId, QWidget* parent) : DragControl(parent), controlId_(controlId) {
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool SeekBar::setChannelImages(int id, int activeId) {
    if (id == 0) {
        channel_ = activeChannel_ = QImage();
        return true;
    }
    const auto channel = loadPicture(id);
    const auto active = activeId != 0 ? loadPicture(activeId) : std::optional<QImage>(QImage());
    if (!channel || !active) {
        return false;
    }
    channel_ = *channel;
    activeChannel_ = *active;
    model_.metrics().width = channel_.width();
    model_.metrics().height = channel_.height();
    resize(channel_.size());
    update();
    return true;
}

bool SeekBar::setThumbImages(int id, int activeId, bool transparent, QRgb key, int keyX, int keyY) {
    if (id == 0) {
        thumb_ = activeThumb_ = QImage();
        return true;
    }
    const auto thumb = loadPicture(id);
    const auto active = activeId != 0 ? loadPicture(activeId) : std::optional<QImage>(QImage());
    if (!thumb || !active) {
        return false;
    }
    thumb_ = *thumb;
    activeThumb_ = *active;
    if (transparent) {
        const auto keyOf = [&](const QImage& image) {
            return key == kKeyFromPixel && image.valid(keyX, keyY) ? image.pixel(keyX, keyY) : key;
        };
        thumb_ = keyedOut(thumb_, keyOf(thumb_));
        if (!activeThumb_.isNull()) {
            activeThumb_ = keyedOut(activeThumb_, keyOf(activeThumb_));
        }
    }
    model_.metrics().thumbWidth = thumb_.width();
    model_.metrics().thumbHeight = thumb_.height();
    update();
    return true;
}

void SeekBar::setMargins(int left, int top, int right, int bottom) {
    SeekBarMetrics& m = model_.metrics();
    m.marginLeft = left;
    m.marginTop = top;
    m.marginRight = right;
    m.marginBottom = bottom;
    update();
}

void SeekBar::setRange(double minimum, double maximum, bool redraw) {
    model_.setRange(minimum, maximum);
    if (redraw) {
        update();
    }
}

void SeekBar::setPosition(double value) {
    model_.setPosition(value);
    update();
}

QSize SeekBar::sizeHint() const {
    return channel_.isNull() ? QSize(169, 11) : channel_.size();
}

bool SeekBar::event(QEvent* event) {
    // Every key but Tab is the bar's, and it does nothing with them; Tab
    // still takes the focus on.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Tab && key != Qt::Key_Backtab) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void SeekBar::paintEvent(QPaintEvent*) {
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(palette().color(QPalette::Window));
    {
        QPainter offscreen(&image);
        const int thumb = model_.thumbPixel();
        if (!activeChannel_.isNull()) {
            // Cut at the thumb, never stretched: source x is destination x.
            const int split = std::clamp(thumb, 0, width());
            offscreen.drawImage(QRect(0, 0, split, height()), activeChannel_,
                                QRect(0, 0, split, height()));
            offscreen.drawImage(QRect(split, 0, width() - split, height()), channel_,
                                QRect(split, 0, width() - split, height()));
        } else if (!channel_.isNull()) {
            offscreen.drawImage(0, 0, channel_);
        }
        const QImage& face = model_.dragging() && !activeThumb_.isNull() ? activeThumb_ : thumb_;
        if (!face.isNull()) {
            offscreen.drawImage(thumb - model_.metrics().thumbWidth / 2, model_.metrics().marginTop,
                                face);
        }
    }
    QPainter(this).drawImage(0, 0, image);
}

void SeekBar::post(const std::optional<SeekNotice>& notice) {
    if (!notice) {
        return;
    }
    const int seconds = notice->seconds;
    const bool moved = notice->kind == SeekNotice::Kind::Moved;
    QMetaObject::invokeMethod(
        this,
        [this, seconds, moved] {
            if (moved) {
                emit thumbMoved(controlId_, seconds);
            } else {
                emit released(controlId_, seconds);
            }
        },
        Qt::QueuedConnection);
}

void SeekBar::dragStarts(QPoint at) {
    post(model_.press(at.x()));
    update();
}

void SeekBar::dragMoves(QPoint at) {
    if (const auto moved = model_.move(at.x())) {
        post(moved);
        update();
    }
}

void SeekBar::dragEnds() {
    post(model_.release());
    update();
}

}  // namespace pelorine::preview
