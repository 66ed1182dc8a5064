#include "conversion/TimeText.h"

#include <cmath>
#include <cstdio>

namespace pelorine {
namespace {

// Truncation toward zero, kept inside the int range (a damaged project file
// may hold any double).
int truncated(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    const double t = std::trunc(value);
    if (t >= 2147483647.0) {
        return 2147483647;
    }
    return t <= -2147483648.0 ? -2147483647 - 1 : static_cast<int>(t);
}

}  // namespace

std::string timeText(double seconds) {
    if (!std::isfinite(seconds)) {
        seconds = 0.0;
    }
    const int hours = truncated(seconds / 3600.0);
    const double rest = seconds - 3600.0 * hours;
    const int minutes = truncated(rest / 60.0);
    const int wholeSeconds = truncated(rest - 60.0 * minutes);
    const int hundredths = truncated((rest - 60.0 * minutes - wholeSeconds) * 100.0) % 100;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d.%02d", hours, minutes, wholeSeconds,
                  hundredths);
    return buffer;
}

}  // namespace pelorine
