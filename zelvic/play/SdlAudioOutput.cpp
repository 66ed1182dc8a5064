#include <SDL.h>

#include "play/SdlOutputs.h"

namespace zelvic {
namespace {

// About 23 ms at 44.1 kHz: small enough for the clock, large enough to play
// without gaps.
constexpr int kBufferFrames = 1024;

class SdlAudioOutput final : public AudioOutput {
public:
    SdlAudioOutput(SDL_AudioDeviceID device, int sampleRate, int channels, int bufferFrames)
        : device_(device),
          sampleRate_(sampleRate),
          channels_(channels),
          latency_(static_cast<double>(bufferFrames) / sampleRate) {}

    ~SdlAudioOutput() override {
        SDL_CloseAudioDevice(device_);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    void queue(const float* samples, int frames, double start) override {
        if (frames <= 0) {
            return;
        }
        SDL_QueueAudio(
            device_, samples,
            static_cast<Uint32>(frames) * static_cast<Uint32>(channels_) * sizeof(float));
        end_ = start + static_cast<double>(frames) / sampleRate_;
        if (!started_) {
            started_ = true;
            SDL_PauseAudioDevice(device_, paused_ ? 1 : 0);
        }
    }

    double queuedSeconds() const override {
        const double bytesPerSecond = static_cast<double>(sampleRate_) * channels_ * sizeof(float);
        return SDL_GetQueuedAudioSize(device_) / bytesPerSecond;
    }

    std::optional<double> position() const override {
        const double queued = queuedSeconds();
        if (!started_ || queued <= 0.0) {
            return std::nullopt;
        }
        return end_ - queued - latency_;
    }

    void setPaused(bool paused) override {
        paused_ = paused;
        if (started_) {
            SDL_PauseAudioDevice(device_, paused ? 1 : 0);
        }
    }

private:
    SDL_AudioDeviceID device_;
    int sampleRate_;
    int channels_;
    double latency_;    // what the device holds beyond the queue
    double end_ = 0.0;  // media time where the queued samples end
    bool started_ = false;
    bool paused_ = false;
};

}  // namespace

std::unique_ptr<AudioOutput> openSdlAudio(int sampleRate, int channels, std::string& why) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        why = SDL_GetError();
        return nullptr;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = sampleRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = static_cast<Uint8>(channels);
    wanted.samples = kBufferFrames;
    SDL_AudioSpec got{};
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &got, 0);
    if (device == 0) {
        why = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    return std::make_unique<SdlAudioOutput>(device, sampleRate, channels,
                                            got.samples > 0 ? got.samples : kBufferFrames);
}

}  // namespace zelvic
