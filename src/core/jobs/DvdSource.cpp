#include "jobs/DvdSource.h"

#include <cstdio>

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

std::string dvdTimeText(double seconds) {
    const auto hours = static_cast<long long>(seconds / 3600);
    const double rest = seconds - 3600.0 * static_cast<double>(hours);
    const auto minutes = static_cast<long long>(rest / 60);
    const auto whole = static_cast<long long>(rest - 60.0 * static_cast<double>(minutes));
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", hours, minutes, whole);
    return text;
}

}  // namespace pelorine
