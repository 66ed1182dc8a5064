#pragma once
// Only one Pelorine runs per user: both would steer the same engine through
// the same channel files.

#include <memory>
#include <string>

#include "platform/InstanceLock.h"

namespace pelorine {

inline constexpr const char* kInstanceLockName = "pelorine";
inline constexpr const char* kOtherInstanceMessage =
    "Pelorine is already running. Please use its window, or close it before starting "
    "Pelorine again.";

struct InstanceCheck {
    // Held for the life of the process when this is the only instance.
    std::unique_ptr<platform::InstanceLock> lock;
    // Why the program must not start: kOtherInstanceMessage when another
    // instance runs, or the system's reason when the lock cannot be taken.
    std::string refusal;
};

// Takes the instance lock in `folder` (the private per-user folder).
InstanceCheck checkSingleInstance(const std::string& folder);

}  // namespace pelorine
