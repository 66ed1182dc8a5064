#pragma once
// How many Jobs a batch converts at the same time: the "Jobs at once"
// setting, and what Auto makes of the machine. Auto runs one Job per
// processor this program may use, up to 8, and no more than the available
// memory holds with room to spare (see kMemoryPerJob); the README gives the
// measurements behind it.

#include <cstdint>

#include "platform/Machine.h"

namespace pelorine {

// What Auto counts per running Job: an engine peaks under 150 MB converting
// 720p; the rest is room for the desktop and the page cache the runs read
// and write through.
inline constexpr std::uint64_t kMemoryPerJob = std::uint64_t{300} << 20;

// Auto's choice for a machine: 1 to 8.
int autoJobsAtOnce(const platform::MachineFacts& facts);

// The setting (0 Auto, 1-8) as the number of Jobs a batch runs at once.
int jobsAtOnceFor(int setting, const platform::Machine& machine);

}  // namespace pelorine
