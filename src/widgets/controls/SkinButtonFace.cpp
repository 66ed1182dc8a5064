#include "controls/SkinButtonFace.h"

namespace pelorine::controls {

int skinPictureFor(const SkinPictureIds& ids, const SkinButtonState& state) {
    const int pressed = ids.pressed != 0 ? ids.pressed : ids.normal;
    const int hover = ids.hover != 0 ? ids.hover : ids.normal;
    if (state.focused || state.down) {
        return pressed;
    }
    return state.hovered ? hover : ids.normal;
}

bool hoverStartsOnEnter(bool leftButtonHeld, bool hovered) {
    return !leftButtonHeld || hovered;
}

}  // namespace pelorine::controls
