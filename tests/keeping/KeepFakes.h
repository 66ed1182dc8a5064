#pragma once
// The keeper's window side played by the tests: a timer that fires when told,
// writes done at once on the caller's thread, dialogs answered from a script.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "keeping/ListKeeper.h"

namespace pelorine::testing {

class ManualTimer final : public KeepTimer {
public:
    void start(std::chrono::milliseconds delay, std::function<void()> due) override {
        delays.push_back(delay);
        due_ = std::move(due);
    }
    void cancel() override { due_ = nullptr; }
    bool pending() const { return static_cast<bool>(due_); }
    // Fires the timer when it is running; whether it was.
    bool fire() {
        auto due = std::move(due_);
        due_ = nullptr;
        if (due) {
            due();
        }
        return static_cast<bool>(due);
    }
    std::vector<std::chrono::milliseconds> delays;

private:
    std::function<void()> due_;
};

class InlineWriter final : public KeepWriter {
public:
    void post(std::function<Status()> work, std::function<void(Status)> done) override {
        ++writes;
        const Status status = work();
        if (done) {
            done(status);
        }
    }
    void drain() override {}
    int writes = 0;
};

class ScriptedKeepDialogs final : public KeepDialogs {
public:
    bool askRestore(const std::string& question) override {
        questions.push_back(question);
        return restore;
    }
    void tell(const std::string& text) override { told.push_back(text); }
    bool restore = true;
    std::vector<std::string> questions;
    std::vector<std::string> told;
};

}  // namespace pelorine::testing
