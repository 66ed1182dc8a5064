#include "settings/OutputFolder.h"

#include "base/Paths.h"

namespace pelorine {

std::string retargetOutputPath(const std::string& folder, const std::string& outputPath) {
    const std::string name = fileNameOf(outputPath);
    const bool separated = !folder.empty() && folder.back() == '/';
    return folder + (separated ? "" : "/") + name;
}

std::string folderStatusText(const std::string& path) {
    constexpr std::size_t kLongest = 55;
    constexpr std::size_t kTail = 53;
    if (path.size() <= kLongest) {
        return path;
    }
    std::string tail = path.substr(path.size() - kTail);
    if (const auto slash = tail.find('/'); slash != std::string::npos) {
        tail = tail.substr(slash);
    }
    return "..." + tail;
}

}  // namespace pelorine
