#pragma once
// The option values that are settings lists of their own, `key=value:flag`:
// the encoder and muxer settings of -lavcopts, -lameopts and -lavfopts.

#include <string_view>

#include "common/Errors.h"
#include "options/Options.h"

namespace zelvic {

// Each list is applied on top of what earlier options of the same name set.
Result<LavcSettings> parseLavcopts(std::string_view text, LavcSettings settings);
Result<LameSettings> parseLameopts(std::string_view text, LameSettings settings);
Outcome parseLavfopts(std::string_view text, Options& options);

}  // namespace zelvic
