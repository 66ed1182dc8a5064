#pragma once
// The handheld's picture of a video (its .THM file): a 160 x 120 baseline
// JPEG of one representative picture, letterboxed to keep the picture's shape.
//
// The picker looks at the pictures the encode sink receives anyway, so it
// costs no second decode: the first picture from a tenth of the length on
// that is not nearly black is the choice; until then (and when every later
// picture is dark) the brightest picture seen so far stands in.

#include <limits>
#include <string>

#include "common/Errors.h"
#include "common/FFmpeg.h"
#include "encode/Disk.h"

namespace zelvic {

inline constexpr int kThumbnailWidth = 160;
inline constexpr int kThumbnailHeight = 120;

struct PictureRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PictureRect&) const = default;
};

// Where a picture of `width` x `height` with pixels of `sampleAspect` (0/x:
// square) lies in the thumbnail: as large as fits with its shape kept,
// centred, on even offsets and sizes (the chroma planes are halved).
PictureRect letterbox(int width, int height, AVRational sampleAspect);

// The mean of a sample of the picture's luma, 0 to 255.
double averageLuma(const AVFrame* frame);

// A picture this dark or darker makes no thumbnail when a brighter one comes.
inline constexpr double kNearlyBlackLuma = 32.0;

class ThumbnailPicker {
public:
    // `target`: seconds from the start of the output where the choice begins.
    explicit ThumbnailPicker(double target) : target_(target) {}

    // One picture of the output, `seconds` from its start (any pixel format
    // swscale reads). Cheap once the choice is made.
    void offer(const AVFrame* frame, double seconds);

    // The chosen picture as a JPEG file, written whole through a temporary
    // file; an error when no picture was offered.
    Outcome write(const std::string& path, Disk disk) const;

private:
    Outcome keep(const AVFrame* frame, double luma);

    double target_;
    FramePtr picture_;
    double pictureLuma_ = -1.0;
    double lastLook_ = -std::numeric_limits<double>::infinity();
    bool settled_ = false;
};

}  // namespace zelvic
