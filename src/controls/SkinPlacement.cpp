#include "controls/SkinPlacement.h"

#include "controls/SkinButton.h"
#include "controls/TwoStateSkinButton.h"

namespace pelorine::controls {

QRect toQRect(const SkinRect& rect) {
    return QRect(rect.left, rect.top, rect.width(), rect.height());
}

void placeSkinButton(SkinButton& button, const SkinButtonSpec& spec) {
    button.setGeometry(toQRect(spec.rect));
    button.setPictures(spec.normal, spec.pressed, spec.hover);
}

void placeTwoStateButton(TwoStateSkinButton& button, const TwoStateButtonSpec& spec) {
    button.setGeometry(toQRect(spec.rect));
    button.setPictures(spec.firstNormal, spec.firstPressed, spec.firstHover, spec.secondNormal,
                       spec.secondHover, spec.secondPressed);
}

const SkinButtonSpec* skinButtonSpec(int controlId) {
    for (const SkinButtonSpec& spec : kSkinButtons) {
        if (spec.controlId == controlId) {
            return &spec;
        }
    }
    return nullptr;
}

}  // namespace pelorine::controls
