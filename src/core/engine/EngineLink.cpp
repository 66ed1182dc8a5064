#include "engine/EngineLink.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "base/LittleEndian.h"

namespace pelorine {

EngineLink::EngineLink(platform::FileSystem& files) : files_(files) {}

void EngineLink::setChannelFolder(const std::string& folder) {
    // The paths stay untouched when the folder does not change: the window's
    // thread reads the progress file while a batch's identify runs set the
    // folder again.
    if (folder != channelFolder_ || infoPath_.empty()) {
        channelFolder_ = folder;
        infoPath_ = folder + std::string(channel::kInfoFileName);
        controlPath_ = folder + std::string(channel::kControlFileName);
        progressPath_ = folder + std::string(channel::kProgressFileName);
    }
    {
        std::lock_guard lock(controlMutex_);
        control_ = channel::makeControlRecord(channel::Command::Run);
    }
    info_->setMediaLength(0.0);
    info_->setReservedDouble(1.0);
}

Status EngineLink::writeCommand(channel::Command command) {
    std::lock_guard lock(controlMutex_);
    le::store<std::int32_t>(control_, channel::control::kCommand,
                            static_cast<std::int32_t>(command));
    if (controlPath_.empty()) {
        return Status::error("The engine's channel folder is not set.");
    }
    Status written = Status::ok();
    for (int attempt = 0; attempt < kControlWriteAttempts; ++attempt) {
        written = files_.replaceFile(controlPath_, control_);
        if (written) {
            return written;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kControlRetryMilliseconds));
    }
    return Status::error("The engine cannot be steered: the folder \"" + channelFolder_ +
                         "\" cannot be written. " + written.message());
}

double EngineLink::readProgress() {
    const auto bytes = files_.readPrefix(progressPath_, channel::kProgressRecordSize);
    if (!bytes) {
        progress_ = -1.0;
        return -1.0;
    }
    // The bytes not in the file keep those of the value before, -1.0.
    std::array<std::uint8_t, channel::kProgressRecordSize> raw{};
    le::store<double>(raw, 0, -1.0);
    std::copy(bytes->begin(), bytes->end(), raw.begin());
    progress_ = le::load<double>(raw, 0);
    return progress_;
}

bool EngineLink::readInfo() {
    if (infoPath_.empty()) {
        return false;
    }
    const auto bytes = files_.readPrefix(infoPath_, MediaInfo::kSize);
    if (!bytes) {
        return false;
    }
    std::copy(bytes->begin(), bytes->end(), info_->bytes().begin());
    return true;
}

}  // namespace pelorine
