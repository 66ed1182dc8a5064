#pragma once
// The real engine and the ffmpeg tools in the converter's integration tests.

#include <string>

namespace pelorine::testing {

// Copies this build's engine (and its play module) into `folder`, which must
// end in a separator: engines that other tests run at the same time must not
// count as this test's.
void installRealEngine(const std::string& folder);

// Runs a shell command; what it printed.
std::string shell(const std::string& command);

// "codec,width,height" or "codec,sample_rate,channels" per stream, as
// ffprobe sees them, one line each.
std::string streamsOf(const std::string& path);

// The container's duration in seconds as ffprobe reads it; 0 when unknown.
double durationOf(const std::string& path);

}  // namespace pelorine::testing
