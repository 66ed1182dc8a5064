// zelvic: the engine. One run identifies a source, encodes it, or plays it,
// as its command line says.

#include <cstdio>
#include <string>
#include <vector>

#include "common/Channel.h"
#include "encode/EncodeSink.h"
#include "identify/Identify.h"
#include "options/Options.h"
#include "platform/FileSystem.h"
#include "platform/LargeFiles.h"
#include "platform/MessageBus.h"
#include "platform/Processes.h"
#include "platform/SharedModule.h"
#include "play/PlayModule.h"

extern "C" {
#include <libavutil/log.h>
}

namespace {

// Playing lives in a module beside the executable, so that identify and
// encode runs do not load SDL and the libraries behind it.
zelvic::ExitStatus runPlayModule(const zelvic::Options& options, zelvic::Channel& channel) {
    const std::string module = zelvic::engineModule(zelvic::kPlayModuleFile);
    pelorine::Status status = pelorine::Status::ok();
    void* entry = pelorine::platform::loadModuleSymbol(module, zelvic::kPlayEntry, status);
    if (!entry) {
        std::printf("failed: %s\n", status.message().c_str());
        return zelvic::ExitStatus::Failed;
    }
    return pelorine::exitStatusFromCode(
        reinterpret_cast<zelvic::PlayEntry>(entry)(options, channel));
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    auto options = zelvic::parseOptions(args);
    if (!options) {
        std::fprintf(stderr, "zelvic: %s\n", options.error().message.c_str());
        return pelorine::code(options.error().code);
    }
    // The library's own chatter about damaged data would drown the log.
    av_log_set_level(AV_LOG_ERROR);
    // The program that started us: once it has gone, this run is nobody's.
    const auto& processes = pelorine::platform::systemProcessList();
    zelvic::Channel channel(
        options->currentFolder, pelorine::platform::systemFileSystem(),
        [&processes, starter = processes.parentId()] { return processes.parentId() != starter; });
    zelvic::ExitStatus status = zelvic::ExitStatus::Done;
    switch (options->mode()) {
        case zelvic::Mode::Identify:
            status = zelvic::runIdentify(*options, channel);
            break;
        case zelvic::Mode::Encode:
            status = zelvic::runEncode(
                *options, channel,
                {pelorine::platform::systemFileSystem(), pelorine::platform::systemLargeFiles()});
            break;
        case zelvic::Mode::Play:
            pelorine::platform::keepToTheSessionBus();
            status = runPlayModule(*options, channel);
            break;
    }
    std::fflush(stdout);
    return pelorine::code(status);
}
