#include "platform/Processes.h"

namespace pelorine::platform {

LaunchResult ProcessLauncher::launch(const std::string& commandLine, const std::string& logPath,
                                     bool wait) {
    StartResult started = start(commandLine, logPath);
    if (!started.started) {
        return {started.started, -1};
    }
    return {Status::ok(), wait ? started.process->wait() : -1};
}

}  // namespace pelorine::platform
