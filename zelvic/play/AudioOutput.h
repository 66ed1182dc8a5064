#pragma once
// Play mode's sound output through SDL: samples are queued as they come and
// the device plays them at its own pace; what it has not played yet tells
// where in the media the listener is, which makes it the master clock.

#include <memory>
#include <optional>
#include <string>

namespace zelvic {

class AudioOutput {
public:
    // The default output device for interleaved 32-bit float samples at
    // `sampleRate` Hz and `channels` channels (SDL converts for the device).
    // Null, with the reason in `why`, when there is no device to play on.
    static std::unique_ptr<AudioOutput> open(int sampleRate, int channels, std::string& why);
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Queues `frames` sample frames that start at media time `start`. The
    // device starts playing with the first samples queued.
    void queue(const float* samples, int frames, double start);
    // Seconds queued and not heard yet.
    double queuedSeconds() const;
    // The media time being heard now; nothing when the queue has run dry.
    std::optional<double> position() const;
    void setPaused(bool paused);

private:
    AudioOutput(unsigned device, int sampleRate, int channels, int bufferFrames);

    unsigned device_;
    int sampleRate_;
    int channels_;
    double latency_;    // what the device holds beyond the queue
    double end_ = 0.0;  // media time where the queued samples end
    bool started_ = false;
    bool paused_ = false;
};

}  // namespace zelvic
