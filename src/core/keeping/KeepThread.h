#pragma once
// The keeper's writes on a thread of their own, one after another; each
// result goes back to the window's thread through `toWindow`.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "keeping/ListKeeper.h"

namespace pelorine {

class KeepThread final : public KeepWriter {
public:
    // Runs `work` later on the window's thread (a queued call).
    using ToWindow = std::function<void(std::function<void()> work)>;

    explicit KeepThread(ToWindow toWindow);
    ~KeepThread() override;  // finishes what was posted
    KeepThread(const KeepThread&) = delete;
    KeepThread& operator=(const KeepThread&) = delete;

    void post(std::function<Status()> work, std::function<void(Status)> done) override;
    void drain() override;

private:
    struct Task {
        std::function<Status()> work;
        std::function<void(Status)> done;
    };
    void run();

    ToWindow toWindow_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Task> tasks_;
    bool busy_ = false;
    bool ending_ = false;
    std::thread thread_;  // last: starts once the rest is there
};

}  // namespace pelorine
