#include "support/VirtualXServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace pelorine::testing {
namespace {

using Clock = std::chrono::steady_clock;

std::string contentOf(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Waits for the process to end, at most `timeout`; true when it has.
bool reaped(pid_t pid, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (true) {
        const pid_t got = ::waitpid(pid, nullptr, WNOHANG);
        if (got == pid || (got < 0 && errno == ECHILD)) {
            return true;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

}  // namespace

VirtualXServer::VirtualXServer(const std::string& screen, std::chrono::milliseconds timeout) {
    char logName[] = "/tmp/pelorine-xvfb-XXXXXX";
    // Close-on-exec, so that no other program this process starts holds them.
    const int logFd = ::mkostemp(logName, O_CLOEXEC);
    if (logFd < 0) {
        failure_ = "cannot make the server's log";
        return;
    }
    log_ = logName;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        ::close(logFd);
        failure_ = "cannot make the server's pipe";
        return;
    }
    const std::string fdText = std::to_string(ends[1]);
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ == 0) {
        // Only async-signal-safe calls between fork and exec.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) {
            ::_exit(127);
        }
        ::dup2(logFd, STDOUT_FILENO);
        ::dup2(logFd, STDERR_FILENO);
        ::fcntl(ends[1], F_SETFD, 0);  // the one descriptor Xvfb inherits
        ::execlp("Xvfb", "Xvfb", "-displayfd", fdText.c_str(), "-screen", "0", screen.c_str(),
                 "-nolisten", "tcp", static_cast<char*>(nullptr));
        constexpr char kMissing[] = "cannot run Xvfb (is it installed?)\n";
        [[maybe_unused]] const ssize_t said = ::write(STDERR_FILENO, kMissing, sizeof kMissing - 1);
        ::_exit(127);
    }
    ::close(ends[1]);
    ::close(logFd);
    if (pid_ < 0) {
        failure_ = "cannot start Xvfb";
    } else {
        display_ = readDisplay(ends[0], timeout);
    }
    ::close(ends[0]);
    if (display_.empty()) {
        failure_ += "; the server wrote: " + contentOf(log_);
    }
}

// The display number Xvfb writes, and a newline, once it accepts clients.
std::string VirtualXServer::readDisplay(int fd, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    std::string number;
    while (true) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd wanted{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&wanted, 1, static_cast<int>(left.count())) == 0) {
            failure_ = "Xvfb named no display within " + std::to_string(timeout.count()) + " ms";
            return {};
        }
        char c = 0;
        const ssize_t got = ::read(fd, &c, 1);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            failure_ = "Xvfb ended before it named a display";
            return {};
        }
        if (c == '\n') {
            return number.empty() ? std::string() : ":" + number;
        }
        number += c;
    }
}

VirtualXServer::~VirtualXServer() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        if (!reaped(pid_, std::chrono::seconds(5))) {
            ::kill(pid_, SIGKILL);
            reaped(pid_, std::chrono::seconds(5));
        }
    }
    if (!log_.empty()) {
        ::unlink(log_.c_str());
    }
}

}  // namespace pelorine::testing
