#pragma once
// The boundary between the engine executable and its encoding module
// (libzelvic_encode.so beside it). Both sides are built from the same sources
// in the same build, so they share the Options and Channel layouts.

#include "Channel.h"
#include "Options.h"

namespace zelvic {

inline constexpr const char* kEncodeModuleFile = "libzelvic_encode.so";
inline constexpr const char* kEncodeEntry = "zelvic_run_encode";

// The entry point's type: runs encode mode, returns the exit status.
using EncodeEntry = int (*)(const Options& options, Channel& channel);

}  // namespace zelvic
