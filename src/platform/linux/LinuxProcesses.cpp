#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
// The C library's header lacks the C++ linkage markers.
extern "C" {
#include <sys/pidfd.h>
}

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "base/CommandLine.h"
#include "platform/Processes.h"
#include "platform/linux/Errno.h"

extern char** environ;

namespace pelorine::platform {
namespace {

// How a reaped process ended: its exit status, or 128 + the signal that ended it.
int decodeStatus(int status) {
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

// A child of ours. It is reaped only under the mutex, and signalled only under
// the mutex while not yet reaped, so its id cannot have passed to another
// process when it is signalled. Waiting sleeps on a process file descriptor
// where the kernel offers one, otherwise it polls.
class LinuxChildProcess final : public ChildProcess {
public:
    explicit LinuxChildProcess(pid_t pid) : pid_(pid), pidfd_(::pidfd_open(pid, 0)) {}

    ~LinuxChildProcess() override {
        bool ended = false;
        {
            std::lock_guard lock(mutex_);
            ended = reapLocked();
        }
        if (!ended) {
            // Nobody can signal it any more: a plain blocking wait reaps it.
            std::thread([pid = pid_] {
                int status = 0;
                while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
                }
            }).detach();
        }
        if (pidfd_ >= 0) {
            ::close(pidfd_);
        }
    }

    ProcessId pid() const override { return pid_; }

    std::optional<int> waitFor(std::chrono::milliseconds timeout) override {
        return waitUntil(std::chrono::steady_clock::now() + timeout);
    }

    int wait() override { return *waitUntil(std::nullopt); }

    bool forceEnd() override {
        std::lock_guard lock(mutex_);
        if (reapLocked()) {
            return false;
        }
        return ::kill(pid_, SIGKILL) == 0;
    }

private:
    using Clock = std::chrono::steady_clock;

    std::optional<int> waitUntil(std::optional<Clock::time_point> deadline) {
        while (true) {
            {
                std::lock_guard lock(mutex_);
                if (reapLocked()) {
                    return status_;
                }
            }
            int pause = -1;  // milliseconds; -1 without a deadline
            if (deadline) {
                const auto left =
                    std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - Clock::now());
                if (left.count() <= 0) {
                    return std::nullopt;
                }
                pause = static_cast<int>(std::min<long long>(left.count(), 1000));
            }
            sleepUntilEnded(pause);
        }
    }

    // Sleeps until the process may have ended, at most `milliseconds` (-1: no limit).
    void sleepUntilEnded(int milliseconds) const {
        if (pidfd_ >= 0) {
            pollfd entry{pidfd_, POLLIN, 0};
            ::poll(&entry, 1, milliseconds);  // EINTR: looked at again by the caller
            return;
        }
        const int step = milliseconds < 0 ? 5 : std::min(milliseconds, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(step));
    }

    // Reaps the process when it has ended. True once it has.
    bool reapLocked() {
        if (ended_) {
            return true;
        }
        int status = 0;
        const pid_t reaped = ::waitpid(pid_, &status, WNOHANG);
        if (reaped == pid_) {
            ended_ = true;
            status_ = decodeStatus(status);
        } else if (reaped < 0 && errno == ECHILD) {
            ended_ = true;  // not ours to wait for any more: nothing left to signal
        }
        return ended_;
    }

    const pid_t pid_;
    const int pidfd_;
    std::mutex mutex_;
    bool ended_ = false;
    int status_ = -1;
};

class LinuxProcessLauncher final : public ProcessLauncher {
public:
    StartResult start(const std::string& commandLine, const std::string& logPath) override {
        const std::vector<std::string> arguments = splitCommandLine(commandLine);
        if (arguments.empty() || arguments.front().empty()) {
            return {Status::error("There is no program to start."), nullptr};
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
            return {errnoStatus("Cannot start \"" + arguments.front() + "\""), nullptr};
        }
        return {Status::ok(), std::make_unique<LinuxChildProcess>(pid)};
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

// The arguments of a process, as it was started; nothing when it has gone.
// A process in the middle of starting a program shows none for a moment
// (its new arguments are not in place yet): they are asked again then.
std::optional<std::vector<std::string>> argumentsOf(int procFd, const char* pid) {
    char name[sizeof(dirent::d_name) + 8];
    std::snprintf(name, sizeof name, "%s/cmdline", pid);
    std::string text;
    for (int attempt = 0; attempt < 20 && text.empty(); ++attempt) {
        if (attempt > 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        const int fd = ::openat(procFd, name, O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            return std::nullopt;
        }
        char chunk[4096];
        ssize_t got = 0;
        while ((got = ::read(fd, chunk, sizeof chunk)) > 0) {
            text.append(chunk, static_cast<std::size_t>(got));
        }
        ::close(fd);
    }
    std::vector<std::string> arguments;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\0', start), text.size());
        arguments.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return arguments;
}

bool carries(const std::vector<std::string>& arguments, const InsideFolder& mark) {
    for (std::size_t i = 1; i + 1 < arguments.size(); ++i) {
        const std::string& value = arguments[i + 1];
        if (arguments[i] == mark.option && value.size() > mark.folder.size() &&
            value.starts_with(mark.folder)) {
            return true;
        }
    }
    return false;
}

class LinuxProcessList final : public ProcessList {
public:
    ProcessQuery isRunning(const std::string& path) const override { return query(path, nullptr); }

    ProcessQuery isRunningExcept(const std::string& path,
                                 const InsideFolder& leaveOut) const override {
        return query(path, &leaveOut);
    }

    bool exists(ProcessId pid) const override {
        return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
    }

    ProcessId ownId() const override { return ::getpid(); }
    ProcessId parentId() const override { return ::getppid(); }

private:
    static ProcessQuery query(const std::string& path, const InsideFolder* leaveOut) {
        bool found = false;
        const bool readable = forEachMatch(path, [&](int procFd, const char* pid) {
            if (leaveOut) {
                const auto arguments = argumentsOf(procFd, pid);
                if (!arguments || carries(*arguments, *leaveOut)) {
                    return true;  // gone meanwhile, or one that is left out
                }
            }
            found = true;
            return false;
        });
        if (!readable) {
            return ProcessQuery::Unavailable;
        }
        return found ? ProcessQuery::Running : ProcessQuery::NotRunning;
    }

    // Calls `visit` with each process of this user whose executable is `path`
    // (the /proc folder and the process's entry in it), until it returns
    // false. False when /proc cannot be read.
    static bool forEachMatch(const std::string& path,
                             const std::function<bool(int, const char*)>& visit) {
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
            if (!visit(procFd, entry->d_name)) {
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
