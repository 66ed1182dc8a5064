#pragma once
// The conversion host of a real batch: each engine run in a session of its
// own, and the batch's stop request, which reaches the run that is going on.

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "conversion/JobConverter.h"
#include "engine/Engine.h"
#include "engine/EngineSession.h"

namespace pelorine {

// The stop request of a batch and the engine runs it has going (one per Job
// converting), shared between the batch's workers (which attach their runs)
// and the window's thread (which asks it to stop and follows its progress).
// Every member may be called from any thread.
class RunControl {
public:
    // How long a run is given to obey quit before it is ended by force.
    explicit RunControl(std::chrono::milliseconds patience = EngineSession::kQuitPatience)
        : patience_(patience) {}

    // The user's stop: remembered, and every run going on is asked to quit.
    void requestStop();
    bool stopRequested() const { return stopRequested_.load(); }
    std::chrono::milliseconds patience() const { return patience_; }

    // Whether an engine run of this batch is going on.
    bool engineRunning() const { return engineRunning_.load(); }
    // The position the run attached first reported last, -1 when there is none.
    double position();
    // The position the run of Job `row` reported last, -1 when it has none going.
    double position(std::size_t row);

    // The workers' side: Job `row`'s run going on from attach() until detach().
    void attach(EngineSession& session, std::size_t row = 0);
    void detach(const EngineSession& session);

private:
    struct Attached {
        EngineSession* session;
        std::size_t row;
    };
    const std::chrono::milliseconds patience_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> engineRunning_{false};
    std::mutex mutex_;
    std::vector<Attached> attached_;
};

class EngineConversionHost final : public ConversionHost {
public:
    // The runs are those of Job `row` of the batch.
    EngineConversionHost(Engine& engine, RunControl& control, std::size_t row = 0);

    // Where the engine's output of the following runs is appended.
    void setLogPath(std::string logPath) { logPath_ = std::move(logPath); }

    // The run in a session of its own; a stop request quits it, and one that
    // does not obey within the patience is ended by force.
    EngineRunResult runEngine(const CommandLineFor& commandLine,
                              const std::string& output) override;
    std::optional<double> measureLength(const std::string& path) override;
    bool stopRequested() const override { return control_.stopRequested(); }

private:
    // Waits for the session's engine to end, quitting it on a stop request.
    int waitForEnd(EngineSession& session);

    Engine& engine_;
    RunControl& control_;
    std::size_t row_;
    std::string logPath_;
};

}  // namespace pelorine
