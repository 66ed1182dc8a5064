#pragma once
// The converter's end of the channel files: it writes the control file (run,
// pause, quit), reads the engine's position from the progress file and reads
// the media information record the engine writes when it identifies a source.
// Every read and write opens, transfers the whole record and closes at once.

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "base/Status.h"
#include "platform/FileSystem.h"
#include "records/ChannelFiles.h"
#include "records/MediaInfo.h"

namespace pelorine {

class EngineLink {
public:
    // A control file that cannot be written is tried this often, with a short
    // pause between attempts, before the write is reported as failed.
    static constexpr int kControlWriteAttempts = 50;
    static constexpr int kControlRetryMilliseconds = 10;

    // Paths are empty and the progress value 0.0 until setChannelFolder().
    explicit EngineLink(platform::FileSystem& files);

    // Points the link at `folder` (ending in a separator): sets the three
    // paths, resets the control record to "run" with its fixed values, sets
    // the media length to 0.0 and the reserved double to 1.0. Opens no file.
    void setChannelFolder(const std::string& folder);

    // Writes the control file with command run / pause / quit. Safe to call
    // from any thread. An error when the file could not be written at all.
    Status writeRun() { return writeCommand(channel::Command::Run); }
    Status writePause() { return writeCommand(channel::Command::Pause); }
    Status writeQuit() { return writeCommand(channel::Command::Quit); }

    // The engine's position in seconds, or -1.0 when there is no progress
    // file. A file shorter than 8 bytes leaves the missing bytes of the last
    // value as they were.
    double readProgress();
    double progress() const { return progress_.load(); }

    // Reads the info file into the media information. True when the file
    // could be opened; a shorter file leaves the rest of the record unchanged.
    bool readInfo();

    double mediaLength() const { return info_->mediaLength(); }
    const MediaInfo& mediaInfo() const { return *info_; }

    const std::string& channelFolder() const { return channelFolder_; }
    const std::string& infoPath() const { return infoPath_; }
    const std::string& controlPath() const { return controlPath_; }
    const std::string& progressPath() const { return progressPath_; }

private:
    Status writeCommand(channel::Command command);

    platform::FileSystem& files_;
    std::atomic<double> progress_{0.0};
    std::mutex controlMutex_;
    channel::ControlRecord control_{};
    std::unique_ptr<MediaInfo> info_ = std::make_unique<MediaInfo>();
    std::string infoPath_;
    std::string controlPath_;
    std::string progressPath_;
    std::string channelFolder_;
};

}  // namespace pelorine
