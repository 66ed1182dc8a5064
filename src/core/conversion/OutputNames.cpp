#include "conversion/OutputNames.h"

#include "base/Paths.h"
#include "base/Text.h"

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

bool mp3Output(const Job& job) {
    return text::lower(job.outputFormat) == "mp3";
}

bool splitOutput(const Job& job) {
    return !mp3Output(job) && text::lower(job.split) != "not split";
}

std::string firstOutputPath(const Job& job) {
    const std::string base = outputBasePath(job.outputPath);
    if (splitOutput(job)) {
        return partOutputPath(base, 1, job.outputFormat);
    }
    return job.clipEnabled != 0 ? job.outputPath : wholeOutputPath(base, job.outputFormat);
}

std::string outputCellText(const Job& job) {
    const std::string first = firstOutputPath(job);
    if (!splitOutput(job)) {
        return first;
    }
    return first + ", " + kPartMarker + "2." + job.outputFormat + ", ...";
}

}  // namespace pelorine
