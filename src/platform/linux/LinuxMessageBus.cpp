#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/MessageBus.h"

namespace pelorine::platform {

void keepToTheSessionBus() {
    if (const char* named = std::getenv("DBUS_SESSION_BUS_ADDRESS"); named && *named) {
        return;
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string usual =
        (runtime && *runtime ? std::string(runtime) : "/run/user/" + std::to_string(::getuid())) +
        "/bus";
    struct stat info {};
    if (::stat(usual.c_str(), &info) == 0 && S_ISSOCK(info.st_mode)) {
        return;  // the library finds it there by itself
    }
    ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + usual).c_str(), 1);
}

}  // namespace pelorine::platform
