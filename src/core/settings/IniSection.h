#pragma once
// One section of the settings file, the way each part of the program keeps
// its own keys there. Every read takes the file as it is now; every write
// reads it first and changes only the keys it is given, so the sections of
// the program's parts stand side by side in one file.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Status.h"
#include "platform/FileSystem.h"
#include "settings/IniFile.h"

namespace pelorine {

class IniSection {
public:
    // What a read found. An unreadable or missing file reads as empty.
    struct Values {
        bool found = false;  // the file could be read
        IniFile file;
        std::string_view section;

        // The value of `key` in the section, or `fallback` when there is none.
        std::string value(std::string_view key, std::string_view fallback) const {
            return file.value(section, key, fallback);
        }
    };
    using Entries = std::vector<std::pair<std::string_view, std::string>>;

    // `files` must outlive the section; `section` is a name that lives as long.
    IniSection(platform::FileSystem& files, std::string filePath, std::string_view section)
        : files_(files), filePath_(std::move(filePath)), section_(section) {}

    Values read() const;
    // Sets `entries` in the section of the file as it is now and writes the
    // file whole, creating its folder when needed.
    Status write(const Entries& entries) const;

    const std::string& filePath() const { return filePath_; }

private:
    platform::FileSystem& files_;
    std::string filePath_;
    std::string_view section_;
};

}  // namespace pelorine
