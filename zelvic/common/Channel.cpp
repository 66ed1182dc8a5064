#include "common/Channel.h"

#include "platform/FileSystem.h"

namespace zelvic {

using pelorine::channel::Command;

Channel::Channel(std::string folder, pelorine::platform::FileSystem& files, StarterGone starterGone)
    : folder_(std::move(folder)), files_(files), starterGone_(std::move(starterGone)) {
    if (!folder_.empty() && folder_.back() != '/') {
        folder_ += '/';
    }
}

std::string Channel::path(std::string_view name) const {
    return folder_ + std::string(name);
}

std::string Channel::infoPath() const {
    return path(pelorine::channel::kInfoFileName);
}

Outcome Channel::writeInfo(const pelorine::MediaInfo& info) {
    const auto status = files_.replaceFile(infoPath(), info.bytes());
    if (!status) {
        return conversionFailed(status.message());
    }
    return success();
}

void Channel::removeInfo() {
    (void)files_.removeFile(infoPath(), 3);
}

Command Channel::readCommand() {
    if (abandoned_ || (starterGone_ && starterGone_())) {
        abandoned_ = true;
        lastCommand_ = Command::Quit;
        return lastCommand_;
    }
    const auto bytes = files_.readPrefix(path(pelorine::channel::kControlFileName),
                                         pelorine::channel::kControlRecordSize);
    if (!bytes) {
        lastCommand_ = Command::Run;
    } else {
        lastCommand_ = pelorine::channel::readCommand(bytes->data(), bytes->size(), Command::Run);
    }
    return lastCommand_;
}

void Channel::writeProgress(double seconds) {
    const auto record = pelorine::channel::makeProgressRecord(seconds);
    // A progress file that cannot be written costs the converter its bar, not
    // the conversion: carry on.
    (void)files_.replaceFile(path(pelorine::channel::kProgressFileName), record);
}

Command Channel::pollCommand(Clock::time_point now) {
    if (now >= nextControlRead_) {
        nextControlRead_ = now + kControlPeriod;
        return readCommand();
    }
    return lastCommand_;
}

void Channel::reportProgress(double seconds, Clock::time_point now) {
    if (now >= nextProgressWrite_) {
        nextProgressWrite_ = now + kProgressPeriod;
        writeProgress(seconds);
    }
}

}  // namespace zelvic
