// zelvic: the engine. One run identifies a source, encodes it, or plays it,
// as its command line says.

#include <cstdio>
#include <string>
#include <vector>

#include "Channel.h"
#include "EncodeModule.h"
#include "Identify.h"
#include "Options.h"
#include "platform/FileSystem.h"
#include "platform/SharedModule.h"
#include "platform/SystemPaths.h"

extern "C" {
#include <libavutil/log.h>
}

namespace {

// Encoding and playing live in modules beside the executable, so that
// identify runs load neither.
zelvic::ExitStatus runModule(const char* file, const char* entryName,
                             const zelvic::Options& options, zelvic::Channel& channel) {
    const std::string module =
        pelorine::platform::makeLinuxSystemPaths(pelorine::platform::currentEnvironment())
            ->programFolder() +
        file;
    pelorine::Status status = pelorine::Status::ok();
    void* entry = pelorine::platform::loadModuleSymbol(module, entryName, status);
    if (!entry) {
        std::printf("failed: %s\n", status.message().c_str());
        return zelvic::ExitStatus::Failed;
    }
    return pelorine::exitStatusFromCode(
        reinterpret_cast<zelvic::EncodeEntry>(entry)(options, channel));
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
    zelvic::Channel channel(options->currentFolder, pelorine::platform::systemFileSystem());
    zelvic::ExitStatus status = zelvic::ExitStatus::Done;
    switch (options->mode()) {
        case zelvic::Mode::Identify:
            status = zelvic::runIdentify(*options, channel);
            break;
        case zelvic::Mode::Encode:
            status = runModule(zelvic::kEncodeModuleFile, zelvic::kEncodeEntry, *options, channel);
            break;
        case zelvic::Mode::Play:
            status = runModule(zelvic::kPlayModuleFile, zelvic::kPlayEntry, *options, channel);
            break;
    }
    std::fflush(stdout);
    return pelorine::code(status);
}
