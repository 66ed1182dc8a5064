#include "conversion/JobNaming.h"

#include <cstdio>

#include "platform/Text.h"

namespace pelorine {
namespace {

// The seconds of an hh:mm:ss.xx text; fields past the end of the text read as 0.
double secondsOf(const std::string& text) {
    auto field = [&text](std::size_t at) {
        return at < text.size() ? text::leadingInt(std::string_view(text).substr(at, 2)) : 0;
    };
    return field(0) * 3600.0 + field(3) * 60.0 + field(6) + field(9) / 100.0;
}

}  // namespace

std::string randomDigits(const std::function<int()>& random) {
    const int first = random() % 1000;
    const int second = random() % 100;
    char digits[8];
    std::snprintf(digits, sizeof digits, "%03d%02d", first, second);
    return digits;
}

std::string sourceTitle(const std::string& sourcePath) {
    const auto slash = sourcePath.rfind('/');
    const std::string name = slash == std::string::npos ? sourcePath : sourcePath.substr(slash + 1);
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string newOutputPath(const JobList& jobs, const std::string& folder, std::string base,
                          const std::string& extension) {
    const std::string prefix = folder.ends_with('/') ? folder : folder + "/";
    for (std::size_t i = 0; i < jobs.count(); ++i) {
        if (jobs.job(i).outputPath == prefix + base + "." + extension) {
            base += "_1";
        }
    }
    return prefix + base + "." + extension;
}

bool hasSource(const JobList& jobs, const std::string& sourcePath) {
    for (std::size_t i = 0; i < jobs.count(); ++i) {
        if (jobs.job(i).sourcePath == sourcePath) {
            return true;
        }
    }
    return false;
}

std::optional<std::pair<double, double>> typedClip(const std::string& startText,
                                                   const std::string& endText) {
    if (startText.size() != 11) {
        return std::nullopt;
    }
    const double start = secondsOf(startText);
    const double end = secondsOf(endText);
    if (!(start < end)) {
        return std::nullopt;
    }
    return std::pair(start, end);
}

}  // namespace pelorine
