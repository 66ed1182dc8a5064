#include "keeping/KeepThread.h"

namespace pelorine {

KeepThread::KeepThread(ToWindow toWindow)
    : toWindow_(std::move(toWindow)), thread_([this] { run(); }) {}

KeepThread::~KeepThread() {
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void KeepThread::post(std::function<Status()> work, std::function<void(Status)> done) {
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back({std::move(work), std::move(done)});
    }
    changed_.notify_all();
}

void KeepThread::drain() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return tasks_.empty() && !busy_; });
}

void KeepThread::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return ending_ || !tasks_.empty(); });
        if (tasks_.empty()) {
            return;  // ending, with nothing left to write
        }
        Task task = std::move(tasks_.front());
        tasks_.pop_front();
        busy_ = true;
        lock.unlock();
        const Status status = task.work();
        if (task.done) {
            toWindow_([done = std::move(task.done), status] { done(status); });
        }
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

}  // namespace pelorine
