#include "app/SingleInstance.h"

namespace pelorine {

InstanceCheck checkSingleInstance(const std::string& folder) {
    InstanceCheck check;
    std::string error;
    check.lock = platform::acquireInstanceLock(folder, kInstanceLockName, &error);
    if (!check.lock) {
        check.refusal = error.empty() ? kOtherInstanceMessage : error;
    }
    return check;
}

}  // namespace pelorine
