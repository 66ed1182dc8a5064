#include "support/SyscallTrace.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace pelorine::testing {
namespace {

// The quoted text starting at `line[at]` (a '"'), escapes undone; `at` moves
// past its closing quote.
std::string quoted(const std::string& line, std::size_t& at) {
    std::string text;
    for (++at; at < line.size() && line[at] != '"'; ++at) {
        if (line[at] == '\\' && at + 1 < line.size()) {
            ++at;
        }
        text += line[at];
    }
    ++at;
    return text;
}

// A finished call's line, "[pid] name(args) = result": the paths among its
// arguments are quoted names and descriptors shown as "3</path>".
TracedCall parseCall(const std::string& call) {
    TracedCall traced;
    const std::size_t open = call.find('(');
    traced.name = call.substr(0, open);
    const std::size_t equals = call.rfind(") = ");
    if (open == std::string::npos || equals == std::string::npos) {
        return traced;
    }
    for (std::size_t at = open + 1; at < equals;) {
        if (call[at] == '"') {
            traced.paths.push_back(quoted(call, at));
        } else if (call[at] == '<' && at > 0 &&
                   std::isdigit(static_cast<unsigned char>(call[at - 1]))) {
            const std::size_t close = call.find('>', at);
            traced.paths.push_back(call.substr(at + 1, close - at - 1));
            at = close + 1;
        } else {
            ++at;
        }
    }
    traced.result = std::strtol(call.c_str() + equals + 4, nullptr, 10);
    return traced;
}

std::string folderOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

bool isSync(const TracedCall& call) {
    return call.name == "fsync" || call.name == "fdatasync";
}

}  // namespace

std::vector<std::string> tracedCommand(const std::string& logPath, const std::string& program,
                                       const std::vector<std::string>& args) {
    std::vector<std::string> command{
        "-f", "--seccomp-bpf", "-qq", "-y",
        "-s", "4096",          "-e",  "trace=fsync,fdatasync,rename,renameat,renameat2",
        "-o", logPath,         "--",  program};
    command.insert(command.end(), args.begin(), args.end());
    return command;
}

std::vector<TracedCall> readTrace(const std::string& logPath) {
    std::vector<TracedCall> calls;
    std::map<std::string, std::string> unfinished;  // by thread: the call's start
    std::ifstream in(logPath);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string thread;
        words >> thread;
        std::string rest = line.substr(std::min(line.size(), thread.size()));
        rest.erase(0, rest.find_first_not_of(' '));
        if (const std::size_t cut = rest.find(" <unfinished ...>"); cut != std::string::npos) {
            unfinished[thread] = rest.substr(0, cut);
            continue;
        }
        if (rest.rfind("<... ", 0) == 0) {
            const std::size_t resumed = rest.find("resumed>");
            if (resumed == std::string::npos) {
                continue;
            }
            rest = unfinished[thread] + rest.substr(resumed + 8);
        }
        if (rest.find('(') != std::string::npos) {
            calls.push_back(parseCall(rest));
        }
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
