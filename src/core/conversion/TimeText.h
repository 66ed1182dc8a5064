#pragma once

#include <string>

namespace pelorine {

// How hours and minutes are found: by dividing by 3600 and 60, or by
// multiplying with their reciprocals (as the information sheet does; the two
// may differ in the last hundredth).
enum class TimeDivision { Divide, Reciprocal };

// Seconds shown as "hh:mm:ss.xx": hours, minutes, seconds and hundredths, each
// truncated toward zero (3725.5 gives "01:02:05.50", 0.999 gives "00:00:00.99").
std::string timeText(double seconds, TimeDivision division = TimeDivision::Divide);

}  // namespace pelorine
