#pragma once
// The boundary between the engine executable and its play module
// (libzelvic_play.so beside it). Both sides are built from the same sources
// in the same build, so they share the Options and Channel layouts.

#include "common/Channel.h"
#include "options/Options.h"

namespace zelvic {

inline constexpr const char* kPlayModuleFile = "libzelvic_play.so";
inline constexpr const char* kPlayEntry = "zelvic_run_play";

// The entry point's type: runs play mode, returns the exit status.
using PlayEntry = int (*)(const Options& options, Channel& channel);

}  // namespace zelvic
