#include "settings/IniStore.h"

#include <span>

#include "base/Paths.h"

namespace pelorine {
namespace {

// Settings files are a few lines long; a larger file is damaged, and what is
// beyond this is not read.
constexpr std::size_t kMaxSettingsFileSize = 1 << 20;

}  // namespace

IniFile readIniFile(const platform::FileSystem& files, const std::string& path, bool* found) {
    const auto bytes = files.readPrefix(path, kMaxSettingsFileSize);
    if (found) {
        *found = bytes.has_value();
    }
    if (!bytes) {
        return IniFile();
    }
    return IniFile(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

Status writeIniFile(platform::FileSystem& files, const std::string& path, const IniFile& ini) {
    if (const std::string folder = folderOf(path); !folder.empty()) {
        if (Status created = files.createFolders(folder); !created) {
            return created;
        }
    }
    const std::string content = ini.content();
    return files.replaceFile(
        path, std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
}

}  // namespace pelorine
