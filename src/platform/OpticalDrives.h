#pragma once
// The system's optical drives, for the DVD dialog's drive list.

#include <memory>
#include <string>
#include <vector>

namespace pelorine::platform {

class OpticalDrives {
public:
    virtual ~OpticalDrives() = default;
    // The drives' device paths ("/dev/sr0", "/dev/sr1", ...) in drive order;
    // empty when the system has none.
    virtual std::vector<std::string> list() const = 0;
};

// The system's drives.
OpticalDrives& systemOpticalDrives();

// Linux: the sr block devices in `blockFolder` (/sys/class/block), or, when
// that folder cannot be read, the "drive name:" line of `cdromInfo`
// (/proc/sys/dev/cdrom/info).
std::unique_ptr<OpticalDrives> makeLinuxOpticalDrives(
    std::string blockFolder = "/sys/class/block",
    std::string cdromInfo = "/proc/sys/dev/cdrom/info");

// The device paths named by the kernel's CD-ROM information text, in drive
// order (the text lists the newest drive first).
std::vector<std::string> drivesFromCdromInfo(const std::string& text);

}  // namespace pelorine::platform
