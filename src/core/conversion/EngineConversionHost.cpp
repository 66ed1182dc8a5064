#include "conversion/EngineConversionHost.h"

namespace pelorine {
namespace {

constexpr auto kLookPeriod = std::chrono::milliseconds(50);

}  // namespace

void RunControl::requestStop() {
    std::lock_guard lock(mutex_);
    stopRequested_ = true;
    if (current_) {
        current_->requestStop();
    }
}

double RunControl::position() {
    std::lock_guard lock(mutex_);
    return current_ ? current_->lastPosition() : -1.0;
}

void RunControl::attach(EngineSession& session) {
    std::lock_guard lock(mutex_);
    current_ = &session;
    engineRunning_ = true;
}

void RunControl::detach() {
    std::lock_guard lock(mutex_);
    current_ = nullptr;
    engineRunning_ = false;
}

EngineConversionHost::EngineConversionHost(Engine& engine, RunControl& control)
    : engine_(engine), control_(control) {}

EngineRunResult EngineConversionHost::runEngine(const CommandLineFor& commandLine,
                                                const std::string&) {
    EngineSession session(engine_, EnginePurpose::Convert);
    if (Status ready = session.open(); !ready) {
        return {ready, -1, -1.0};
    }
    if (Status started = session.start(commandLine(session.channelFolder()), logPath_); !started) {
        return {started, -1, -1.0};
    }
    control_.attach(session);
    const int status = waitForEnd(session);
    control_.detach();
    return {Status::ok(), status, session.lastPosition()};
}

int EngineConversionHost::waitForEnd(EngineSession& session) {
    std::optional<std::chrono::steady_clock::time_point> stopSeen;
    while (true) {
        if (const auto status = session.waitForEnd(kLookPeriod)) {
            return *status;
        }
        if (!control_.stopRequested()) {
            continue;
        }
        // Also a stop that came before this run was attached.
        const auto now = std::chrono::steady_clock::now();
        if (!stopSeen) {
            stopSeen = now;
        }
        session.quit();
        if (now - *stopSeen > control_.patience()) {
            session.forceEnd();
        }
    }
}

std::optional<double> EngineConversionHost::measureLength(const std::string& path) {
    const IdentifyOutcome outcome = engine_.identify(path, false);
    if (outcome.result != IdentifyResult::Identified) {
        return std::nullopt;
    }
    return outcome.info->mediaLength();
}

}  // namespace pelorine
