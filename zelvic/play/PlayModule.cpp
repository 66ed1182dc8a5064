#include "play/PlayModule.h"

#include "play/PlaySink.h"

extern "C" {
#include <libavutil/log.h>
}

extern "C" __attribute__((visibility("default"))) int zelvic_run_play(
    const zelvic::Options& options, zelvic::Channel& channel) {
    // The module has its own copy of FFmpeg: as quiet as the executable's.
    av_log_set_level(AV_LOG_ERROR);
    return pelorine::code(zelvic::runPlay(options, channel));
}
