#pragma once
// The scripted window's thread, as the real window's event loop behaves: the
// thread that made it is the window's; work handed over from another thread
// waits until the window's thread takes it, in one of its waits (the window
// logic's keepAlive, or a test's waitUntil), and the other thread waits for
// it to be done. Once closed, later work is dropped, as a closing window does.

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace pelorine::testing {

class WindowThread {
public:
    WindowThread();
    ~WindowThread();
    WindowThread(const WindowThread&) = delete;
    WindowThread& operator=(const WindowThread&) = delete;

    // On the window's thread at once; from another thread, when the window's
    // thread takes it (or never, once closed).
    void run(const std::function<void()>& work);
    // The window's thread: does the work that waits.
    void pump();
    // Drops the work that waits and all that follows.
    void close();

    // The window thread of the calling thread, if it made one.
    static WindowThread* ofThisThread();

private:
    static WindowThread*& madeOnThisThread() {
        thread_local WindowThread* made = nullptr;
        return made;
    }

    struct Task {
        const std::function<void()>* work;
        bool done = false;
    };

    const std::thread::id home_ = std::this_thread::get_id();
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Task*> waiting_;
    Task* running_ = nullptr;  // taken by the window's thread, being done
    bool closed_ = false;
};

inline WindowThread::WindowThread() {
    if (madeOnThisThread() == nullptr) {
        madeOnThisThread() = this;
    }
}

inline WindowThread::~WindowThread() {
    close();
    if (madeOnThisThread() == this) {
        madeOnThisThread() = nullptr;
    }
}

inline WindowThread* WindowThread::ofThisThread() {
    return madeOnThisThread();
}

inline void WindowThread::run(const std::function<void()>& work) {
    if (std::this_thread::get_id() == home_) {
        work();
        return;
    }
    Task task{&work};
    std::unique_lock lock(mutex_);
    if (closed_) {
        return;
    }
    waiting_.push_back(&task);
    changed_.wait(lock, [&] { return task.done || (closed_ && running_ != &task); });
    // Closed before the window's thread took it: never done.
    waiting_.erase(std::remove(waiting_.begin(), waiting_.end(), &task), waiting_.end());
}

inline void WindowThread::pump() {
    if (std::this_thread::get_id() != home_) {
        return;
    }
    std::unique_lock lock(mutex_);
    while (!waiting_.empty() && !closed_) {
        Task* task = waiting_.front();
        waiting_.pop_front();
        running_ = task;
        lock.unlock();
        (*task->work)();
        lock.lock();
        running_ = nullptr;
        task->done = true;
        changed_.notify_all();
    }
}

inline void WindowThread::close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    changed_.notify_all();
}

}  // namespace pelorine::testing
