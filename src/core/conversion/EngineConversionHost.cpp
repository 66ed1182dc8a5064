#include "conversion/EngineConversionHost.h"

namespace pelorine {

EngineConversionHost::EngineConversionHost(Engine& engine, EngineLink& link,
                                           const std::atomic<int>& activityFlag)
    : engine_(engine), link_(link), activityFlag_(activityFlag) {}

Status EngineConversionHost::prepare(EngineInvocation& invocation) {
    invocation.enginePath = engine_.path();
    if (Status ready = engine_.channelFolder(invocation.channelFolder); !ready) {
        return ready;
    }
    if (link_.channelFolder() != invocation.channelFolder) {
        link_.setChannelFolder(invocation.channelFolder);
    }
    return Status::ok();
}

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
