#pragma once
// Language names for the stream lists of the info record.

#include <string>
#include <string_view>

namespace zelvic {

// The English name of an ISO 639 code of two or three letters ("en", "fre");
// "unknown" for an empty or undetermined code; an unlisted code as it is.
std::string languageName(std::string_view code);

}  // namespace zelvic
