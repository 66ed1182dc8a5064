#include "settings/HandheldSettings.h"

#include "base/Text.h"
#include "settings/IniStore.h"

namespace pelorine {

HandheldSettings::HandheldSettings(platform::FileSystem& files, std::string filePath)
    : files_(files), filePath_(std::move(filePath)) {}

void HandheldSettings::read() {
    const IniFile ini = readIniFile(files_, filePath_, nullptr);
    const auto flag = [&](const char* key, bool fallback) {
        return text::trim(ini.value(kSection, key, fallback ? "1" : "0")) != "0";
    };
    thumbnails_ = flag(kThumbnailsKey, true);
    newerFirmware_ = flag(kNewerFirmwareKey, false);
    copyWhenFinished_ = flag(kCopyWhenFinishedKey, false);
}

Status HandheldSettings::write(const char* key, bool on) {
    IniFile ini = readIniFile(files_, filePath_, nullptr);  // other keys are kept
    ini.setValue(kSection, key, on ? "1" : "0");
    return writeIniFile(files_, filePath_, ini);
}

Status HandheldSettings::setThumbnails(bool on) {
    thumbnails_ = on;
    return write(kThumbnailsKey, on);
}

Status HandheldSettings::setNewerFirmware(bool on) {
    newerFirmware_ = on;
    return write(kNewerFirmwareKey, on);
}

Status HandheldSettings::setCopyWhenFinished(bool on) {
    copyWhenFinished_ = on;
    return write(kCopyWhenFinishedKey, on);
}

}  // namespace pelorine
