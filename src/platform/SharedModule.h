#pragma once
// Code loaded only by the runs that need it: the engine keeps its encoding
// half (and the libraries behind it) in a module beside the executable, so
// that identify runs, which the converter starts once per added file, do not
// pay for loading them.

#include <string>

#include "base/Status.h"

namespace pelorine::platform {

// Loads the module `path` (kept loaded for the life of the process) and
// returns the address of `symbol` in it. nullptr with `status` set when the
// module or the symbol cannot be found.
void* loadModuleSymbol(const std::string& path, const char* symbol, Status& status);

}  // namespace pelorine::platform
