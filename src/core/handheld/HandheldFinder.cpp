#include "handheld/HandheldFinder.h"

#include <array>
#include <cctype>
#include <string_view>

namespace pelorine::handheld {
namespace {

bool fatLike(const std::string& type) {
    static constexpr std::array<std::string_view, 6> kTypes = {
        "vfat", "msdos", "exfat", "fuseblk", "fuse.exfat", "fuse.fuse-exfat"};
    for (const std::string_view known : kTypes) {
        if (type == known) {
            return true;
        }
    }
    return false;
}

bool sameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool looksLikeHandheld(const std::string& root, const platform::FileSystem& files) {
    for (const std::string& name : files.listFolder(root)) {
        if (sameNoCase(name, "PSP") || sameNoCase(name, "MP_ROOT")) {
            return true;
        }
    }
    return false;
}

std::vector<Handheld> findHandhelds(const platform::MountTable& mounts,
                                    const platform::FileSystem& files,
                                    const std::string& overrideFolder) {
    std::vector<Handheld> sticks;
    if (!overrideFolder.empty()) {
        if (looksLikeHandheld(overrideFolder, files)) {
            sticks.push_back({overrideFolder, false});
        }
        return sticks;
    }
    for (const platform::MountPoint& point : mounts.mountPoints()) {
        if (fatLike(point.type) && looksLikeHandheld(point.path, files)) {
            sticks.push_back({point.path, point.readOnly});
        }
    }
    return sticks;
}

}  // namespace pelorine::handheld
