#include "settings/IniSection.h"

#include <span>

#include "base/Paths.h"

namespace pelorine {
namespace {

// Settings files are a few lines long; a larger file is damaged, and what is
// beyond this is not read.
constexpr std::size_t kMaxSettingsFileSize = 1 << 20;

}  // namespace

IniSection::Values IniSection::read() const {
    Values values;
    values.section = section_;
    const auto bytes = files_.readPrefix(filePath_, kMaxSettingsFileSize);
    if (bytes) {
        values.found = true;
        values.file =
            IniFile(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    }
    return values;
}

Status IniSection::write(const Entries& entries) const {
    IniFile file = read().file;  // other keys and sections are kept
    for (const auto& [key, value] : entries) {
        file.setValue(section_, key, value);
    }
    if (const std::string folder = folderOf(filePath_); !folder.empty()) {
        if (Status created = files_.createFolders(folder); !created) {
            return created;
        }
    }
    const std::string content = file.content();
    return files_.writeFileDurably(
        filePath_,
        std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
}

}  // namespace pelorine
