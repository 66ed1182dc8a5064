#include "conversion/EngineConversionHost.h"

namespace pelorine {

EngineConversionHost::EngineConversionHost(Engine& engine, EngineLink& link,
                                           const std::atomic<int>& activityFlag)
    : engine_(engine), link_(link), activityFlag_(activityFlag) {}

platform::LaunchResult EngineConversionHost::runEngine(const std::string& commandLine,
                                                       const std::string&) {
    if (Status written = link_.writeRun(); !written) {
        return {written, -1};
    }
    return engine_.launch(commandLine, true, logPath_);
}

std::optional<double> EngineConversionHost::measureLength(const std::string& path) {
    const IdentifyOutcome outcome = engine_.identify(link_, path, false);
    if (outcome.result != IdentifyResult::Identified) {
        return std::nullopt;
    }
    return link_.mediaLength();
}

}  // namespace pelorine
