#pragma once
// Every way the converter writes a time in seconds as text. Each format has
// its own rounding and range; the callers' texts are compared byte for byte.

#include <string>

namespace pelorine {

// How hours and minutes are found: by dividing by 3600 and 60, or by
// multiplying with their reciprocals (as the information sheet does; the two
// may differ in the last hundredth).
enum class TimeDivision { Divide, Reciprocal };

// "hh:mm:ss.xx": hours, minutes, seconds and hundredths, each truncated toward
// zero (3725.5 gives "01:02:05.50", 0.999 gives "00:00:00.99"). Non-finite
// values count as 0; values beyond a billion seconds either way are clamped.
std::string timeText(double seconds, TimeDivision division = TimeDivision::Divide);

// "hh:mm:ss": the parts of timeText without the hundredths (5400.7 gives
// "01:30:00"), as the end time of a DVD title.
std::string wholeTimeText(double seconds);

// "1:23", or "1:02:03" from an hour on; rounded to whole seconds, negative
// values count as 0. How long a batch still needs.
std::string durationText(double seconds);

// "01m44s", or "1h02m05s" from an hour on; whole seconds, truncated; negative
// and non-finite values count as 0, and the hours stop at a thousand. The
// position in the name of a stopped output.
std::string stoppedTimeText(double seconds);

}  // namespace pelorine
