// Pelorine's start-up. The window comes with the user interface; until then
// the program prepares what it will use and says where it is.

#include <cstdio>

#include "app/Settings.h"
#include "app/SingleInstance.h"
#include "platform/FileSystem.h"
#include "platform/SystemPaths.h"

int main() {
    using namespace pelorine;
    const auto paths = platform::makeLinuxSystemPaths(platform::currentEnvironment());
    Settings settings(platform::systemFileSystem(), paths->settingsFilePath(),
                      paths->defaultOutputFolder());
    settings.load();

    std::string channelFolder;
    if (Status ready = paths->ensureChannelFolder(channelFolder); !ready) {
        std::fprintf(stderr, "Pelorine: %s\n", ready.message().c_str());
        return 1;
    }
    const InstanceCheck instance = checkSingleInstance(channelFolder);
    if (!instance.lock) {
        std::fprintf(stderr, "Pelorine: %s\n", instance.refusal.c_str());
        return 1;
    }
    std::printf("Pelorine %s\n", "0.1.0");
    std::printf("  program:       %s\n", paths->programFolder().c_str());
    std::printf("  engine:        %s\n", paths->enginePath().c_str());
    std::printf("  settings:      %s\n", settings.filePath().c_str());
    std::printf("  output folder: %s\n", settings.outputPath().c_str());
    std::printf("The window is not part of this build yet.\n");
    return 0;
}
