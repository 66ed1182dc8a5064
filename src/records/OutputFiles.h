#pragma once
// Where an engine run puts its output while it works and after it ends.
// Shared by both programs: the engine writes and renames the files, the
// converter names them to the user.
//
// A run writes to the partial name beside the output (one filesystem, so the
// rename at the end is atomic). A run that ends well renames it to the output;
// a run ended by quit keeps its shorter, playable file under the stopped name,
// so nothing that is not whole ever carries the final name; a failed run
// deletes it.

#include <string>

namespace pelorine {

// "<output>.part".
std::string partialOutputPath(const std::string& output);

// The output's name with " (stopped at <time>)" before its extension, where
// the time is the position in the source at which the run stopped:
// "clip.mp4", 104.2 s -> "clip (stopped at 01m44s).mp4"; an hour and more
// -> "1h02m05s". Only the file name changes, never the folder.
std::string stoppedOutputPath(const std::string& output, double sourceSeconds);

}  // namespace pelorine
