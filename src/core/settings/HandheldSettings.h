#pragma once
// The settings of the way from the batch to the handheld, kept in their own
// section ("PSP") of the settings file beside the two general ones:
//   Thumbnails=1        every MP4 output gets its .THM picture
//   NewerFirmware=0     copies go to VIDEO/<title>.MP4 (firmware 2.80 and
//                       later) instead of the numbered MP_ROOT folders
//   CopyWhenFinished=0  every Job a batch has done is copied to the stick
// Each change is written at once. Read from any thread.

#include <atomic>
#include <string>

#include "base/Status.h"
#include "platform/FileSystem.h"
#include "settings/IniSection.h"

namespace pelorine {

class HandheldSettings {
public:
    static constexpr const char* kSection = "PSP";
    static constexpr const char* kThumbnailsKey = "Thumbnails";
    static constexpr const char* kNewerFirmwareKey = "NewerFirmware";
    static constexpr const char* kCopyWhenFinishedKey = "CopyWhenFinished";

    HandheldSettings(platform::FileSystem& files, std::string filePath);

    // Reads the section; missing keys keep the defaults (thumbnails on, the
    // other two off). Any text but "0" turns a setting on.
    void read();

    bool thumbnails() const { return thumbnails_.load(); }
    bool newerFirmware() const { return newerFirmware_.load(); }
    bool copyWhenFinished() const { return copyWhenFinished_.load(); }

    Status setThumbnails(bool on);
    Status setNewerFirmware(bool on);
    Status setCopyWhenFinished(bool on);

private:
    Status write(const char* key, bool on);

    IniSection file_;
    std::atomic<bool> thumbnails_{true};
    std::atomic<bool> newerFirmware_{false};
    std::atomic<bool> copyWhenFinished_{false};
};

}  // namespace pelorine
