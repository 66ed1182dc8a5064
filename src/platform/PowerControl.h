#pragma once
// Switching the computer off at the end of a batch, when the user asked for it.

#include "base/Status.h"

namespace pelorine::platform {

class PowerControl {
public:
    virtual ~PowerControl() = default;
    // Asks the system to power off, as the desktop's own "Shut down" does. An
    // error when the request is refused.
    virtual Status powerOff() = 0;
};

PowerControl& systemPowerControl();

}  // namespace pelorine::platform
