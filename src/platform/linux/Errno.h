#pragma once

#include <cerrno>
#include <cstring>
#include <string>

#include "base/Status.h"

namespace pelorine::platform {

// An error status "<what>: <the system's reason>." from the current errno.
inline Status errnoStatus(const std::string& what) {
    char buffer[256];
    const char* reason = ::strerror_r(errno, buffer, sizeof buffer);
    return Status::error(what + ": " + reason + ".");
}

}  // namespace pelorine::platform
