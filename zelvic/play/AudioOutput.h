#pragma once
// Play mode's sound output: samples are queued as they come and the device
// plays them at its own pace; what it has not played yet tells where in the
// media the listener is, which makes it the master clock. Made by the screen
// module (Screen.h).

#include <optional>

namespace zelvic {

class AudioOutput {
public:
    virtual ~AudioOutput() = default;

    // Queues `frames` interleaved 32-bit float sample frames that start at
    // media time `start`. The device starts playing with the first samples
    // queued.
    virtual void queue(const float* samples, int frames, double start) = 0;
    // Seconds queued and not heard yet.
    virtual double queuedSeconds() const = 0;
    // The media time being heard now; nothing when the queue has run dry.
    virtual std::optional<double> position() const = 0;
    virtual void setPaused(bool paused) = 0;
};

}  // namespace zelvic
