#pragma once
// Puts the window's skin buttons where the layout table says, with their pictures.

#include <QRect>

#include "controls/SkinLayout.h"

namespace pelorine::controls {

class SkinButton;
class TwoStateSkinButton;

QRect toQRect(const SkinRect& rect);

void placeSkinButton(SkinButton& button, const SkinButtonPlace& place);
void placeTwoStateButton(TwoStateSkinButton& button, const TwoStateButtonPlace& place);

// The layout entry of a control id, or null when it is not a skin button.
const SkinButtonPlace* skinButtonPlace(int controlId);

}  // namespace pelorine::controls
