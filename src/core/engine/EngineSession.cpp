#include "engine/EngineSession.h"

#include <charconv>

namespace pelorine {
namespace {

constexpr std::string_view kRunPrefix = "run-";
constexpr auto kEndLookPeriod = std::chrono::milliseconds(20);

// The number of runs this program has opened so far.
std::atomic<int> runsOpened{0};

}  // namespace

std::optional<platform::ProcessId> runFolderOwner(const std::string& name) {
    if (name.rfind(kRunPrefix, 0) != 0) {
        return std::nullopt;
    }
    const char* first = name.data() + kRunPrefix.size();
    const char* last = name.data() + name.size();
    platform::ProcessId pid = 0;
    const auto [end, error] = std::from_chars(first, last, pid);
    if (error != std::errc() || end == first || end == last || *end != '-' || pid <= 0) {
        return std::nullopt;
    }
    return pid;
}

EngineSession::EngineSession(Engine& engine, EnginePurpose purpose)
    : engine_(engine), purpose_(purpose), link_(engine.files()) {}

EngineSession::~EngineSession() {
    if (link_.channelFolder().empty()) {
        return;
    }
    if (platform::ChildProcess* running = process(); running && !running->hasEnded()) {
        return;  // its engine still talks through the folder
    }
    engine_.files().removeFolder(link_.channelFolder());
}

Status EngineSession::open() {
    std::string folder;
    if (Status ready = engine_.privateFolder(folder); !ready) {
        return ready;
    }
    folder += std::string(kRunPrefix) + std::to_string(engine_.ownProcessId()) + "-" +
              std::to_string(++runsOpened) + "/";
    if (Status made = engine_.files().createFolders(folder); !made) {
        return made;
    }
    link_.setChannelFolder(folder);
    return Status::ok();
}

Status EngineSession::start(const std::string& commandLine, const std::string& logPath) {
    if (link_.channelFolder().empty()) {
        return Status::error("The engine's channel folder is not set.");
    }
    if (process()) {
        return Status::error("This engine run has started already.");
    }
    commandLine_ = commandLine;
    logPath_ = logPath;
    const Status first = purpose_ == EnginePurpose::Identify ? link_.writeQuit() : link_.writeRun();
    if (!first) {
        return first;
    }
    platform::StartResult started = engine_.start(commandLine, logPath);
    if (!started.started) {
        return started.started;
    }
    std::lock_guard lock(mutex_);
    process_ = std::move(started.process);
    return Status::ok();
}

platform::ChildProcess* EngineSession::process() {
    std::lock_guard lock(mutex_);
    return process_.get();
}

bool EngineSession::running() {
    platform::ChildProcess* engine = process();
    return engine && !engine->hasEnded();
}

std::optional<platform::ProcessId> EngineSession::pid() {
    platform::ChildProcess* engine = process();
    return engine ? std::optional(engine->pid()) : std::nullopt;
}

std::optional<int> EngineSession::waitForEnd(std::chrono::milliseconds timeout) {
    platform::ChildProcess* engine = process();
    return engine ? engine->waitFor(timeout) : std::nullopt;
}

int EngineSession::waitForEnd() {
    platform::ChildProcess* engine = process();
    return engine ? engine->wait() : -1;
}

void EngineSession::requestStop() {
    stopRequested_ = true;
    quit();
}

bool EngineSession::forceEnd() {
    platform::ChildProcess* engine = process();
    return engine && engine->forceEnd();
}

int EngineSession::end(std::chrono::milliseconds patience, const std::function<void()>& keepAlive) {
    platform::ChildProcess* engine = process();
    if (!engine) {
        return -1;
    }
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (true) {
        quit();
        if (const auto status = engine->waitFor(kEndLookPeriod)) {
            return *status;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            engine->forceEnd();
            return engine->wait();
        }
        if (keepAlive) {
            keepAlive();
        }
    }
}

}  // namespace pelorine
