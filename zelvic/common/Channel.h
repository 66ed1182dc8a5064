#pragma once
// The engine's side of the channel folder: it reads the control file and
// writes the progress and info files. Every write replaces the file whole.

#include <chrono>
#include <functional>
#include <string>

#include "common/Errors.h"
#include "records/ChannelFiles.h"
#include "records/MediaInfo.h"

namespace pelorine::platform {
class FileSystem;
}

namespace zelvic {

class Channel {
public:
    using Clock = std::chrono::steady_clock;

    // Whether the program that started this run has gone (a crash or a kill
    // ended it without a word to us): then nobody reads what the run writes.
    using StarterGone = std::function<bool()>;

    // `folder` is the -currentfolder text; an empty folder means the files
    // are in the current directory.
    Channel(std::string folder, pelorine::platform::FileSystem& files,
            StarterGone starterGone = nullptr);

    std::string infoPath() const;
    Outcome writeInfo(const pelorine::MediaInfo& info);
    void removeInfo();

    // The command in the control file, read afresh. A missing or short file
    // reads as run: nobody asked us to stop. Once the starter is gone it is
    // quit, and abandoned() says why: a restarted program converts the Job
    // again, and two runs must never write one output.
    pelorine::channel::Command readCommand();
    bool abandoned() const { return abandoned_; }

    // Writes the position now.
    void writeProgress(double seconds);

    // Calls that the encoding loop makes on every packet; they touch the files
    // only when their period has passed.
    pelorine::channel::Command pollCommand(Clock::time_point now);
    void reportProgress(double seconds, Clock::time_point now);

    static constexpr std::chrono::milliseconds kControlPeriod{50};
    static constexpr std::chrono::milliseconds kProgressPeriod{200};

private:
    std::string path(std::string_view name) const;

    std::string folder_;
    pelorine::platform::FileSystem& files_;
    StarterGone starterGone_;
    bool abandoned_ = false;
    pelorine::channel::Command lastCommand_ = pelorine::channel::Command::Run;
    Clock::time_point nextControlRead_{};
    Clock::time_point nextProgressWrite_{};
};

}  // namespace zelvic
