#include "conversion/SourceFiles.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <string_view>

#include "base/Text.h"

namespace pelorine {
namespace {

// Containers the engine reads that the dialog's filter does not name: files
// with several sound tracks and subtitles, and broadcast recordings.
constexpr const char* kMoreVideoExtensions[] = {"mkv", "webm", "ts",  "m2ts",
                                                "mts", "m4v",  "3gp", "ogv"};

// The extensions of the filter's first entry: "*.avi;*.mov;..." -> "avi", "mov", ...,
// and the containers above.
const std::set<std::string>& videoExtensions() {
    static const std::set<std::string> extensions = [] {
        const std::string_view filter(kAddFilter);
        const auto start = filter.find('|') + 1;
        const std::string_view patterns = filter.substr(start, filter.find('|', start) - start);
        std::set<std::string> found;
        std::size_t at = 0;
        while (at < patterns.size()) {
            const auto end = std::min(patterns.find(';', at), patterns.size());
            const std::string_view pattern = patterns.substr(at, end - at);
            if (pattern.rfind("*.", 0) == 0) {
                found.insert(text::lower(pattern.substr(2)));
            }
            at = end + 1;
        }
        found.insert(std::begin(kMoreVideoExtensions), std::end(kMoreVideoExtensions));
        return found;
    }();
    return extensions;
}

void collectVideoFiles(const std::string& folder, const platform::FileSystem& files,
                       std::vector<std::string>& found) {
    for (const std::string& name : files.listFolder(folder)) {
        const std::string path = folder + "/" + name;
        if (files.isFolder(path)) {
            collectVideoFiles(path, files, found);
        } else if (isVideoFileName(name)) {
            found.push_back(path);
        }
    }
}

}  // namespace

bool isVideoFileName(const std::string& name) {
    const auto dot = name.rfind('.');
    return dot != std::string::npos && dot > 0 &&
           videoExtensions().count(text::lower(name.substr(dot + 1))) != 0;
}

std::vector<std::string> droppedSources(const std::vector<std::string>& paths,
                                        const platform::FileSystem& files) {
    std::vector<std::string> sources;
    for (std::string path : paths) {
        while (path.size() > 1 && path.back() == '/') {
            path.pop_back();
        }
        if (!files.isFolder(path)) {
            sources.push_back(path);
            continue;
        }
        std::vector<std::string> inFolder;
        collectVideoFiles(path == "/" ? "" : path, files, inFolder);
        std::sort(inFolder.begin(), inFolder.end());
        sources.insert(sources.end(), inFolder.begin(), inFolder.end());
    }
    return sources;
}

}  // namespace pelorine
