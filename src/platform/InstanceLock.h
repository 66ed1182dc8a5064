#pragma once
// A lock one program instance per user holds for its whole life. The system
// releases it when the process ends, however it ends, so a crash never leaves
// a stale lock behind.

#include <memory>
#include <string>

namespace pelorine::platform {

class InstanceLock {
public:
    virtual ~InstanceLock() = default;  // releases the lock
};

// Takes the lock `name` in `folder` (a private per-user folder). Null when
// another process holds it already (or it cannot be taken at all, which is
// then reported through `error` as well).
std::unique_ptr<InstanceLock> acquireInstanceLock(const std::string& folder,
                                                  const std::string& name, std::string* error);

}  // namespace pelorine::platform
