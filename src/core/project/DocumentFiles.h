#pragma once
// Reading the user's project and profile files whole, and the words for what
// went wrong with them.

#include <cstdint>
#include <string>
#include <vector>

#include "base/Status.h"
#include "platform/FileSystem.h"

namespace pelorine {

// No project or profile file comes near this size; a larger file is not one
// of ours and is refused without reading it whole.
inline constexpr std::size_t kLargestDocument = 64u * 1024 * 1024;

enum class FileRead { Read, CannotOpen, TooLarge };

// The whole file at `path` into `bytes` (memory as large as the file, and
// never more than kLargestDocument).
FileRead readWholeFile(const std::string& path, const platform::FileSystem& files,
                       std::vector<std::uint8_t>& bytes);

// "Cannot open the project file "x"." and the like, for `kind` "project" or "profile".
Status fileReadStatus(FileRead read, const std::string& path, const char* kind);
// "The project file "x" is damaged: <problem>"
Status damagedFileStatus(const std::string& path, const char* kind, const std::string& problem);

}  // namespace pelorine
