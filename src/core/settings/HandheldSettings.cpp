#include "settings/HandheldSettings.h"

#include "base/Text.h"

namespace pelorine {

HandheldSettings::HandheldSettings(platform::FileSystem& files, std::string filePath)
    : file_(files, std::move(filePath), kSection) {}

void HandheldSettings::read() {
    const IniSection::Values values = file_.read();
    const auto flag = [&values](const char* key, bool fallback) {
        return text::trim(values.value(key, fallback ? "1" : "0")) != "0";
    };
    thumbnails_ = flag(kThumbnailsKey, true);
    newerFirmware_ = flag(kNewerFirmwareKey, false);
    copyWhenFinished_ = flag(kCopyWhenFinishedKey, false);
}

Status HandheldSettings::write(const char* key, bool on) {
    return file_.write({{key, on ? "1" : "0"}});
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
