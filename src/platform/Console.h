#pragma once
// The terminal a command-line program runs in: whether its output goes to
// one and how wide it is, and the user's interrupt (Ctrl+C) and hang-up.

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace pelorine::platform {

enum class ConsoleStream { Input, Output, Error };

// Whether the stream goes to a terminal (not a file, pipe or log).
bool isTerminal(ConsoleStream stream);
// The terminal's width in columns; nothing when it is not a terminal or does
// not say.
std::optional<int> terminalWidth(ConsoleStream stream);

// A path given on the command line, made absolute against the current folder
// (unchanged when it is absolute already or the current folder is unknown).
std::string absolutePath(const std::string& path);

// Turns the user's interrupt (Ctrl+C), a termination request and a hang-up
// (the ssh connection gone) into calls of `onSignal` on a thread of its own,
// with the number of such signals so far (1 for the first). Writing to a
// closed terminal or pipe then fails instead of ending the program.
//
// Create it first thing in main(), before any other thread or process is
// started: the signals are blocked for every thread, and processes started
// afterwards inherit that, so a Ctrl+C (which the terminal sends to every
// process in the foreground) never reaches an engine directly; only the
// program that started it decides how it stops.
class InterruptWatch {
public:
    explicit InterruptWatch(std::function<void(int count)> onSignal);
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace pelorine::platform
