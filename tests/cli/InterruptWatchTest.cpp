// The interrupt of a command-line program arrives on the watch's own thread,
// counted, and never ends the program.

#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/Console.h"

namespace pelorine::platform {
namespace {

bool waitFor(const std::atomic<int>& value, int wanted) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (value.load() != wanted && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return value.load() == wanted;
}

TEST(InterruptWatch, EachSignalIsCountedOnTheWatchThread) {
    std::atomic<int> last{0};
    std::atomic<bool> otherThread{false};
    const auto main = std::this_thread::get_id();
    {
        InterruptWatch watch([&](int count) {
            otherThread = std::this_thread::get_id() != main;
            last = count;
        });
        ::kill(::getpid(), SIGINT);
        ASSERT_TRUE(waitFor(last, 1));
        ::kill(::getpid(), SIGTERM);
        ASSERT_TRUE(waitFor(last, 2));
        ::kill(::getpid(), SIGHUP);
        ASSERT_TRUE(waitFor(last, 3));
    }
    EXPECT_TRUE(otherThread);
    // After the watch, writing to a closed pipe fails instead of ending the program.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    EXPECT_EQ(::write(ends[1], "x", 1), -1);
    ::close(ends[1]);
}

}  // namespace
}  // namespace pelorine::platform
