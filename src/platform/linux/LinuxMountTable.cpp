#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/MountTable.h"

namespace pelorine::platform {
namespace {

// Blanks, tabs, newlines and backslashes in paths stand as \ooo.
std::string unescapeOctal(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto digit = [&](std::size_t at) { return text[at] >= '0' && text[at] <= '7'; };
        if (text[i] == '\\' && i + 3 < text.size() && digit(i + 1) && digit(i + 2) &&
            digit(i + 3)) {
            out.push_back(static_cast<char>((text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 +
                                            (text[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

class LinuxMountTable final : public MountTable {
public:
    std::vector<MountPoint> mountPoints() const override {
        std::vector<MountPoint> points;
        std::ifstream file("/proc/self/mountinfo");
        std::string line;
        while (std::getline(file, line)) {
            MountPoint point;
            if (parseMountInfoLine(line, point)) {
                points.push_back(std::move(point));
            }
        }
        return points;
    }
};

}  // namespace

// "36 35 98:0 /mnt1 /mnt/parent rw,noatime master:1 - ext3 /dev/root rw,errors=continue"
// mount id, parent id, device numbers, root, mount point, mount options,
// optional fields up to "-", then the type, the source and the superblock's options.
bool parseMountInfoLine(const std::string& line, MountPoint& point) {
    std::istringstream fields(line);
    std::string id, parent, numbers, root, mountPoint, options, field;
    if (!(fields >> id >> parent >> numbers >> root >> mountPoint >> options)) {
        return false;
    }
    while (fields >> field && field != "-") {
    }
    std::string type, source, superOptions;
    if (field != "-" || !(fields >> type >> source)) {
        return false;
    }
    fields >> superOptions;
    point.path = unescapeOctal(mountPoint);
    point.type = type;
    point.device = unescapeOctal(source);
    const auto readOnly = [](const std::string& list) {
        return list == "ro" || list.starts_with("ro,");
    };
    point.readOnly = readOnly(options) || readOnly(superOptions);
    return true;
}

std::string handheldOverrideFolder() {
    const char* folder = std::getenv("PELORINE_PSP_STICK");
    return folder ? folder : "";
}

MountTable& systemMountTable() {
    static LinuxMountTable table;
    return table;
}

}  // namespace pelorine::platform
