#include "controls/TwoStateSkinButton.h"

namespace pelorine::controls {

TwoStateSkinButton::TwoStateSkinButton(QWidget* parent) : SkinButton(parent) {}

void TwoStateSkinButton::setPictures(int firstNormal, int firstPressed, int firstHover,
                                     int secondNormal, int secondHover, int secondPressed) {
    first_ = {firstNormal & 0xFFFF, firstPressed & 0xFFFF, firstHover & 0xFFFF};
    secondSet_ = {secondNormal & 0xFFFF, secondPressed & 0xFFFF, secondHover & 0xFFFF};
    update();
}

void TwoStateSkinButton::setSecondState(bool second) {
    second_ = second;
    update();
}

SkinPictureIds TwoStateSkinButton::currentPictures() const {
    return second_ ? secondSet_ : first_;
}

}  // namespace pelorine::controls
