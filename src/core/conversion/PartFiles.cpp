#include "conversion/PartFiles.h"

#include <algorithm>
#include <cctype>

#include "base/Paths.h"
#include "conversion/OutputNames.h"

namespace pelorine {
namespace {

// Whether `text` starts at `at` with one or more digits; moves `at` past them.
bool skipDigits(const std::string& text, std::size_t& at) {
    const std::size_t start = at;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
        ++at;
    }
    return at > start;
}

}  // namespace

std::optional<PartFileKind> partFileKind(const std::string& fileName, const std::string& base,
                                         const std::string& format) {
    const std::string head = base + kPartMarker;
    std::size_t at = head.size();
    if (fileName.compare(0, head.size(), head) != 0 || !skipDigits(fileName, at)) {
        return std::nullopt;
    }
    const std::string rest = fileName.substr(at);
    const std::string extension = "." + format;
    if (rest == extension) {
        return PartFileKind::Final;
    }
    if (rest == extension + ".part") {
        return PartFileKind::Unfinished;
    }
    const std::string stopped = " (stopped at ";
    const std::string tail = ")" + extension;
    if (rest.size() > stopped.size() + tail.size() &&
        rest.compare(0, stopped.size(), stopped) == 0 &&
        rest.compare(rest.size() - tail.size(), tail.size(), tail) == 0 &&
        rest.find(')') == rest.size() - tail.size()) {
        return PartFileKind::Stopped;
    }
    return std::nullopt;
}

PartFiles findPartFiles(const std::string& basePath, const std::string& format,
                        const platform::FileSystem& files) {
    const std::string folder = folderWithSeparatorOf(basePath);
    const std::string base = basePath.substr(folder.size());
    PartFiles found;
    for (const std::string& name : files.listFolder(folder.empty() ? "." : folder)) {
        const auto kind = partFileKind(name, base, format);
        if (kind) {
            (*kind == PartFileKind::Final ? found.finals : found.others).push_back(folder + name);
        }
    }
    std::sort(found.finals.begin(), found.finals.end());
    std::sort(found.others.begin(), found.others.end());
    return found;
}

}  // namespace pelorine
