#pragma once
// Identify mode: what the converter learns about a source before it makes a
// job of it.

#include "common/Channel.h"
#include "common/Errors.h"
#include "common/FFmpeg.h"
#include "options/Options.h"
#include "records/MediaInfo.h"

namespace zelvic {

// The record for an opened file: its length, its picture as displayed, and
// its audio and subtitle streams numbered 0, 1, … in stream order.
pelorine::MediaInfo describeInput(const AVFormatContext* input);

// Opens the source, writes the info file, and says how the run ended. A source
// that cannot be opened leaves no info file behind.
ExitStatus runIdentify(const Options& options, Channel& channel);

}  // namespace zelvic
