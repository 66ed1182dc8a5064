// The screen module's entry: SDL started, its video at once (connecting to
// the X server takes most of the time SDL needs), the outputs opened on
// request.

#include <SDL.h>

#include "play/Screen.h"
#include "play/SdlOutputs.h"

namespace zelvic {
namespace {

class SdlScreen final : public Screen {
public:
    explicit SdlScreen(std::optional<std::uint64_t> windowId) {
        if (windowId) {
            // The window id is an X11 one; a small window of another program
            // is drawn in software, straight into it.
            SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
            SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
            SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        }
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            videoFailure_ = std::string("no video output: ") + SDL_GetError();
        }
    }

    ~SdlScreen() override { SDL_Quit(); }

    std::unique_ptr<VideoOutput> openVideo(const VideoOutputSettings& settings,
                                           std::string& why) override {
        if (!videoFailure_.empty()) {
            why = videoFailure_;
            return nullptr;
        }
        return openSdlVideo(settings, why);
    }

    std::unique_ptr<AudioOutput> openAudio(int sampleRate, int channels,
                                           std::string& why) override {
        return openSdlAudio(sampleRate, channels, why);
    }

private:
    std::string videoFailure_;
};

}  // namespace
}  // namespace zelvic

extern "C" __attribute__((visibility("default"))) zelvic::Screen* zelvic_open_screen(
    std::optional<std::uint64_t> windowId, std::string& why) {
    // The converter may end a run that hangs with a signal; SDL must not
    // turn that into an event nobody reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(0) != 0) {
        why = std::string("cannot start SDL: ") + SDL_GetError();
        return nullptr;
    }
    return new zelvic::SdlScreen(windowId);
}
