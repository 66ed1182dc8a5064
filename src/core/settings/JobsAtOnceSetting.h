#pragma once
// "Jobs at once": how many Jobs a batch converts at the same time, Auto (the
// machine decides, see conversion/JobsAtOnce.h) or 1 to 8. Kept beside the
// other general settings, written on its own so that it never rewrites them:
//   [GENERAL]
//   JobsAtOnce=0        0 Auto, 1-8 that many
// A value that is not one of these reads as Auto.

#include <optional>
#include <string>
#include <string_view>

#include "base/Status.h"
#include "platform/FileSystem.h"
#include "settings/IniSection.h"

namespace pelorine {

// The number a text names: "0" to "8" exactly; nothing for any other text.
std::optional<int> jobsAtOnceNamed(std::string_view text);

class JobsAtOnceSetting {
public:
    static constexpr const char* kSection = "GENERAL";
    static constexpr const char* kKey = "JobsAtOnce";
    static constexpr int kAuto = 0;
    static constexpr int kMost = 8;

    JobsAtOnceSetting(platform::FileSystem& files, std::string filePath);

    void read();
    // kAuto or 1 to kMost.
    int value() const { return value_; }
    // Stores the value (one outside 0 to 8 as Auto) and writes the file.
    Status set(int value);

private:
    IniSection file_;
    int value_ = kAuto;
};

}  // namespace pelorine
