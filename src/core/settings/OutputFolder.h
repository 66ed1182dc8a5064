#pragma once
// Moving output files to another folder, and the folder chooser's status line.

#include <string>

namespace pelorine {

// `outputPath` with its folder replaced by `folder`: the folder, a separator
// unless it ends in one, and the file name (the text after the last separator).
std::string retargetOutputPath(const std::string& folder, const std::string& outputPath);

// A folder path as the chooser's status line shows it: paths longer than 55
// characters become "..." and their last 53 characters, starting at the first
// separator within those when there is one.
std::string folderStatusText(const std::string& path);

}  // namespace pelorine
