#pragma once

#include <string>

namespace pelorine {

// Seconds shown as "hh:mm:ss.xx": hours, minutes, seconds and hundredths, each
// truncated toward zero (3725.5 gives "01:02:05.50", 0.999 gives "00:00:00.99").
std::string timeText(double seconds);

}  // namespace pelorine
