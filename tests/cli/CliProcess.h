#pragma once
// pelorine-cli as a real process in the tests: its own home and private
// folders, its output captured, its own process group so that an interrupt
// reaches it (and its engine) as a terminal's Ctrl+C does.

#include <sys/types.h>

#include <string>
#include <vector>

namespace pelorine::testing {

struct Finished {
    int status = -1;  // the exit status; 128 + the signal when one ended it
    std::string out;
    std::string err;
};

class CliProcess {
public:
    // Starts `program` with `arguments`. HOME, XDG_CONFIG_HOME and
    // XDG_RUNTIME_DIR point into `home` (ending in a separator); `environment`
    // adds "NAME=value" entries.
    CliProcess(const std::string& program, const std::vector<std::string>& arguments,
               const std::string& home, const std::vector<std::string>& environment = {});
    ~CliProcess();
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    // SIGINT to the whole process group.
    void interrupt() const;
    // What it has written to standard output and error so far.
    std::string outSoFar() const;
    std::string errSoFar() const;
    // Waits for the end (ending it by force after two minutes).
    Finished wait();

private:
    std::string outPath_, errPath_;
    pid_t pid_ = -1;
};

// Runs pelorine-cli to its end.
Finished runCli(const std::string& program, const std::vector<std::string>& arguments,
                const std::string& home, const std::vector<std::string>& environment = {});

}  // namespace pelorine::testing
