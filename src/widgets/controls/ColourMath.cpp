#include "controls/ColourMath.h"

namespace pelorine::controls {
namespace {

int towardsWhite(int c, double factor) {
    return c + static_cast<int>(factor * (255 - c));
}

int stepUp(int c) {
    return c + 51 > 255 ? c : c + 51;
}

int stepDown(int c) {
    return c < 51 ? c : c - 51;
}

}  // namespace

QColor lighten(const QColor& colour, double factor) {
    if (!(factor > 0.0 && factor <= 1.0)) {
        return colour;
    }
    return QColor(towardsWhite(colour.red(), factor), towardsWhite(colour.green(), factor),
                  towardsWhite(colour.blue(), factor));
}

QColor lightenStep(const QColor& colour) {
    return QColor(stepUp(colour.red()), stepUp(colour.green()), stepUp(colour.blue()));
}

QColor darkenStep(const QColor& colour) {
    return QColor(stepDown(colour.red()), stepDown(colour.green()), stepDown(colour.blue()));
}

}  // namespace pelorine::controls
