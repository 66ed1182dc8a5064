#include "records/OutputFiles.h"

#include "base/TimeText.h"

namespace pelorine {
namespace {

// The position of the extension's dot in the file name, or npos.
std::size_t extensionDot(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot <= nameStart) {
        return std::string::npos;  // none, or a name that only starts with a dot
    }
    return dot;
}

}  // namespace

std::string partialOutputPath(const std::string& output) {
    return output + ".part";
}

std::string stoppedOutputPath(const std::string& output, double sourceSeconds) {
    const std::string note = " (stopped at " + stoppedTimeText(sourceSeconds) + ")";
    const std::size_t dot = extensionDot(output);
    if (dot == std::string::npos) {
        return output + note;
    }
    return output.substr(0, dot) + note + output.substr(dot);
}

}  // namespace pelorine
