#pragma once
// The colour arithmetic of the skinned controls. Plain functions of plain
// values, so the exact numbers can be tested without a screen.

#include <QColor>

namespace pelorine::controls {

// Menus: each channel c moves towards white, c + f * (255 - c), truncated.
// A factor outside (0, 1] returns the colour unchanged.
QColor lighten(const QColor& colour, double factor);

// Progress bar: each channel gains 51 unless that would pass 255, in which case
// the channel stays as it was.
QColor lightenStep(const QColor& colour);

// Progress bar: each channel loses 51 unless it is below 51, in which case it
// stays as it was.
QColor darkenStep(const QColor& colour);

// A colour given as a Windows colour value 0x00BBGGRR.
constexpr QRgb fromColorRef(unsigned colorRef) {
    return qRgb(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

}  // namespace pelorine::controls
