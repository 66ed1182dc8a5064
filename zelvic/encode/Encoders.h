#pragma once
// Encoder presets: the -lavcopts and -lameopts settings applied to the
// encoders, within what the handheld plays (no B-frames, MPEG-4 Simple
// Profile, H.264 Main at the level asked for, AAC-LC, MP3 CBR).

#include "common/Errors.h"
#include "common/FFmpeg.h"
#include "options/Options.h"

namespace zelvic {

struct VideoEncoderInput {
    int width = 0;
    int height = 0;
    AVRational sampleAspect{1, 1};
    AVRational frameRate{25, 1};
    bool globalHeader = false;
};

Result<CodecContextPtr> openVideoEncoder(const LavcSettings& settings,
                                         const VideoEncoderInput& input);

// The audio encoder the options ask for (AAC or MP3), before it is opened.
Result<const AVCodec*> findAudioEncoder(const Options& options);

// `rate` if the encoder takes it, otherwise the nearest rate it does take.
int supportedSampleRate(const AVCodec* codec, int rate);

// The channel count limit the encoder settings imply (MP3 mode 3 is mono).
int maxAudioChannels(const Options& options);

// The sample format the encoder is fed.
AVSampleFormat encoderSampleFormat(const AVCodec* codec);

struct AudioEncoderInput {
    int sampleRate = 44100;
    int channels = 2;
    bool globalHeader = false;
};

Result<CodecContextPtr> openAudioEncoder(const AVCodec* codec, const Options& options,
                                         const AudioEncoderInput& input);

}  // namespace zelvic
