#pragma once
// Which picture a skin button shows. The hover or normal picture is the base;
// the pressed picture covers it while the button is pushed and also while it
// holds the keyboard focus (the main window moves the focus away after every
// command, so this is only seen briefly).

namespace pelorine::controls {

struct SkinPictureIds {
    int normal = 0;
    int pressed = 0;  // 0: the normal picture
    int hover = 0;    // 0: the normal picture
};

struct SkinButtonState {
    bool hovered = false;
    bool focused = false;
    bool down = false;
};

// The picture id to draw; ids of 0 fall back to the normal picture.
int skinPictureFor(const SkinPictureIds& ids, const SkinButtonState& state);

// Whether entering the button starts a hover: not while the left button is
// held from a press that began elsewhere.
bool hoverStartsOnEnter(bool leftButtonHeld, bool hovered);

}  // namespace pelorine::controls
