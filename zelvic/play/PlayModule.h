#pragma once
// The boundary between the engine executable and its play module
// (libzelvic_play.so beside it). Both sides are built from the same sources
// in the same build, so they share the Options and Channel layouts.

#include <string>

#include "common/Channel.h"
#include "options/Options.h"
#include "platform/SystemPaths.h"

namespace zelvic {

inline constexpr const char* kPlayModuleFile = "libzelvic_play.so";
inline constexpr const char* kPlayEntry = "zelvic_run_play";

// The path of the module `file` beside the engine executable.
inline std::string engineModule(const char* file) {
    return pelorine::platform::makeLinuxSystemPaths(pelorine::platform::currentEnvironment())
               ->programFolder() +
           file;
}

// The entry point's type: runs play mode, returns the exit status.
using PlayEntry = int (*)(const Options& options, Channel& channel);

}  // namespace zelvic
