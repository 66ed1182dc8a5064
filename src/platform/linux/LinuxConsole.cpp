#include <pthread.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "platform/Console.h"

namespace pelorine::platform {
namespace {

int descriptorOf(ConsoleStream stream) {
    switch (stream) {
        case ConsoleStream::Input:
            return STDIN_FILENO;
        case ConsoleStream::Output:
            return STDOUT_FILENO;
        case ConsoleStream::Error:
            break;
    }
    return STDERR_FILENO;
}

sigset_t watchedSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

}  // namespace

bool isTerminal(ConsoleStream stream) {
    return ::isatty(descriptorOf(stream)) == 1;
}

std::optional<int> terminalWidth(ConsoleStream stream) {
    winsize size{};
    if (!isTerminal(stream) || ::ioctl(descriptorOf(stream), TIOCGWINSZ, &size) != 0 ||
        size.ws_col == 0) {
        return std::nullopt;
    }
    return size.ws_col;
}

std::string absolutePath(const std::string& path) {
    if (path.empty() || path.front() == '/') {
        return path;
    }
    char* current = ::getcwd(nullptr, 0);
    if (!current) {
        return path;
    }
    std::string absolute = current;
    ::free(current);
    return absolute + (absolute.ends_with('/') ? "" : "/") + path;
}

struct InterruptWatch::State {
    std::function<void(int)> onSignal;
    std::atomic<bool> ending{false};
    std::thread thread;
};

InterruptWatch::InterruptWatch(std::function<void(int count)> onSignal)
    : state_(std::make_unique<State>()) {
    state_->onSignal = std::move(onSignal);
    const sigset_t set = watchedSignals();
    ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    State* state = state_.get();
    state_->thread = std::thread([state, set] {
        int count = 0;
        for (;;) {
            int signal = 0;
            if (::sigwait(&set, &signal) != 0 || state->ending.load()) {
                return;
            }
            state->onSignal(++count);
        }
    });
}

InterruptWatch::~InterruptWatch() {
    state_->ending.store(true);
    // Wakes the watching thread only; the signal is blocked everywhere else.
    ::pthread_kill(state_->thread.native_handle(), SIGTERM);
    state_->thread.join();
}

}  // namespace pelorine::platform
