#pragma once
// The engine program: where it is, the private folder its runs talk through,
// starting it, and whether any engine of this user runs at all. Each run is
// owned by an EngineSession; this class keeps no run of its own.

#include <memory>
#include <string>

#include "base/Status.h"
#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "platform/SystemPaths.h"
#include "records/MediaInfo.h"

namespace pelorine {

inline constexpr const char* kEngineBusyMessage = "Please stop converting or playing the movie!";
inline constexpr const char* kReinstallMessage = "Please install the software again!";
inline constexpr const char* kReinstallCaption = "Warning!";

enum class EngineState { NotRunning, Running, Unknown };

// What the main window is doing, as its engine sessions answer it.
enum class ActivityState { Idle = 0, Converting = 1, Previewing = 2 };
ActivityState activityState(bool converting, bool previewing);

enum class IdentifyResult {
    Identified,     // the media information is in the outcome
    NotIdentified,  // the engine wrote no record, or one with no length
    EngineBusy,     // an engine runs already: nothing was started (kEngineBusyMessage)
    Failed,         // the channel folder could not be prepared (see `detail`)
};

struct IdentifyOutcome {
    IdentifyResult result = IdentifyResult::NotIdentified;
    Status detail = Status::ok();
    int exitStatus = -1;                    // the engine's exit status, when it ran
    std::shared_ptr<const MediaInfo> info;  // the record, when identified
    // Not identified: why, in the engine's own words from its log; may be empty.
    std::string engineReason;
};

// The rest of the last line of an engine log that starts with `prefix`
// ("failed: "), or nothing.
std::string lastLogLine(const platform::FileSystem& files, const std::string& log,
                        std::string_view prefix);

class Engine {
public:
    Engine(platform::ProcessLauncher& launcher, platform::ProcessList& processes,
           const platform::SystemPaths& paths, platform::FileSystem& files);

    // The engine executable, canonical: the head of every command line.
    std::string path() const { return paths_.enginePath(); }
    // The private folder (ending in a separator) that holds the runs' own
    // channel folders and the batch logs; created when missing.
    Status privateFolder(std::string& folder) const { return paths_.ensureChannelFolder(folder); }
    platform::FileSystem& files() const { return files_; }
    // This program's own process id, which names its runs' channel folders.
    platform::ProcessId ownProcessId() const { return processes_.ownId(); }

    // Starts one engine process and returns at once; the caller owns it.
    platform::StartResult start(const std::string& commandLine, const std::string& logPath) {
        return launcher_.start(commandLine, logPath);
    }

    // Whether any engine of this user runs, whoever started it: the process
    // list, cheap enough to call every few tens of milliseconds.
    EngineState state() const;
    bool isRunning() const { return state() == EngineState::Running; }
    // Whether an engine runs that is not one of ours: ours (this program's,
    // another window's, a pelorine-cli's) each talk through a channel folder
    // of their own inside the private folder and disturb no other run. What
    // is left is an engine started by hand or by an older program, which
    // talks through the channel files every run shares.
    bool foreignEngineRunning() const;

    // Removes the channel folders of runs whose program has gone. Nothing is
    // removed while any engine of this user runs: it may be one of theirs.
    void sweepStaleRuns();

    // The identify command line: the engine path, the media text (in quotes,
    // or as it is when `raw`), then the identify options and the channel folder.
    static std::string identifyCommandLine(const std::string& enginePath,
                                           const std::string& mediaText, bool raw,
                                           const std::string& channelFolder);

    // Identifies a source in a run of its own and waits for it. `mediaText`
    // is a file path (`raw` false) or an engine option text for a disc (`raw`
    // true). Refused while a foreign engine runs (foreignEngineRunning).
    IdentifyOutcome identify(const std::string& mediaText, bool raw);

private:
    platform::ProcessLauncher& launcher_;
    platform::ProcessList& processes_;
    const platform::SystemPaths& paths_;
    platform::FileSystem& files_;
};

// The channel-folder piece that ends every engine command line.
std::string channelFolderPiece(const std::string& channelFolder);

}  // namespace pelorine
