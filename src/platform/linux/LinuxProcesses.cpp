#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "platform/CommandLine.h"
#include "platform/Processes.h"
#include "platform/linux/Errno.h"

extern char** environ;

namespace pelorine::platform {
namespace {

int waitForExit(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

struct SpawnActions {
    posix_spawn_file_actions_t actions{};
    SpawnActions() { posix_spawn_file_actions_init(&actions); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
};

class LinuxProcessLauncher final : public ProcessLauncher {
public:
    LaunchResult launch(const std::string& commandLine, const std::string& logPath,
                        bool wait) override {
        const std::vector<std::string> arguments = splitCommandLine(commandLine);
        if (arguments.empty() || arguments.front().empty()) {
            return {Status::error("There is no program to start."), -1};
        }
        std::vector<char*> argv;
        for (const auto& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);

        SpawnActions spawn;
        const std::string output = logPath.empty() ? "/dev/null" : logPath;
        posix_spawn_file_actions_addopen(&spawn.actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&spawn.actions, 1, output.c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0600);
        posix_spawn_file_actions_adddup2(&spawn.actions, 1, 2);
        // Nothing else of ours leaks into the engine.
        posix_spawn_file_actions_addclosefrom_np(&spawn.actions, 3);

        pid_t pid = 0;
        const int error =
            ::posix_spawnp(&pid, argv[0], &spawn.actions, nullptr, argv.data(), environ);
        if (error != 0) {
            errno = error;
            return {errnoStatus("Cannot start \"" + arguments.front() + "\""), -1};
        }
        if (wait) {
            return {Status::ok(), waitForExit(pid)};
        }
        std::thread([pid] { waitForExit(pid); }).detach();
        return {Status::ok(), -1};
    }
};

using DirPtr = std::unique_ptr<DIR, int (*)(DIR*)>;

bool isProcessEntry(const char* name) {
    if (*name == '\0') {
        return false;
    }
    for (const char* c = name; *c; ++c) {
        if (*c < '0' || *c > '9') {
            return false;
        }
    }
    return true;
}

class LinuxProcessList final : public ProcessList {
public:
    ProcessQuery isRunning(const std::string& path) const override {
        bool found = false;
        const bool readable = forEachMatch(path, [&](pid_t) {
            found = true;
            return false;
        });
        if (!readable) {
            return ProcessQuery::Unavailable;
        }
        return found ? ProcessQuery::Running : ProcessQuery::NotRunning;
    }

    int terminateAll(const std::string& path) override {
        int signalled = 0;
        forEachMatch(path, [&](pid_t pid) {
            if (::kill(pid, SIGKILL) == 0) {
                ++signalled;
            }
            return true;
        });
        return signalled;
    }

private:
    // Calls `visit` with each process of this user whose executable is `path`,
    // until it returns false. False when /proc cannot be read.
    static bool forEachMatch(const std::string& path, const std::function<bool(pid_t)>& visit) {
        DirPtr proc(::opendir("/proc"), ::closedir);
        if (!proc) {
            return false;
        }
        const int procFd = ::dirfd(proc.get());
        const uid_t self = ::getuid();
        // A program replaced on disk while it runs shows as "<path> (deleted)".
        const std::string deleted = path + " (deleted)";
        char target[4096];
        while (const dirent* entry = ::readdir(proc.get())) {
            if (!isProcessEntry(entry->d_name)) {
                continue;
            }
            char link[sizeof(entry->d_name) + 8];
            std::snprintf(link, sizeof link, "%s/exe", entry->d_name);
            const ssize_t length = ::readlinkat(procFd, link, target, sizeof target);
            if (length <= 0) {
                continue;
            }
            const std::string_view image(target, static_cast<std::size_t>(length));
            if (image != path && image != deleted) {
                continue;
            }
            // The owner is asked only of a match: one system call per process
            // keeps the check cheap when many run.
            struct stat info {};
            if (::fstatat(procFd, entry->d_name, &info, 0) != 0 || info.st_uid != self) {
                continue;
            }
            if (!visit(static_cast<pid_t>(std::strtol(entry->d_name, nullptr, 10)))) {
                break;
            }
        }
        return true;
    }
};

}  // namespace

ProcessLauncher& systemProcessLauncher() {
    static LinuxProcessLauncher launcher;
    return launcher;
}

ProcessList& systemProcessList() {
    static LinuxProcessList list;
    return list;
}

}  // namespace pelorine::platform
