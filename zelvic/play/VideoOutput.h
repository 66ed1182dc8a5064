#pragma once
// Play mode's picture output through SDL: inside a native window that the
// converter owns (an X11 window id), or in a window of its own. It keeps the
// last picture, draws it again when the window is exposed or resized, and
// scales it to the window's current size.

#include <cstdint>
#include <memory>
#include <optional>

#include "common/Errors.h"
#include "common/FFmpeg.h"

extern "C" {
#include <libavutil/rational.h>
}

namespace zelvic {

struct VideoOutputSettings {
    std::optional<std::uint64_t> windowId;  // -wid: draw into this window
    int width = 0;                          // the pictures that will come
    int height = 0;
    AVRational sampleAspect{1, 1};
    bool keepAspect = false;
    std::string title;  // of a window of our own
};

class VideoOutput {
public:
    // Opens SDL's video (the X11 driver for a foreign window) and the window.
    static Result<std::unique_ptr<VideoOutput>> open(const VideoOutputSettings& settings);
    ~VideoOutput();
    VideoOutput(const VideoOutput&) = delete;
    VideoOutput& operator=(const VideoOutput&) = delete;

    // Shows `frame` (any pixel format) and keeps it for repaints.
    Outcome show(const AVFrame* frame);
    // Handles the window's events, drawing the last picture again when the
    // window was exposed or resized. False once the user closed our own window.
    bool handleEvents();

    struct Parts;

private:
    explicit VideoOutput(std::unique_ptr<Parts> parts);
    void present();

    std::unique_ptr<Parts> parts_;
};

}  // namespace zelvic
