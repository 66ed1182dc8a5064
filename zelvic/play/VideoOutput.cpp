#include "play/VideoOutput.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "play/NativeWindow.h"
#include "play/PlayTiming.h"

extern "C" {
#include <libswscale/swscale.h>
}

namespace zelvic {
namespace {

constexpr std::uint32_t kLateRepaintMs = 100;

}  // namespace

struct VideoOutput::Parts {
    VideoOutputSettings settings;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int textureWidth = 0;
    int textureHeight = 0;
    SwsContext* converter = nullptr;
    FramePtr converted = makeFrame();
    bool havePicture = false;
    // The owner of a foreign window paints it too when it is exposed, maybe
    // after us: the picture is drawn again a little later as well.
    std::optional<std::uint32_t> lateRepaintAt;

    ~Parts() {
        sws_freeContext(converter);
        if (texture) {
            SDL_DestroyTexture(texture);
        }
        if (renderer) {
            SDL_DestroyRenderer(renderer);
        }
        // A window of another program stays as it is: SDL only lets go of it.
        if (window) {
            SDL_DestroyWindow(window);
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    Outcome fail(const std::string& what) const {
        return conversionFailed(what + ": " + SDL_GetError());
    }
};

namespace {

Outcome openWindow(VideoOutput::Parts& parts) {
    const VideoOutputSettings& s = parts.settings;
    if (s.windowId) {
        std::string why;
        parts.window = openForeignWindow(*s.windowId, why);
        return parts.window ? success() : conversionFailed(why);
    }
    const double pixel = s.sampleAspect.num > 0 ? av_q2d(s.sampleAspect) : 1.0;
    const int width = std::max(1, static_cast<int>(std::lround(s.width * pixel)));
    parts.window = SDL_CreateWindow(s.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                    width, std::max(1, s.height), SDL_WINDOW_RESIZABLE);
    return parts.window ? success() : parts.fail("cannot open a window");
}

}  // namespace

Result<std::unique_ptr<VideoOutput>> VideoOutput::open(const VideoOutputSettings& settings) {
    if (settings.windowId) {
        // The window id is an X11 one; a small window of another program is
        // drawn in software, straight into it.
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        return conversionFailed(std::string("no video output: ") + SDL_GetError());
    }
    auto parts = std::make_unique<Parts>();
    parts->settings = settings;
    if (auto opened = openWindow(*parts); !opened) {
        return opened.error();
    }
    parts->renderer = SDL_CreateRenderer(parts->window, -1, 0);
    if (!parts->renderer) {
        return parts->fail("cannot draw into the window").error();
    }
    return std::unique_ptr<VideoOutput>(new VideoOutput(std::move(parts)));
}

VideoOutput::VideoOutput(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}

VideoOutput::~VideoOutput() = default;

Outcome VideoOutput::show(const AVFrame* frame) {
    Parts& p = *parts_;
    if (!p.texture || p.textureWidth != frame->width || p.textureHeight != frame->height) {
        if (p.texture) {
            SDL_DestroyTexture(p.texture);
        }
        p.texture = SDL_CreateTexture(p.renderer, SDL_PIXELFORMAT_IYUV, SDL_TEXTUREACCESS_STREAMING,
                                      frame->width, frame->height);
        if (!p.texture) {
            return p.fail("cannot make a picture texture");
        }
        p.textureWidth = frame->width;
        p.textureHeight = frame->height;
    }
    const AVFrame* planar = frame;
    if (frame->format != AV_PIX_FMT_YUV420P && frame->format != AV_PIX_FMT_YUVJ420P) {
        p.converter = sws_getCachedContext(p.converter, frame->width, frame->height,
                                           static_cast<AVPixelFormat>(frame->format), frame->width,
                                           frame->height, AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr,
                                           nullptr, nullptr);
        AVFrame* out = p.converted.get();
        if (out->width != frame->width || out->height != frame->height) {
            av_frame_unref(out);
            out->format = AV_PIX_FMT_YUV420P;
            out->width = frame->width;
            out->height = frame->height;
            if (av_frame_get_buffer(out, 0) < 0) {
                return conversionFailed("out of memory for a picture");
            }
        }
        if (!p.converter || sws_scale(p.converter, frame->data, frame->linesize, 0, frame->height,
                                      out->data, out->linesize) < 0) {
            return conversionFailed("cannot convert the picture for showing");
        }
        planar = out;
    }
    if (SDL_UpdateYUVTexture(p.texture, nullptr, planar->data[0], planar->linesize[0],
                             planar->data[1], planar->linesize[1], planar->data[2],
                             planar->linesize[2]) != 0) {
        return p.fail("cannot show the picture");
    }
    p.havePicture = true;
    present();
    return success();
}

void VideoOutput::present() {
    Parts& p = *parts_;
    int width = 0;
    int height = 0;
    SDL_GetRendererOutputSize(p.renderer, &width, &height);
    SDL_SetRenderDrawColor(p.renderer, 0, 0, 0, 255);
    SDL_RenderClear(p.renderer);
    if (p.havePicture) {
        const Placement at = placePicture(p.textureWidth, p.textureHeight, p.settings.sampleAspect,
                                          width, height, p.settings.keepAspect);
        const SDL_Rect target{at.x, at.y, at.width, at.height};
        SDL_RenderCopy(p.renderer, p.texture, nullptr, &target);
    }
    SDL_RenderPresent(p.renderer);
}

bool VideoOutput::handleEvents() {
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
    Parts& p = *parts_;
    const std::uint32_t now = SDL_GetTicks();
    if (repaint) {
        p.lateRepaintAt = now + kLateRepaintMs;
    } else if (p.lateRepaintAt && now >= *p.lateRepaintAt) {
        p.lateRepaintAt.reset();
        repaint = true;
    }
    if (repaint && p.havePicture) {
        present();
    }
    return open;
}

}  // namespace zelvic
