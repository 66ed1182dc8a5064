#pragma once
// One engine run and everything that belongs to it: why it runs, its own
// channel folder inside the private folder, the link to that folder, its
// command line and log, its process, and whether the user asked it to stop.
// The code that owns a session is the only code that starts, pauses, quits or
// ends its engine, and a forced end only ever hits the process this session
// started.
//
// Threads: the owner starts and waits on its own thread. pause(), resume(),
// quit(), requestStop(), stopRequested(), running() and forceEnd() may be
// called from any thread once start() has returned.

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "engine/Engine.h"
#include "engine/EngineLink.h"
#include "platform/Processes.h"

namespace pelorine {

enum class EnginePurpose { Identify, Convert, Preview };

// The program whose run a channel folder name "run-<pid>-<n>" belongs to;
// nothing for any other name.
std::optional<platform::ProcessId> runFolderOwner(const std::string& name);

class EngineSession {
public:
    // How long quit is given before an engine is ended by force.
    static constexpr std::chrono::milliseconds kQuitPatience{5000};

    EngineSession(Engine& engine, EnginePurpose purpose);
    // Removes the run's channel folder, unless its engine still runs (an
    // engine left running when the window closes finishes on its own).
    ~EngineSession();
    EngineSession(const EngineSession&) = delete;
    EngineSession& operator=(const EngineSession&) = delete;

    EnginePurpose purpose() const { return purpose_; }

    // Creates the run's channel folder, "run-<program pid>-<n>/" inside the
    // private folder, and points the link at it.
    Status open();
    const std::string& channelFolder() const { return link_.channelFolder(); }
    EngineLink& link() { return link_; }

    // Writes the first command into the control file (quit for an identify
    // run, which ends by itself; run otherwise) and starts the engine with
    // `commandLine`, whose channel folder must be channelFolder(). Its output
    // is appended to `logPath`. Returns at once. Once per session.
    Status start(const std::string& commandLine, const std::string& logPath);
    const std::string& commandLine() const { return commandLine_; }
    const std::string& logPath() const { return logPath_; }

    // Whether its engine was started and has not ended yet.
    bool running();
    // The id of its engine's process, once started.
    std::optional<platform::ProcessId> pid();
    // The engine's exit status once it has ended; nothing while it still runs
    // after `timeout`, or when it never started.
    std::optional<int> waitForEnd(std::chrono::milliseconds timeout);
    // Waits as long as it takes; -1 when it never started.
    int waitForEnd();

    Status pause() { return link_.writePause(); }
    Status resume() { return link_.writeRun(); }
    Status quit() { return link_.writeQuit(); }

    // The user's stop: remembered, and quit written.
    void requestStop();
    bool stopRequested() const { return stopRequested_.load(); }

    // Ends its own engine by force. False when it had ended (or never started).
    bool forceEnd();

    // Quit, then the wait for the end with `keepAlive` called between looks;
    // after `patience` the engine is ended by force. The exit status; -1 when
    // it never started.
    int end(std::chrono::milliseconds patience = kQuitPatience,
            const std::function<void()>& keepAlive = {});

    // The position the engine reported last, in seconds; -1 when it reported
    // none. Read after the end, it is the engine's final record.
    double lastPosition() { return link_.readProgress(); }

private:
    platform::ChildProcess* process();

    Engine& engine_;
    const EnginePurpose purpose_;
    EngineLink link_;
    std::string commandLine_;
    std::string logPath_;
    std::mutex mutex_;
    std::unique_ptr<platform::ChildProcess> process_;
    std::atomic<bool> stopRequested_{false};
};

}  // namespace pelorine
