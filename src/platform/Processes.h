#pragma once
// Starting programs, owning what was started, and finding programs among the
// running processes.

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "base/Status.h"

namespace pelorine::platform {

using ProcessId = int;

// One process this program started. Whoever holds it is the only one that
// waits for it or ends it, and it only ever acts on this one process: the
// process id is never reused for another while this object can still signal it.
// Every member may be called from any thread.
class ChildProcess {
public:
    // A process that is still running is left to run on; it is reaped in the
    // background when it ends.
    virtual ~ChildProcess() = default;

    virtual ProcessId pid() const = 0;

    // How the process ended: 0..255 its exit status, 128 + signal when a
    // signal ended it. Nothing when it still runs after `timeout`.
    virtual std::optional<int> waitFor(std::chrono::milliseconds timeout) = 0;
    // Waits as long as it takes.
    virtual int wait() = 0;
    // Whether it has ended (without waiting).
    bool hasEnded() { return waitFor(std::chrono::milliseconds(0)).has_value(); }

    // Ends this process by force. False when it had ended already.
    virtual bool forceEnd() = 0;
};

struct StartResult {
    Status started = Status::ok();  // an error when the program could not be started
    std::unique_ptr<ChildProcess> process;
};

struct LaunchResult {
    Status started = Status::ok();  // an error when the program could not be started
    // With waiting: how the process ended. 0..255 its exit status; -1 when it
    // was not waited for or did not start; 128 + signal when a signal ended it.
    int exitStatus = -1;
};

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;

    // Starts the program named by the first argument of `commandLine` (a path,
    // or a name looked up in PATH; the line is split by the rules of
    // splitCommandLine, no shell) and returns at once. Its standard input is
    // empty; its standard output and error are appended to `logPath`, or go
    // nowhere when `logPath` is empty.
    virtual StartResult start(const std::string& commandLine, const std::string& logPath) = 0;

    // start(), then with `wait` the wait for its end; without, the process
    // is left to run on its own.
    LaunchResult launch(const std::string& commandLine, const std::string& logPath, bool wait);
};

enum class ProcessQuery { NotRunning, Running, Unavailable };

// Processes a running check leaves out: those whose command line holds the
// argument `option` followed by a path inside `folder` (which ends in a
// separator; the folder itself is not inside).
struct InsideFolder {
    std::string option;
    std::string folder;
};

class ProcessList {
public:
    virtual ~ProcessList() = default;

    // Whether a process of this user runs the executable at exactly `path`.
    // Unavailable when the process list cannot be read at all.
    virtual ProcessQuery isRunning(const std::string& path) const = 0;
    // The same, not counting the processes that `leaveOut` names. Only the
    // command lines of processes running `path` are read.
    virtual ProcessQuery isRunningExcept(const std::string& path,
                                         const InsideFolder& leaveOut) const = 0;

    // Whether a process with this id exists at all (of any user).
    virtual bool exists(ProcessId pid) const = 0;

    // The id of this program's own process.
    virtual ProcessId ownId() const = 0;
    // The id of the process that started this one. Once that one has ended
    // it is another one's: the process this one was handed to.
    virtual ProcessId parentId() const = 0;
};

ProcessLauncher& systemProcessLauncher();
ProcessList& systemProcessList();

}  // namespace pelorine::platform
