#pragma once
// Colours drawn into the pictures: RGB as the video's YUV (BT.601, video
// range, as DVD and handheld pictures are), and one value laid over another.

#include <algorithm>
#include <cmath>
#include <cstdint>

extern "C" {
#include <libavutil/pixfmt.h>
}

namespace zelvic {

inline std::uint8_t clampByte(double value) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

struct Yuv {
    std::uint8_t y, u, v;
};
// The low 24 bits of `rgb`: 0xRRGGBB.
inline Yuv yuvOf(std::uint32_t rgb) {
    const double r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    return {clampByte(16 + 0.257 * r + 0.504 * g + 0.098 * b),
            clampByte(128 - 0.148 * r - 0.291 * g + 0.439 * b),
            clampByte(128 + 0.439 * r - 0.368 * g - 0.071 * b)};
}

// `over` laid on `under` with opacity `alpha` (0 transparent .. 255 opaque).
inline std::uint8_t mix(std::uint8_t under, std::uint8_t over, std::uint8_t alpha) {
    return static_cast<std::uint8_t>((under * (255 - alpha) + over * alpha + 127) / 255);
}

// Whether pictures of `format` can be drawn into (one 4:2:0 YUV layout).
inline bool isPlanar420(int format) {
    return format == AV_PIX_FMT_YUV420P || format == AV_PIX_FMT_YUVJ420P;
}

}  // namespace zelvic
