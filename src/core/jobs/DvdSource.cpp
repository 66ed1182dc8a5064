#include "jobs/DvdSource.h"

#include "base/Text.h"

namespace pelorine {
namespace {

constexpr std::string_view kLowerPrefix = "dvd_drive_";

}  // namespace

std::string dvdSourcePath(const std::string& drive) {
    return kDvdSourcePrefix + drive;
}

std::optional<std::string> dvdDriveOf(const std::string& sourcePath) {
    if (!text::lower(sourcePath).starts_with(kLowerPrefix)) {
        return std::nullopt;
    }
    return sourcePath.substr(kLowerPrefix.size());
}

std::string dvdOutputBase(const std::string& drive) {
    std::string base = dvdSourcePath(drive);
    for (char& c : base) {
        if (c == '/') {
            c = '_';
        }
    }
    return base;
}

}  // namespace pelorine
