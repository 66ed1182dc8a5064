#include "support/SyncRecord.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace pelorine::testing {
namespace {

std::string folderOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

bool isSync(const TracedCall& call) {
    return call.name == "fsync" || call.name == "fdatasync";
}

}  // namespace

std::string tracerProgram() {
    return "/usr/bin/env";
}

std::vector<std::string> tracedCommand(const std::string& logPath, const std::string& program,
                                       const std::vector<std::string>& args) {
    // An AddressSanitizer build wants its runtime first; the recorder comes
    // before it here and does nothing it would need to watch.
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    std::vector<std::string> command{
        "PELORINE_SYNC_LOG=" + logPath, std::string("LD_PRELOAD=") + SYNC_RECORDER,
        "ASAN_OPTIONS=" + std::string(sanitizer != nullptr ? sanitizer : "") +
            ":verify_asan_link_order=0",
        program};
    command.insert(command.end(), args.begin(), args.end());
    return command;
}

std::vector<TracedCall> readTrace(const std::string& logPath) {
    std::vector<TracedCall> calls;
    std::ifstream in(logPath);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        for (std::string field; std::getline(parts, field, '\t');) {
            fields.push_back(field);
        }
        if (fields.size() < 3) {
            continue;
        }
        TracedCall call{fields[0],
                        {fields.begin() + 2, fields.end()},
                        std::strtol(fields[1].c_str(), nullptr, 10)};
        calls.push_back(std::move(call));
    }
    return calls;
}

std::string durableRenameProblem(const std::vector<TracedCall>& calls, const std::string& from,
                                 const std::string& to) {
    std::size_t rename = calls.size();
    std::string renamed = from;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const auto& paths = calls[i].paths;
        if (calls[i].name.rfind("rename", 0) == 0 && calls[i].result == 0 && paths.size() >= 2 &&
            (from.empty() || paths[paths.size() - 2] == from) && paths.back() == to) {
            rename = i;
            renamed = paths[paths.size() - 2];
        }
    }
    bool syncedBefore = false;
    bool folderAfter = false;
    for (std::size_t i = 0; i < calls.size() && rename < calls.size(); ++i) {
        const bool synced = isSync(calls[i]) && calls[i].result == 0 && !calls[i].paths.empty();
        syncedBefore = syncedBefore || (synced && i < rename && calls[i].paths[0] == renamed);
        folderAfter = folderAfter || (synced && i > rename && calls[i].paths[0] == folderOf(to));
    }
    if (rename < calls.size() && syncedBefore && folderAfter) {
        return "";
    }
    std::string seen = rename == calls.size() ? "no rename of " + from + " to " + to
                       : !syncedBefore        ? renamed + " not synced before its rename"
                                              : folderOf(to) + " not synced after the rename";
    seen += "; calls:";
    for (const TracedCall& call : calls) {
        seen += "\n  " + call.name + " = " + std::to_string(call.result);
        for (const std::string& path : call.paths) {
            seen += " " + path;
        }
    }
    return seen;
}

}  // namespace pelorine::testing
