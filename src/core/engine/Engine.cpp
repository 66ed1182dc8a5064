#include "engine/Engine.h"

#include <cstdlib>

#include "base/CommandLine.h"
#include "engine/EngineSession.h"

namespace pelorine {

ActivityState activityState(bool converting, bool previewing) {
    if (converting) {
        return ActivityState::Converting;
    }
    return previewing ? ActivityState::Previewing : ActivityState::Idle;
}

std::string channelFolderPiece(const std::string& channelFolder) {
    return " -currentfolder " + quoteArgument(channelFolder) + " ";
}

std::string lastLogLine(const platform::FileSystem& files, const std::string& log,
                        std::string_view prefix) {
    constexpr std::size_t kLogLimit = 1 << 16;
    const auto bytes = files.readPrefix(log, kLogLimit);
    if (!bytes) {
        return {};
    }
    // Only where a line starts.
    const std::string text = "\n" + std::string(bytes->begin(), bytes->end());
    const std::size_t at = text.rfind("\n" + std::string(prefix));
    if (at == std::string::npos) {
        return {};
    }
    const std::size_t start = at + 1 + prefix.size();
    return text.substr(start, text.find('\n', start) - start);
}

Engine::Engine(platform::ProcessLauncher& launcher, platform::ProcessList& processes,
               const platform::SystemPaths& paths, platform::FileSystem& files)
    : launcher_(launcher), processes_(processes), paths_(paths), files_(files) {}

EngineState Engine::state() const {
    switch (processes_.isRunning(path())) {
        case platform::ProcessQuery::Running:
            return EngineState::Running;
        case platform::ProcessQuery::NotRunning:
            return EngineState::NotRunning;
        case platform::ProcessQuery::Unavailable:
            break;
    }
    return EngineState::Unknown;
}

bool Engine::foreignEngineRunning() const {
    std::string folder;
    if (!privateFolder(folder)) {
        return isRunning();
    }
    const platform::InsideFolder ours{"-currentfolder", folder};
    return processes_.isRunningExcept(path(), ours) == platform::ProcessQuery::Running;
}

void Engine::sweepStaleRuns() {
    std::string folder;
    if (!privateFolder(folder) || state() != EngineState::NotRunning) {
        return;
    }
    const platform::ProcessId self = ownProcessId();
    for (const std::string& name : files_.listFolder(folder)) {
        const auto owner = runFolderOwner(name);
        if (owner && *owner != self && !processes_.exists(*owner)) {
            files_.removeFolder(folder + name);
        }
    }
}

std::string Engine::identifyCommandLine(const std::string& enginePath, const std::string& mediaText,
                                        bool raw, const std::string& channelFolder) {
    return quoteArgumentIfNeeded(enginePath) + " " + (raw ? mediaText : quoteArgument(mediaText)) +
           "  -vo null -nosound -identify" + channelFolderPiece(channelFolder);
}

IdentifyOutcome Engine::identify(const std::string& mediaText, bool raw) {
    if (foreignEngineRunning()) {
        return {IdentifyResult::EngineBusy, Status::error(kEngineBusyMessage), -1, nullptr, {}};
    }
    EngineSession session(*this, EnginePurpose::Identify);
    if (Status ready = session.open(); !ready) {
        return {IdentifyResult::Failed, ready, -1, nullptr, {}};
    }
    const std::string& folder = session.channelFolder();
    IdentifyOutcome outcome;
    outcome.detail =
        session.start(identifyCommandLine(path(), mediaText, raw, folder), folder + "identify.log");
    if (!outcome.detail) {
        return outcome;
    }
    outcome.exitStatus = session.waitForEnd();
    EngineLink& link = session.link();
    if (link.readInfo() && link.mediaLength() > 0.0) {
        outcome.result = IdentifyResult::Identified;
        outcome.info = std::make_shared<const MediaInfo>(link.mediaInfo());
    } else {
        outcome.engineReason = lastLogLine(files_, session.logPath(), "identify: ");
    }
    return outcome;
}

}  // namespace pelorine
