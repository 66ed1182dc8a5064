#pragma once
// The decoding front of encode and play mode: opens the source and the
// decoders, plans and builds the filter graphs, seeks to the start, reads,
// decodes and filters, and hands every frame to a FrameSink, obeying the
// control file and reporting the position on the way.

#include "common/Channel.h"
#include "common/Errors.h"
#include "front/FrameSink.h"
#include "options/Options.h"

namespace zelvic {

// Runs the source into `sink` until the source or the part asked for ends,
// the sink asks to end, or the control file says quit. Writes the position
// where the sink's output ends as the last progress record before it returns
// Done or Quit; on failure the sink has discarded what it made.
ExitStatus runDecoding(const Options& options, Channel& channel, FrameSink& sink);

}  // namespace zelvic
