#pragma once
// Starting programs and finding them among the running processes.

#include <optional>
#include <string>

#include "platform/Status.h"

namespace pelorine::platform {

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
    // splitCommandLine, no shell). Its standard input is empty;
    // its standard output and error are appended to `logPath`, or go nowhere when
    // `logPath` is empty. With `wait`, returns once the process has ended;
    // otherwise at once, and the process is reaped when it ends.
    virtual LaunchResult launch(const std::string& commandLine, const std::string& logPath,
                                bool wait) = 0;
};

enum class ProcessQuery { NotRunning, Running, Unavailable };

class ProcessList {
public:
    virtual ~ProcessList() = default;

    // Whether a process of this user runs the executable at exactly `path`.
    // Unavailable when the process list cannot be read at all.
    virtual ProcessQuery isRunning(const std::string& path) const = 0;

    // Ends, forcibly, every process of this user that runs `path`. Returns how
    // many were signalled.
    virtual int terminateAll(const std::string& path) = 0;
};

ProcessLauncher& systemProcessLauncher();
ProcessList& systemProcessList();

}  // namespace pelorine::platform
