#include <sched.h>

#include <cstdio>

#include "platform/Machine.h"

namespace pelorine::platform {
namespace {

// The processors of this process's affinity mask, which a `taskset` or a
// container's CPU set narrows.
int usableProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) != 0) {
        return 1;
    }
    const int count = CPU_COUNT(&set);
    return count > 0 ? count : 1;
}

// The kernel's estimate of the memory available without swapping.
std::optional<std::uint64_t> memoryAvailable() {
    std::FILE* file = std::fopen("/proc/meminfo", "re");
    if (!file) {
        return std::nullopt;
    }
    std::optional<std::uint64_t> bytes;
    char line[256];
    unsigned long long kilobytes = 0;
    while (std::fgets(line, sizeof line, file)) {
        if (std::sscanf(line, "MemAvailable: %llu kB", &kilobytes) == 1) {
            bytes = static_cast<std::uint64_t>(kilobytes) * 1024;
            break;
        }
    }
    std::fclose(file);
    return bytes;
}

class LinuxMachine final : public Machine {
public:
    MachineFacts facts() const override { return {usableProcessors(), memoryAvailable()}; }
};

}  // namespace

Machine& systemMachine() {
    static LinuxMachine machine;
    return machine;
}

}  // namespace pelorine::platform
