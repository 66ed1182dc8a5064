#pragma once
// The conversion host of a real batch: engine processes steered through the
// channel files, and the activity flag as the stop request.

#include <atomic>
#include <string>

#include "conversion/JobConverter.h"
#include "engine/Engine.h"
#include "engine/EngineLink.h"

namespace pelorine {

class EngineConversionHost final : public ConversionHost {
public:
    // `activityFlag` is 0 while the batch runs; 1 means stop.
    EngineConversionHost(Engine& engine, EngineLink& link, const std::atomic<int>& activityFlag);

    // What the command lines of a batch name: the engine and the channel
    // folder, created when missing. Points the link at that folder unless it
    // is there already.
    Status prepare(EngineInvocation& invocation);

    // Where the engine's output of the following runs is appended.
    void setLogPath(std::string logPath) { logPath_ = std::move(logPath); }

    platform::LaunchResult runEngine(const std::string& commandLine,
                                     const std::string& output) override;
    std::optional<double> measureLength(const std::string& path) override;
    bool stopRequested() const override { return activityFlag_.load() == 1; }

private:
    Engine& engine_;
    EngineLink& link_;
    const std::atomic<int>& activityFlag_;
    std::string logPath_;
};

}  // namespace pelorine
