#pragma once
// The filesystems mounted on this system, as the kernel lists them.

#include <string>
#include <vector>

namespace pelorine::platform {

struct MountPoint {
    std::string path;    // where it is mounted
    std::string type;    // "vfat", "exfat", "fuseblk", ...
    std::string device;  // "/dev/sdb1"
    bool readOnly = false;
};

class MountTable {
public:
    virtual ~MountTable() = default;
    // Every mounted filesystem, in the order of mounting; empty when the
    // table cannot be read.
    virtual std::vector<MountPoint> mountPoints() const = 0;
};

// The kernel's table of this process (/proc/self/mountinfo on Linux).
MountTable& systemMountTable();

// A folder standing for the only memory stick: the environment's
// PELORINE_PSP_STICK (tests, and setups the mount table does not tell);
// empty when unset.
std::string handheldOverrideFolder();

// One line of /proc/self/mountinfo; nothing for a line that is not one.
// Exposed for its tests.
bool parseMountInfoLine(const std::string& line, MountPoint& point);

}  // namespace pelorine::platform
