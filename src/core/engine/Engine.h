#pragma once
// Starting the engine and telling whether it runs. The engine is found only
// through the process list: a process whose executable is exactly the engine
// path. One engine process runs at a time.

#include <string>

#include "engine/EngineLink.h"
#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "platform/Status.h"
#include "platform/SystemPaths.h"

namespace pelorine {

inline constexpr const char* kEngineBusyMessage = "Please stop converting or playing the movie!";
inline constexpr const char* kReinstallMessage = "Please install the software again!";
inline constexpr const char* kReinstallCaption = "Warning!";

enum class EngineState { NotRunning, Running, Unknown };

// What the main window is doing, derived on demand from the activity flag
// (0 while a batch runs) and whether the engine runs.
enum class ActivityState { Idle = 0, Converting = 1, Previewing = 2 };
ActivityState activityState(int activityFlag, bool engineRunning);

enum class IdentifyResult {
    Identified,     // the media information is in the link
    NotIdentified,  // the engine wrote no record, or one with no length
    EngineBusy,     // an engine runs already: nothing was started (kEngineBusyMessage)
    Failed,         // the channel folder could not be prepared (see `detail`)
};

struct IdentifyOutcome {
    IdentifyResult result = IdentifyResult::NotIdentified;
    Status detail = Status::ok();
    int exitStatus = -1;  // the engine's exit status, when it ran
};

class Engine {
public:
    Engine(platform::ProcessLauncher& launcher, platform::ProcessList& processes,
           const platform::SystemPaths& paths, platform::FileSystem& files);

    // The engine executable, canonical: the head of every command line.
    std::string path() const { return paths_.enginePath(); }
    // The channel folder, created when missing; empty with an error status.
    Status channelFolder(std::string& folder) const { return paths_.ensureChannelFolder(folder); }

    // Starts one engine process with `commandLine`. With `wait`, returns when
    // it has ended. Its output goes to `logPath` (nowhere when empty).
    platform::LaunchResult launch(const std::string& commandLine, bool wait,
                                  const std::string& logPath = {});

    // The running check: cheap enough to call every few tens of milliseconds.
    EngineState state() const;
    bool isRunning() const { return state() == EngineState::Running; }

    // Forcibly ends every engine process of this user; used only when one
    // does not obey quit.
    int terminateAll();

    // The identify command line: the engine path, the media text (in quotes,
    // or as it is when `raw`), then the identify options and the channel folder.
    static std::string identifyCommandLine(const std::string& enginePath,
                                           const std::string& mediaText, bool raw,
                                           const std::string& channelFolder);

    // Identifies a source on `link`: points the link at the channel folder,
    // deletes the old info file, writes quit, runs the engine in identify mode
    // and waits for it, then reads the record. `mediaText` is a file path
    // (`raw` false) or an engine option text for a disc (`raw` true).
    IdentifyOutcome identify(EngineLink& link, const std::string& mediaText, bool raw);

private:
    platform::ProcessLauncher& launcher_;
    platform::ProcessList& processes_;
    const platform::SystemPaths& paths_;
    platform::FileSystem& files_;
};

// The channel-folder piece that ends every engine command line.
std::string channelFolderPiece(const std::string& channelFolder);

}  // namespace pelorine
