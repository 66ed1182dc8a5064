#pragma once
// The conversion progress bars: a pale background, the filled part in the
// lightest tint of a blue base colour, and a set of one-pixel strokes in
// lighter and darker tints that make its edges look rounded.

#include <QColor>
#include <QPainter>
#include <QRect>

#include "controls/ColourMath.h"

namespace pelorine::controls {

inline constexpr QRgb kProgressBase = fromColorRef(0xEE996E);
inline constexpr QRgb kProgressBackground = fromColorRef(0xFCE0D1);

struct ProgressColours {
    QColor base;
    QColor light1, light2, light3;  // light3 is the fill
    QColor dark1, dark2;
    QColor shadow1, shadow2, shadow3;
};

// The tints of `base`; shadow 1 and 3 come from the desktop's dark-shadow and
// button-shadow colours, shadow 2 is their mean (rounded down).
ProgressColours progressColours(const QColor& base, const QColor& darkShadow,
                                const QColor& buttonShadow);

// Width in pixels of the filled part, from the client's left edge.
int progressFilledWidth(int lower, int upper, int position, int clientWidth);

// Paints the bar into `client` (normally the widget's own rectangle at 0, 0).
void paintProgressBar(QPainter& painter, const QRect& client, int lower, int upper, int position,
                      const ProgressColours& colours);

}  // namespace pelorine::controls
