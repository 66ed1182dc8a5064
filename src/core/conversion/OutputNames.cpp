#include "conversion/OutputNames.h"

#include "base/Paths.h"

namespace pelorine {

std::string outputBasePath(const std::string& outputPath) {
    return withoutExtension(outputPath);
}

std::string wholeOutputPath(const std::string& basePath, const std::string& format) {
    return basePath + "." + format;
}

std::string partOutputPath(const std::string& basePath, int part, const std::string& format) {
    return basePath + kPartMarker + std::to_string(part) + "." + format;
}

std::string firstOutputPath(const JobSettings& settings) {
    const OutputSettings& output = settings.output;
    const std::string base = outputBasePath(output.path);
    if (settings.splitOutput()) {
        return partOutputPath(base, 1, output.extension);
    }
    return settings.clip ? output.path : wholeOutputPath(base, output.extension);
}

std::string firstOutputPath(const Job& job) {
    return firstOutputPath(jobSettingsOf(job));
}

std::string outputCellText(const Job& job) {
    const JobSettings settings = jobSettingsOf(job);
    const std::string first = firstOutputPath(settings);
    if (!settings.splitOutput()) {
        return first;
    }
    return first + ", " + kPartMarker + "2." + settings.output.extension + ", ...";
}

}  // namespace pelorine
