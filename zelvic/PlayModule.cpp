#include "EncodeModule.h"
#include "PlaySink.h"

extern "C" __attribute__((visibility("default"))) int zelvic_run_play(
    const zelvic::Options& options, zelvic::Channel& channel) {
    return pelorine::code(zelvic::runPlay(options, channel));
}
