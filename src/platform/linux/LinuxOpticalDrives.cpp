#include <dirent.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/OpticalDrives.h"

namespace pelorine::platform {
namespace {

// "sr12" gives 12; anything else that is not an sr device gives -1.
int srNumber(const std::string& name) {
    if (name.size() < 3 || name.size() > 6 || name.compare(0, 2, "sr") != 0 ||
        !std::all_of(name.begin() + 2, name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return -1;
    }
    return std::stoi(name.substr(2));
}

std::vector<std::string> devicesInOrder(std::vector<int> numbers) {
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    std::vector<std::string> devices;
    for (const int number : numbers) {
        devices.push_back("/dev/sr" + std::to_string(number));
    }
    return devices;
}

class LinuxOpticalDrives final : public OpticalDrives {
public:
    LinuxOpticalDrives(std::string blockFolder, std::string cdromInfo)
        : blockFolder_(std::move(blockFolder)), cdromInfo_(std::move(cdromInfo)) {}

    std::vector<std::string> list() const override {
        DIR* folder = ::opendir(blockFolder_.c_str());
        if (!folder) {
            std::ifstream info(cdromInfo_);
            std::stringstream text;
            text << info.rdbuf();
            return drivesFromCdromInfo(text.str());
        }
        std::vector<int> numbers;
        while (const dirent* entry = ::readdir(folder)) {
            if (const int number = srNumber(entry->d_name); number >= 0) {
                numbers.push_back(number);
            }
        }
        ::closedir(folder);
        return devicesInOrder(std::move(numbers));
    }

private:
    std::string blockFolder_;
    std::string cdromInfo_;
};

}  // namespace

std::unique_ptr<OpticalDrives> makeLinuxOpticalDrives(std::string blockFolder,
                                                      std::string cdromInfo) {
    return std::make_unique<LinuxOpticalDrives>(std::move(blockFolder), std::move(cdromInfo));
}

OpticalDrives& systemOpticalDrives() {
    static const std::unique_ptr<OpticalDrives> drives = makeLinuxOpticalDrives();
    return *drives;
}

std::vector<std::string> drivesFromCdromInfo(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("drive name:", 0) != 0) {
            continue;
        }
        std::istringstream names(line.substr(11));
        std::vector<int> numbers;
        std::string name;
        while (names >> name) {
            if (const int number = srNumber(name); number >= 0) {
                numbers.push_back(number);
            }
        }
        return devicesInOrder(std::move(numbers));
    }
    return {};
}

}  // namespace pelorine::platform
