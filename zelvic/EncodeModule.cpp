#include "EncodeModule.h"

#include "Pipeline.h"

extern "C" __attribute__((visibility("default"))) int zelvic_run_encode(
    const zelvic::Options& options, zelvic::Channel& channel) {
    return static_cast<int>(zelvic::runEncode(options, channel));
}
