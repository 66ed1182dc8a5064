#include "project/DocumentFiles.h"

namespace pelorine {

FileRead readWholeFile(const std::string& path, const platform::FileSystem& files,
                       std::vector<std::uint8_t>& bytes) {
    auto read = files.readPrefix(path, kLargestDocument + 1);
    if (!read) {
        return FileRead::CannotOpen;
    }
    if (read->size() > kLargestDocument) {
        return FileRead::TooLarge;
    }
    bytes = std::move(*read);
    return FileRead::Read;
}

Status fileReadStatus(FileRead read, const std::string& path, const char* kind) {
    if (read == FileRead::TooLarge) {
        return Status::error("\"" + path + "\" is too large to be a " + kind + " file.");
    }
    return Status::error("Cannot open the " + std::string(kind) + " file \"" + path + "\".");
}

Status damagedFileStatus(const std::string& path, const char* kind, const std::string& problem) {
    return Status::error("The " + std::string(kind) + " file \"" + path +
                         "\" is damaged: " + problem);
}

}  // namespace pelorine
