#include "settings/Settings.h"

#include "base/Text.h"
#include "settings/IniStore.h"

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
    : files_(files),
      filePath_(std::move(filePath)),
      defaultOutputFolder_(std::move(defaultOutputFolder)),
      outputPath_(defaultOutputFolder_) {}

Status Settings::load() {
    read();
    return write();
}

Status Settings::read() {
    bool found = false;
    const IniFile ini = readFile(&found);
    policy_ = text::leadingInt(ini.value(kSection, kPolicyKey, "1"));
    outputPath_ =
        cutUtf8(ini.value(kSection, kOutputPathKey, defaultOutputFolder_), kMaxOutputPath);
    addFolder_ = ini.value(kSection, kAddFolderKey, "");
    return found ? Status::ok() : Status::error("The settings file could not be read.");
}

Status Settings::write() const {
    if (filePath_.empty()) {
        return Status::ok();  // kept in memory only
    }
    IniFile ini = readFile(nullptr);  // other keys and sections are kept
    ini.setValue(kSection, kPolicyKey, std::to_string(policy_.load()));
    ini.setValue(kSection, kOutputPathKey, outputPath_);
    if (!addFolder_.empty()) {
        ini.setValue(kSection, kAddFolderKey, addFolder_);
    }
    return writeIniFile(files_, filePath_, ini);
}

IniFile Settings::readFile(bool* found) const {
    return readIniFile(files_, filePath_, found);
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
