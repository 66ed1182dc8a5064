#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "base/CommandLine.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/Processes.h"

namespace pelorine::platform {
namespace {

std::optional<std::string> findProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "/usr/local/bin:/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::string candidate = folder + "/" + name;
        if (!folder.empty() && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::vector<std::string> applicationFolders() {
    std::vector<std::string> folders;
    const char* home = std::getenv("HOME");
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && *dataHome) {
        folders.push_back(std::string(dataHome) + "/applications/");
    } else if (home) {
        folders.push_back(std::string(home) + "/.local/share/applications/");
    }
    const char* dataDirs = std::getenv("XDG_DATA_DIRS");
    std::stringstream dirs(dataDirs && *dataDirs ? dataDirs : "/usr/local/share:/usr/share");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        folders.push_back(dir + "/applications/");
    }
    return folders;
}

// The Exec line of the desktop entry `name`, looked up in the usual folders.
std::optional<std::string> execOf(const std::string& name) {
    for (const std::string& folder : applicationFolders()) {
        std::ifstream entry(folder + name);
        std::string line;
        while (std::getline(entry, line)) {
            if (line.rfind("Exec=", 0) == 0) {
                return line.substr(5);
            }
        }
    }
    return std::nullopt;
}

class LinuxDesktop final : public Desktop {
public:
    Status openLink(const std::string& link) override { return linkStatus(openWithOpener(link)); }

    [[noreturn]] void exitProcess(int code) override { std::_Exit(code); }

private:
    // xdg-open, else the default handler of web pages: a code of
    // openLinkErrorText, above 32 when it opened.
    static int openWithOpener(const std::string& link) {
        if (const auto opener = findProgram("xdg-open")) {
            const auto started = systemProcessLauncher().launch(
                quoteArgument(*opener) + " " + quoteArgument(link), "", false);
            if (started.started) {
                return kLinkOpened;
            }
        }
        return openWithHtmlHandler(link);
    }

    // The fallback: the default handler of web pages, started directly.
    static int openWithHtmlHandler(const std::string& link) {
        const auto mime = findProgram("xdg-mime");
        if (!mime) {
            return kLinkNoAssociation;
        }
        const std::string answer = std::filesystem::temp_directory_path() /
                                   ("pelorine-mime-" + std::to_string(::getpid()));
        systemProcessLauncher().launch(quoteArgument(*mime) + " query default text/html", answer,
                                       true);
        const auto bytes = systemFileSystem().readPrefix(answer, 4096);
        systemFileSystem().removeFile(answer, 3);
        std::string entry = bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
        entry = entry.substr(0, entry.find('\n'));
        const auto exec = entry.empty() ? std::nullopt : execOf(entry);
        if (!exec) {
            return kLinkNoAssociation;
        }
        const auto started = systemProcessLauncher().launch(handlerCommand(*exec, link), "", false);
        return started.started ? kLinkOpened : kLinkFileNotFound;
    }
};

}  // namespace

Desktop& systemDesktop() {
    static LinuxDesktop desktop;
    return desktop;
}

}  // namespace pelorine::platform
