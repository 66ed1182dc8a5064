#include "base/TimeText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace pelorine {
namespace {

int truncated(double value) {
    return static_cast<int>(std::trunc(value));
}

// The parts of a clock time, each truncated toward zero.
struct ClockParts {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int hundredths = 0;
};

ClockParts clockParts(double seconds, TimeDivision division) {
    // A damaged project file may hold any double: keep the text readable.
    constexpr double kLongest = 1e9;
    if (!std::isfinite(seconds)) {
        seconds = 0.0;
    }
    seconds = std::clamp(seconds, -kLongest, kLongest);
    const bool reciprocal = division == TimeDivision::Reciprocal;
    ClockParts parts;
    parts.hours = truncated(reciprocal ? seconds * 0.0002777777777777778 : seconds / 3600.0);
    const double rest = seconds - 3600.0 * parts.hours;
    parts.minutes = truncated(reciprocal ? rest * 0.016666666666666666 : rest / 60.0);
    parts.seconds = truncated(rest - 60.0 * parts.minutes);
    parts.hundredths = truncated((rest - 60.0 * parts.minutes - parts.seconds) * 100.0) % 100;
    return parts;
}

// Whole seconds as hours, minutes of the hour and seconds of the minute.
struct WholeParts {
    long hours;
    long minutes;
    long seconds;
};

WholeParts wholeParts(long total) {
    return {total / 3600, total / 60 % 60, total % 60};
}

// The parts written with `withHours` (hours, minutes, seconds), or with
// `withoutHours` (minutes, seconds) when there are no hours.
std::string hoursWhenAny(const WholeParts& parts, const char* withHours, const char* withoutHours) {
    char buffer[32];
    if (parts.hours > 0) {
        std::snprintf(buffer, sizeof buffer, withHours, parts.hours, parts.minutes, parts.seconds);
    } else {
        std::snprintf(buffer, sizeof buffer, withoutHours, parts.minutes, parts.seconds);
    }
    return buffer;
}

}  // namespace

std::string timeText(double seconds, TimeDivision division) {
    const ClockParts parts = clockParts(seconds, division);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d.%02d", parts.hours, parts.minutes,
                  parts.seconds, parts.hundredths);
    return buffer;
}

std::string wholeTimeText(double seconds) {
    const ClockParts parts = clockParts(seconds, TimeDivision::Divide);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", parts.hours, parts.minutes,
                  parts.seconds);
    return buffer;
}

std::string durationText(double seconds) {
    const long total = std::lround(std::max(0.0, std::min(seconds, 1e8)));
    return hoursWhenAny(wholeParts(total), "%ld:%02ld:%02ld", "%ld:%02ld");
}

std::string stoppedTimeText(double seconds) {
    // Beyond a thousand hours is no real position; keep the text short.
    const double clamped = std::isfinite(seconds) ? std::clamp(seconds, 0.0, 3.6e6) : 0.0;
    return hoursWhenAny(wholeParts(static_cast<long>(clamped)), "%ldh%02ldm%02lds", "%02ldm%02lds");
}

}  // namespace pelorine
