#pragma once
// The texts of "--help" and "--version", and the hint after a usage error.

#include <string>

namespace pelorine::cli {

inline constexpr const char* kProgramName = "pelorine-cli";

std::string helpText();
std::string versionText();
// "Try 'pelorine-cli --help' for more information."
std::string usageHint();

}  // namespace pelorine::cli
