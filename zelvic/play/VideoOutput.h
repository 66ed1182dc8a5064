#pragma once
// Play mode's picture output: inside a native window that the converter
// owns (an X11 window id), or in a window of its own. It keeps the last
// picture, draws it again when the window is exposed or resized, and scales
// it to the window's current size. Made by the screen module (Screen.h).

#include <cstdint>
#include <optional>
#include <string>

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

// A planar 4:2:0 picture (Y, U, V), as the play filter chains end.
struct PlanarPicture {
    int width = 0;
    int height = 0;
    const std::uint8_t* planes[3] = {};
    int pitches[3] = {};
};

class VideoOutput {
public:
    virtual ~VideoOutput() = default;

    // Shows `picture` and keeps it for repaints; false, with the reason in
    // `why`, when it cannot.
    virtual bool show(const PlanarPicture& picture, std::string& why) = 0;
    // Handles the window's events, drawing the last picture again when the
    // window was exposed or resized. False once the user closed our own window.
    virtual bool handleEvents() = 0;
};

}  // namespace zelvic
