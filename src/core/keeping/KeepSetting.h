#pragma once
// "Keep the list when Pelorine closes": a start after a clean end brings the
// list back without asking. Off by default, so that a normal start begins
// with an empty list. Kept in its own section of the settings file:
//   [LIST]
//   KeepWhenClosing=0

#include <string>

#include "base/Status.h"
#include "platform/FileSystem.h"
#include "settings/IniSection.h"

namespace pelorine {

class KeepSetting {
public:
    static constexpr const char* kSection = "LIST";
    static constexpr const char* kKey = "KeepWhenClosing";

    KeepSetting(platform::FileSystem& files, std::string filePath);

    // Reads the section; any text but "0" turns it on, none leaves it off.
    void read();
    bool on() const { return on_; }
    // Stores the value and writes the file.
    Status set(bool on);

private:
    IniSection file_;
    bool on_ = false;
};

}  // namespace pelorine
