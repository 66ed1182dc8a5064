#include <dlfcn.h>

#include "platform/SharedModule.h"

namespace pelorine::platform {

void* loadModuleSymbol(const std::string& path, const char* symbol, Status& status) {
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* reason = ::dlerror();
        status = Status::error("Cannot load \"" + path + "\": " + (reason ? reason : "unknown"));
        return nullptr;
    }
    void* address = ::dlsym(module, symbol);
    if (!address) {
        status = Status::error("\"" + path + "\" has no " + symbol);
        return nullptr;
    }
    status = Status::ok();
    return address;
}

}  // namespace pelorine::platform
