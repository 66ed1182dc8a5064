#pragma once
// Encode mode: source → decoders → filter graphs → encoders → muxer, obeying
// the control file and reporting progress on the way.

#include "Channel.h"
#include "Errors.h"
#include "Options.h"

namespace zelvic {

ExitCode runEncode(const Options& options, Channel& channel);

}  // namespace zelvic
