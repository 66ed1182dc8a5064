#pragma once
// Helpers shared by the converter's tests: temporary folders, a copy of the
// fake engine placed where the converter looks for its engine, and polling.

#include <chrono>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <thread>

#include "platform/SystemPaths.h"

namespace pelorine::testing {

// A fresh folder under the system's temporary folder, removed afterwards.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path with a trailing separator.
    std::string path() const { return path_.string() + "/"; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    void write(const std::string& name, const std::string& content) const;
    std::string read(const std::string& name) const;
    // Every file below the folder, by its path relative to it.
    std::set<std::string> filesBelow() const;

private:
    std::filesystem::path path_;
};

// Paths of a converter installed in `folder`: the engine is `folder/zelvic`,
// the channel folder `folder/run/`.
class FolderPaths final : public platform::SystemPaths {
public:
    explicit FolderPaths(std::string folder) : folder_(folder), programFolder_(std::move(folder)) {}
    // The program (and its engine) in `programFolder`, the rest in `folder`.
    FolderPaths(std::string folder, std::string programFolder)
        : folder_(std::move(folder)), programFolder_(std::move(programFolder)) {}
    std::string programFolder() const override { return programFolder_; }
    std::string enginePath() const override { return programFolder_ + "zelvic"; }
    std::string helpStartPage() const override { return programFolder_ + "help/index.html"; }
    Status ensureChannelFolder(std::string& folder) const override;
    // The private folder from now on, instead of `folder`/run/ (ending in a separator).
    void useChannelFolder(std::string folder) { channelFolder_ = std::move(folder); }
    std::string settingsFilePath() const override { return folder_ + "zelvic.ini"; }
    std::string defaultOutputFolder() const override { return folder_ + "out"; }
    std::string logFolder() const override { return folder_ + "logs/"; }
    std::string stateFolder() const override { return folder_ + "state/"; }

private:
    std::string folder_;
    std::string programFolder_;
    std::string channelFolder_;
};

// Copies the fake engine to `folder/zelvic`.
void installFakeEngine(const std::string& folder);

// Polls `condition` until it holds or `timeout` passes.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

}  // namespace pelorine::testing
