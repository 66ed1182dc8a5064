#include "conversion/TimeText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace pelorine {
namespace {

int truncated(double value) {
    return static_cast<int>(std::trunc(value));
}

}  // namespace

std::string timeText(double seconds, TimeDivision division) {
    // A damaged project file may hold any double: keep the text readable.
    constexpr double kLongest = 1e9;
    if (!std::isfinite(seconds)) {
        seconds = 0.0;
    }
    seconds = std::clamp(seconds, -kLongest, kLongest);
    const bool reciprocal = division == TimeDivision::Reciprocal;
    const int hours = truncated(reciprocal ? seconds * 0.0002777777777777778 : seconds / 3600.0);
    const double rest = seconds - 3600.0 * hours;
    const int minutes = truncated(reciprocal ? rest * 0.016666666666666666 : rest / 60.0);
    const int wholeSeconds = truncated(rest - 60.0 * minutes);
    const int hundredths = truncated((rest - 60.0 * minutes - wholeSeconds) * 100.0) % 100;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d.%02d", hours, minutes, wholeSeconds,
                  hundredths);
    return buffer;
}

}  // namespace pelorine
