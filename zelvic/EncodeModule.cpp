#include "EncodeModule.h"

#include "EncodeSink.h"

extern "C" __attribute__((visibility("default"))) int zelvic_run_encode(
    const zelvic::Options& options, zelvic::Channel& channel) {
    return pelorine::code(zelvic::runEncode(options, channel));
}
