#pragma once
// The boundary between the engine executable and its encoding module
// (libzelvic_encode.so beside it). Both sides are built from the same sources
// in the same build, so they share the Options and Channel layouts.

#include "Channel.h"
#include "Options.h"

namespace zelvic {

inline constexpr const char* kEncodeModuleFile = "libzelvic_encode.so";
inline constexpr const char* kEncodeEntry = "zelvic_run_encode";
// Play mode, with the screen and the sound device, is a module of its own
// (libzelvic_play.so) with an entry of the same type.
inline constexpr const char* kPlayModuleFile = "libzelvic_play.so";
inline constexpr const char* kPlayEntry = "zelvic_run_play";

// The entry point's type: runs encode mode, returns the exit status.
using EncodeEntry = int (*)(const Options& options, Channel& channel);

}  // namespace zelvic
