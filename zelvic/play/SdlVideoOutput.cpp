#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "play/NativeWindow.h"
#include "play/PlayTiming.h"
#include "play/SdlOutputs.h"

namespace zelvic {
namespace {

constexpr std::uint32_t kLateRepaintMs = 100;

class SdlVideoOutput final : public VideoOutput {
public:
    explicit SdlVideoOutput(const VideoOutputSettings& settings) : settings_(settings) {}

    ~SdlVideoOutput() override {
        if (texture_) {
            SDL_DestroyTexture(texture_);
        }
        if (renderer_) {
            SDL_DestroyRenderer(renderer_);
        }
        // A window of another program stays as it is: SDL only lets go of it.
        if (window_) {
            SDL_DestroyWindow(window_);
        }
    }

    bool open(std::string& why);
    bool show(const PlanarPicture& picture, std::string& why) override;
    bool handleEvents() override;

private:
    bool failed(const std::string& what, std::string& why) const {
        why = what + ": " + SDL_GetError();
        return false;
    }
    void present();

    VideoOutputSettings settings_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int textureWidth_ = 0;
    int textureHeight_ = 0;
    bool havePicture_ = false;
    // The owner of a foreign window paints it too when it is exposed, maybe
    // after us: the picture is drawn again a little later as well.
    std::optional<std::uint32_t> lateRepaintAt_;
};

bool SdlVideoOutput::open(std::string& why) {
    const VideoOutputSettings& s = settings_;
    if (s.windowId) {
        window_ = openForeignWindow(*s.windowId, why);
        if (!window_) {
            return false;
        }
    } else {
        const double pixel = s.sampleAspect.num > 0 ? av_q2d(s.sampleAspect) : 1.0;
        const int width = std::max(1, static_cast<int>(std::lround(s.width * pixel)));
        window_ = SDL_CreateWindow(s.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   width, std::max(1, s.height), SDL_WINDOW_RESIZABLE);
        if (!window_) {
            return failed("cannot open a window", why);
        }
    }
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    return renderer_ ? true : failed("cannot draw into the window", why);
}

bool SdlVideoOutput::show(const PlanarPicture& picture, std::string& why) {
    if (!texture_ || textureWidth_ != picture.width || textureHeight_ != picture.height) {
        if (texture_) {
            SDL_DestroyTexture(texture_);
        }
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_IYUV, SDL_TEXTUREACCESS_STREAMING,
                                     picture.width, picture.height);
        if (!texture_) {
            return failed("cannot make a picture texture", why);
        }
        textureWidth_ = picture.width;
        textureHeight_ = picture.height;
    }
    if (SDL_UpdateYUVTexture(texture_, nullptr, picture.planes[0], picture.pitches[0],
                             picture.planes[1], picture.pitches[1], picture.planes[2],
                             picture.pitches[2]) != 0) {
        return failed("cannot show the picture", why);
    }
    havePicture_ = true;
    present();
    return true;
}

void SdlVideoOutput::present() {
    int width = 0;
    int height = 0;
    SDL_GetRendererOutputSize(renderer_, &width, &height);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    if (havePicture_) {
        const Placement at = placePicture(textureWidth_, textureHeight_, settings_.sampleAspect,
                                          width, height, settings_.keepAspect);
        const SDL_Rect target{at.x, at.y, at.width, at.height};
        SDL_RenderCopy(renderer_, texture_, nullptr, &target);
    }
    SDL_RenderPresent(renderer_);
}

bool SdlVideoOutput::handleEvents() {
    bool open = true;
    bool repaint = false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) {
            open = false;
        } else if (event.type == SDL_WINDOWEVENT) {
            switch (event.window.event) {
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                case SDL_WINDOWEVENT_RESIZED:
                    repaint = true;
                    break;
                case SDL_WINDOWEVENT_CLOSE:
                    open = false;
                    break;
                default:
                    break;
            }
        }
    }
    const std::uint32_t now = SDL_GetTicks();
    if (repaint) {
        lateRepaintAt_ = now + kLateRepaintMs;
    } else if (lateRepaintAt_ && now >= *lateRepaintAt_) {
        lateRepaintAt_.reset();
        repaint = true;
    }
    if (repaint && havePicture_) {
        present();
    }
    return open;
}

}  // namespace

std::unique_ptr<VideoOutput> openSdlVideo(const VideoOutputSettings& settings, std::string& why) {
    auto output = std::make_unique<SdlVideoOutput>(settings);
    if (!output->open(why)) {
        return nullptr;
    }
    return output;
}

}  // namespace zelvic
