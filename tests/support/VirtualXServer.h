#pragma once
// A virtual X server of a test's own. The server chooses a free display
// itself and names it once it accepts clients (Xvfb's -displayfd), so servers
// started at the same moment by other tests, other build trees or other users
// never share a display, and nothing is guessed, locked or polled.

#include <chrono>
#include <string>

#include <sys/types.h>

namespace pelorine::testing {

class VirtualXServer {
public:
    // Starts Xvfb with one screen of `screen` ("WIDTHxHEIGHTxDEPTH") and waits
    // until it is ready, at most `timeout`. The server is told to end when the
    // thread that started it ends, so a test killed by force leaves none behind.
    explicit VirtualXServer(const std::string& screen = "1024x768x24",
                            std::chrono::milliseconds timeout = std::chrono::seconds(30));
    // Ends the server this object started (only that process) and waits for it.
    ~VirtualXServer();
    VirtualXServer(const VirtualXServer&) = delete;
    VirtualXServer& operator=(const VirtualXServer&) = delete;

    bool ready() const { return !display_.empty(); }
    // ":N", the value for DISPLAY; empty when the server did not start.
    const std::string& display() const { return display_; }
    // Why it is not ready, with what the server wrote.
    const std::string& failure() const { return failure_; }

private:
    std::string readDisplay(int fd, std::chrono::milliseconds timeout);

    pid_t pid_ = -1;
    std::string log_;
    std::string display_;
    std::string failure_;
};

}  // namespace pelorine::testing
