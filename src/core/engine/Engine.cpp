#include "engine/Engine.h"

#include "platform/CommandLine.h"

namespace pelorine {
namespace {

// Deleting the info file is tried this often before identify gives up.
constexpr int kInfoDeleteAttempts = 20;

}  // namespace

ActivityState activityState(int activityFlag, bool engineRunning) {
    if (!engineRunning) {
        return ActivityState::Idle;
    }
    return activityFlag == 0 ? ActivityState::Converting : ActivityState::Previewing;
}

std::string channelFolderPiece(const std::string& channelFolder) {
    return " -currentfolder " + platform::quoteArgument(channelFolder) + " ";
}

Engine::Engine(platform::ProcessLauncher& launcher, platform::ProcessList& processes,
               const platform::SystemPaths& paths, platform::FileSystem& files)
    : launcher_(launcher), processes_(processes), paths_(paths), files_(files) {}

platform::LaunchResult Engine::launch(const std::string& commandLine, bool wait,
                                      const std::string& logPath) {
    return launcher_.launch(commandLine, logPath, wait);
}

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

int Engine::terminateAll() {
    return processes_.terminateAll(path());
}

std::string Engine::identifyCommandLine(const std::string& enginePath, const std::string& mediaText,
                                        bool raw, const std::string& channelFolder) {
    return platform::quoteArgumentIfNeeded(enginePath) + " " +
           (raw ? mediaText : platform::quoteArgument(mediaText)) +
           "  -vo null -nosound -identify" + channelFolderPiece(channelFolder);
}

IdentifyOutcome Engine::identify(EngineLink& link, const std::string& mediaText, bool raw) {
    IdentifyOutcome outcome;
    std::string folder;
    if (Status ready = channelFolder(folder); !ready) {
        return {IdentifyResult::Failed, ready, -1};
    }
    link.setChannelFolder(folder);
    if (Status removed = files_.removeFile(link.infoPath(), kInfoDeleteAttempts); !removed) {
        return {IdentifyResult::Failed, removed, -1};
    }
    if (Status quit = link.writeQuit(); !quit) {
        return {IdentifyResult::Failed, quit, -1};
    }
    if (isRunning()) {
        return {IdentifyResult::EngineBusy, Status::error(kEngineBusyMessage), -1};
    }
    const auto launched =
        launch(identifyCommandLine(path(), mediaText, raw, folder), true, folder + "identify.log");
    outcome.detail = launched.started;
    outcome.exitStatus = launched.exitStatus;
    if (launched.started && link.readInfo() && link.mediaLength() > 0.0) {
        outcome.result = IdentifyResult::Identified;
    }
    return outcome;
}

}  // namespace pelorine
