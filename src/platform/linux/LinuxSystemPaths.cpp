#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/Paths.h"
#include "platform/FileSystem.h"
#include "platform/SystemPaths.h"
#include "platform/linux/Errno.h"

// Where the installation puts the engine and the help, relative to the
// program's folder (set by the build from the install folders).
#ifndef PELORINE_ENGINE_FROM_BIN
#define PELORINE_ENGINE_FROM_BIN "../libexec/pelorine"
#endif
#ifndef PELORINE_HELP_FROM_BIN
#define PELORINE_HELP_FROM_BIN "../share/pelorine/help"
#endif

namespace pelorine::platform {
namespace {

std::string withSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder.push_back('/');
    }
    return folder;
}

// The value of XDG_VIDEOS_DIR in user-dirs.dirs ("$HOME/Videos" style), if set.
std::optional<std::string> videosFolderFrom(const std::string& userDirsFile,
                                            const std::string& home) {
    std::ifstream in(userDirsFile);
    std::string line;
    const std::string key = "XDG_VIDEOS_DIR=";
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) != 0) {
            continue;
        }
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        if (value.rfind("$HOME", 0) == 0) {
            value = home + value.substr(5);
        }
        if (value.empty() || value.front() != '/' || value == home || value == home + "/") {
            return std::nullopt;  // unset, or set to the home folder itself
        }
        return value;
    }
    return std::nullopt;
}

class LinuxSystemPaths final : public SystemPaths {
public:
    explicit LinuxSystemPaths(LinuxEnvironment environment) : env_(std::move(environment)) {}

    std::string programFolder() const override {
        return folderWithSeparatorOf(env_.executablePath);
    }

    std::string enginePath() const override {
        return besideOrInstalled("zelvic", PELORINE_ENGINE_FROM_BIN "/zelvic");
    }

    std::string helpStartPage() const override {
        return besideOrInstalled("help/index.html", PELORINE_HELP_FROM_BIN "/index.html");
    }

    Status ensureChannelFolder(std::string& folder) const override {
        const auto runtime = nonEmpty("XDG_RUNTIME_DIR");
        folder = runtime ? withSeparator(*runtime) + "pelorine/" : home() + "/.cache/pelorine/run/";
        if (Status created = systemFileSystem().createFolders(folder); !created) {
            return created;
        }
        struct stat info {};
        if (::stat(folder.c_str(), &info) != 0) {
            return errnoStatus("Cannot use the folder \"" + folder + "\"");
        }
        if (info.st_uid != ::getuid()) {
            return Status::error("The folder \"" + folder + "\" belongs to another user.");
        }
        if ((info.st_mode & 0777) != 0700 && ::chmod(folder.c_str(), 0700) != 0) {
            return errnoStatus("Cannot make the folder \"" + folder + "\" private");
        }
        return Status::ok();
    }

    std::string settingsFilePath() const override {
        const auto config = nonEmpty("XDG_CONFIG_HOME");
        return (config ? withSeparator(*config) : home() + "/.config/") + "pelorine/zelvic.ini";
    }

    std::string defaultOutputFolder() const override {
        const auto config = nonEmpty("XDG_CONFIG_HOME");
        const std::string userDirs =
            (config ? withSeparator(*config) : home() + "/.config/") + "user-dirs.dirs";
        const auto videos = videosFolderFrom(userDirs, home());
        return (videos ? *videos : home() + "/Videos") + "/PSP";
    }

    std::string logFolder() const override { return stateFolder() + "logs/"; }

    std::string stateFolder() const override {
        const auto state = nonEmpty("XDG_STATE_HOME");
        return (state ? withSeparator(*state) : home() + "/.local/state/") + "pelorine/";
    }

private:
    // `beside` in the program's folder when it exists there, else `installed`
    // (relative to the program's folder); canonical where it can be made so.
    std::string besideOrInstalled(const std::string& beside, const std::string& installed) const {
        std::error_code error;
        auto path = std::filesystem::path(programFolder()) / beside;
        if (!std::filesystem::exists(path, error)) {
            path = std::filesystem::path(programFolder()) / installed;
        }
        const auto canonical = std::filesystem::weakly_canonical(path, error);
        return error ? path.string() : canonical.string();
    }

    std::optional<std::string> nonEmpty(const std::string& name) const {
        auto value = env_.variable(name);
        if (!value || value->empty()) {
            return std::nullopt;
        }
        return value;
    }

    std::string home() const {
        auto value = nonEmpty("HOME");
        std::string folder = value ? *value : env_.homeFolder;
        while (folder.size() > 1 && folder.back() == '/') {
            folder.pop_back();
        }
        return folder;
    }

    LinuxEnvironment env_;
};

std::string executablePath() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::string passwordHome() {
    const passwd* entry = ::getpwuid(::getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "/tmp";
}

}  // namespace

LinuxEnvironment currentEnvironment() {
    return LinuxEnvironment{[](const std::string& name) -> std::optional<std::string> {
                                const char* value = std::getenv(name.c_str());
                                return value ? std::optional<std::string>(value) : std::nullopt;
                            },
                            executablePath(), passwordHome()};
}

std::unique_ptr<SystemPaths> makeLinuxSystemPaths(LinuxEnvironment environment) {
    return std::make_unique<LinuxSystemPaths>(std::move(environment));
}

}  // namespace pelorine::platform
