#pragma once
// Where things are: the program's own folder, the engine and the help (beside
// the program in the build tree, in their installed folders otherwise), the
// private folder of the channel files, the settings file and the default
// output folder.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/Status.h"

namespace pelorine::platform {

class SystemPaths {
public:
    virtual ~SystemPaths() = default;

    // The folder of the running program, with a trailing separator.
    virtual std::string programFolder() const = 0;
    // The engine executable, as a canonical absolute path: the running check
    // compares process images with exactly this text. Beside the program when
    // it is there (the build tree), else in the program's private folder of
    // the installation (libexec/pelorine beside bin).
    virtual std::string enginePath() const = 0;
    // The first page of the help: help/index.html beside the program when it
    // is there (the build tree), else in the installed data folder
    // (share/pelorine/help beside bin). The file may be missing.
    virtual std::string helpStartPage() const = 0;
    // The private per-user folder of the channel files, with a trailing
    // separator; created (owner-only access) when missing. An error when it
    // cannot be created or is not private to this user.
    virtual Status ensureChannelFolder(std::string& folder) const = 0;
    // The settings file (its folder may not exist yet).
    virtual std::string settingsFilePath() const = 0;
    // Where converted files go until the user chooses another folder.
    virtual std::string defaultOutputFolder() const = 0;
    // The folder of the engine logs kept from earlier batches, with a
    // trailing separator (it may not exist yet): "pelorine/logs/" in the
    // user's state folder.
    virtual std::string logFolder() const = 0;
    // The folder of what the program keeps between its runs (the list as it
    // was left, the logs), with a trailing separator (it may not exist yet):
    // "pelorine/" in the user's state folder.
    virtual std::string stateFolder() const = 0;
};

// What the Linux paths are computed from; the default reads the real process.
struct LinuxEnvironment {
    std::function<std::optional<std::string>(const std::string&)> variable;
    std::string executablePath;  // absolute path of the running program
    std::string homeFolder;      // used where $HOME is unset
};
LinuxEnvironment currentEnvironment();

std::unique_ptr<SystemPaths> makeLinuxSystemPaths(LinuxEnvironment environment);

}  // namespace pelorine::platform
