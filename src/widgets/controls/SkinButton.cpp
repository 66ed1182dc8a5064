#include "controls/SkinButton.h"

#include <QGuiApplication>
#include <QPainter>

#include <algorithm>

#include "controls/SkinPictures.h"

namespace pelorine::controls {

SkinButton::SkinButton(QWidget* parent) : QAbstractButton(parent) {}

void SkinButton::setPictures(int normal, int pressed, int hover) {
    // Picture ids are 16-bit resource numbers.
    ids_ = {normal & 0xFFFF, pressed & 0xFFFF, hover & 0xFFFF};
    update();
}

int SkinButton::shownPicture() const {
    return skinPictureFor(currentPictures(), {hovered_, hasFocus(), isDown()});
}

QSize SkinButton::sizeHint() const {
    if (const auto picture = SkinPictures::load(currentPictures().normal)) {
        return picture->size();
    }
    return {16, 16};
}

void SkinButton::paintEvent(QPaintEvent* /*event*/) {
    const SkinPictureIds ids = currentPictures();
    const int shown = shownPicture();
    // Every picture of the set must exist, not only the one shown right now: a
    // missing one is a broken installation, reported as soon as it is noticed.
    std::optional<QPixmap> toDraw;
    int checked[3] = {0, 0, 0};
    int count = 0;
    for (int id : {ids.normal, ids.pressed, ids.hover}) {
        if (id == 0 || std::find(checked, checked + count, id) != checked + count) {
            continue;
        }
        checked[count++] = id;
        auto picture = SkinPictures::load(id);
        if (!picture) {
            emit pictureMissing(id);
        } else if (id == shown) {
            toDraw = std::move(picture);
        }
    }
    if (toDraw) {
        QPainter painter(this);
        painter.drawTiledPixmap(rect(), *toDraw);
    }
}

void SkinButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    if (hoverStartsOnEnter(QGuiApplication::mouseButtons() & Qt::LeftButton, hovered_)) {
        setHovered(true);
    }
}

void SkinButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    setHovered(false);
}

void SkinButton::focusOutEvent(QFocusEvent* event) {
    QAbstractButton::focusOutEvent(event);
    setHovered(false);
}

void SkinButton::setHovered(bool hovered) {
    if (hovered_ != hovered) {
        hovered_ = hovered;
        update();
    }
}

}  // namespace pelorine::controls
