#pragma once
// The option values that are lists of their own: encoder and muxer settings
// (-lavcopts, -lameopts, -lavfopts) and filter chains (-vf, -af).

#include <string_view>
#include <vector>

#include "common/Errors.h"
#include "options/Options.h"

namespace zelvic {

// Each list is applied on top of what earlier options of the same name set.
Result<LavcSettings> parseLavcopts(std::string_view text, LavcSettings settings);
Result<LameSettings> parseLameopts(std::string_view text, LameSettings settings);
Outcome parseLavfopts(std::string_view text, Options& options);
// Filters are appended to `steps`, so repeated -vf and -af add up.
Outcome parseVideoFilters(std::string_view chain, std::vector<VideoStep>& steps);
Outcome parseAudioFilters(std::string_view chain, std::vector<AudioStep>& steps);

}  // namespace zelvic
