#include "settings/Settings.h"

#include "base/Text.h"

namespace pelorine {

std::string cutUtf8(std::string text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return text;
    }
    std::size_t end = maxBytes;
    // Step back over continuation bytes to the start of the character cut in two.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    text.resize(end);
    return text;
}

Settings::Settings(platform::FileSystem& files, std::string filePath,
                   std::string defaultOutputFolder)
    : file_(files, std::move(filePath), kSection),
      defaultOutputFolder_(std::move(defaultOutputFolder)),
      outputPath_(defaultOutputFolder_) {}

Status Settings::load() {
    read();
    return write();
}

Status Settings::read() {
    const IniSection::Values values = file_.read();
    policy_ = text::leadingInt(values.value(kPolicyKey, "1"));
    outputPath_ = cutUtf8(values.value(kOutputPathKey, defaultOutputFolder_), kMaxOutputPath);
    addFolder_ = values.value(kAddFolderKey, "");
    return values.found ? Status::ok() : Status::error("The settings file could not be read.");
}

Status Settings::write() const {
    if (file_.filePath().empty()) {
        return Status::ok();  // kept in memory only
    }
    IniSection::Entries entries = {{kPolicyKey, std::to_string(policy_.load())},
                                   {kOutputPathKey, outputPath_}};
    if (!addFolder_.empty()) {
        entries.emplace_back(kAddFolderKey, addFolder_);
    }
    return file_.write(entries);
}

Status Settings::setOverwritePolicy(int policy) {
    policy_ = policy;
    return write();
}

Status Settings::setOutputPath(std::string path) {
    outputPath_ = cutUtf8(std::move(path), kMaxOutputPath);
    return write();
}

Status Settings::setAddFolder(std::string folder) {
    if (folder == addFolder_) {
        return Status::ok();
    }
    addFolder_ = std::move(folder);
    return write();
}

}  // namespace pelorine
