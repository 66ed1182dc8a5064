#pragma once
// The filter chains of -vf and -af: comma-separated filters, each a name
// with colon-separated arguments (`scale=320:-2,harddup`).

#include <string_view>
#include <vector>

#include "common/Errors.h"
#include "options/Options.h"

namespace zelvic {

// Filters are appended to `steps`, so repeated -vf and -af add up.
Outcome parseVideoFilters(std::string_view chain, std::vector<VideoStep>& steps);
Outcome parseAudioFilters(std::string_view chain, std::vector<AudioStep>& steps);

}  // namespace zelvic
