#include "controls/SkinPlacement.h"

#include "controls/SkinButton.h"
#include "controls/TwoStateSkinButton.h"

namespace pelorine::controls {

QRect toQRect(const SkinRect& rect) {
    return QRect(rect.left, rect.top, rect.width(), rect.height());
}

void placeSkinButton(SkinButton& button, const SkinButtonPlace& place) {
    button.setGeometry(toQRect(place.rect));
    button.setPictures(place.normal, place.pressed, place.hover);
}

void placeTwoStateButton(TwoStateSkinButton& button, const TwoStateButtonPlace& place) {
    button.setGeometry(toQRect(place.rect));
    button.setPictures(place.firstNormal, place.firstPressed, place.firstHover, place.secondNormal,
                       place.secondHover, place.secondPressed);
}

const SkinButtonPlace* skinButtonPlace(int controlId) {
    for (const SkinButtonPlace& place : kSkinButtons) {
        if (place.controlId == controlId) {
            return &place;
        }
    }
    return nullptr;
}

}  // namespace pelorine::controls
