#include "conversion/EngineConversionHost.h"

namespace pelorine {
namespace {

constexpr auto kLookPeriod = std::chrono::milliseconds(50);

}  // namespace

void RunControl::requestStop() {
    std::lock_guard lock(mutex_);
    stopRequested_ = true;
    // Only asked: each run's own host quits it (see waitForEnd).
    for (const Attached& run : attached_) {
        run.session->requestStop();
    }
}

double RunControl::position() {
    std::lock_guard lock(mutex_);
    return attached_.empty() ? -1.0 : attached_.front().session->lastPosition();
}

double RunControl::position(std::size_t row) {
    std::lock_guard lock(mutex_);
    for (const Attached& run : attached_) {
        if (run.row == row) {
            return run.session->lastPosition();
        }
    }
    return -1.0;
}

void RunControl::attach(EngineSession& session, std::size_t row) {
    std::lock_guard lock(mutex_);
    attached_.push_back({&session, row});
    engineRunning_ = true;
}

void RunControl::detach(const EngineSession& session) {
    std::lock_guard lock(mutex_);
    std::erase_if(attached_, [&](const Attached& run) { return run.session == &session; });
    engineRunning_ = !attached_.empty();
}

EngineConversionHost::EngineConversionHost(Engine& engine, RunControl& control, std::size_t row)
    : engine_(engine), control_(control), row_(row) {}

EngineRunResult EngineConversionHost::runEngine(const CommandLineFor& commandLine,
                                                const std::string&) {
    EngineSession session(engine_, EnginePurpose::Convert);
    if (Status ready = session.open(); !ready) {
        return {ready, -1, -1.0};
    }
    if (Status started = session.start(commandLine(session.channelFolder()), logPath_); !started) {
        return {started, -1, -1.0};
    }
    control_.attach(session, row_);
    const int status = waitForEnd(session);
    control_.detach(session);
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
