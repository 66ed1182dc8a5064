#pragma once
// Reading and writing the settings file whole. Every writer reads the file
// first and changes only its own keys, so the sections of the program's
// parts stand side by side in one file.

#include <string>

#include "base/Status.h"
#include "platform/FileSystem.h"
#include "settings/IniFile.h"

namespace pelorine {

// The file's content; empty when it cannot be read (`found` then false).
IniFile readIniFile(const platform::FileSystem& files, const std::string& path, bool* found);

// Writes the file whole, creating its folder when needed.
Status writeIniFile(platform::FileSystem& files, const std::string& path, const IniFile& ini);

}  // namespace pelorine
