#pragma once
// What a process asked of the system, as the preloaded sync recorder
// (sync_recorder.cpp) writes it down: tests that a file reaches the disk
// before it gets its final name look at the order of the calls, as a power
// cut would see them.

#include <string>
#include <vector>

namespace pelorine::testing {

// One finished call: its name, the paths it was given (quoted names and the
// files behind its descriptors, in order) and its result.
struct TracedCall {
    std::string name;
    std::vector<std::string> paths;
    long result = -1;
};

// The program that runs a traced command: its arguments are tracedCommand's.
std::string tracerProgram();

// The arguments of tracerProgram() that run `program` with `args`, recording
// the syncs and renames of every thread and child into `logPath`, descriptors
// shown as their files.
std::vector<std::string> tracedCommand(const std::string& logPath, const std::string& program,
                                       const std::vector<std::string>& args);

// The calls recorded in `logPath`, in the order they ended.
std::vector<TracedCall> readTrace(const std::string& logPath);

// Empty when the calls show `from` renamed to `to` durably: the data of
// `from` synced before the rename, and the folder of `to` synced after it.
// Otherwise what is missing, with the calls seen. An empty `from` stands for
// whatever file was renamed to `to` (a temporary one).
std::string durableRenameProblem(const std::vector<TracedCall>& calls, const std::string& from,
                                 const std::string& to);

}  // namespace pelorine::testing
