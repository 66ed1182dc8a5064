#pragma once
// The seek bar's state and arithmetic: range and position in seconds, the
// mapping between positions and pixels, and the mouse drag. Plain values, so
// the widget only paints what this says and forwards the mouse to it.
//
// Geometry: the thumb's centre runs over `track()` pixels, from
// thumbWidth/2 + marginLeft (the minimum) to that plus track() (the maximum).
// A range whose maximum equals its minimum (a Job of length 0) puts the thumb
// at the left end and never divides.

#include <optional>

namespace pelorine::preview {

// What the seek bar tells its parent: the thumb moved during a drag, or the
// mouse button was released. `seconds` is the position truncated toward zero.
struct SeekNotice {
    enum class Kind { Moved, Released };
    Kind kind = Kind::Moved;
    int seconds = 0;

    bool operator==(const SeekNotice&) const = default;
};

struct SeekBarMetrics {
    int width = 0;  // the control, as large as its channel picture
    int height = 0;
    int thumbWidth = 0;
    int thumbHeight = 0;
    int marginLeft = 0;
    int marginTop = 0;
    int marginRight = 0;
    int marginBottom = 0;

    // Pixels the thumb's centre travels from the minimum to the maximum.
    int track() const { return width - marginRight - thumbWidth - marginLeft; }
    // The thumb centre's first and last pixel.
    int firstPixel() const { return thumbWidth / 2 + marginLeft; }
    int lastPixel() const { return width - thumbWidth / 2 - marginRight; }
};

class SeekBarModel {
public:
    SeekBarMetrics& metrics() { return metrics_; }
    const SeekBarMetrics& metrics() const { return metrics_; }

    double minimum() const { return min_; }
    double maximum() const { return max_; }
    double position() const { return pos_; }
    bool dragging() const { return dragging_; }

    void setRange(double minimum, double maximum);
    // Stores `value`, brought down to the maximum and then up to the minimum.
    void setPosition(double value);

    // The pixel of the thumb's centre for position `value`.
    int pixelOf(double value) const;
    // The position of the thumb's centre at pixel `x` (not clamped).
    double positionOf(int x) const;
    int thumbPixel() const { return pixelOf(pos_); }

    // Left button down at `x`: a click off the thumb moves its centre there,
    // a grab on the thumb keeps the grab point under the mouse. Starts a drag;
    // the notice of the move it causes, if any.
    std::optional<SeekNotice> press(int x);
    // The mouse at `x` while dragging: a Moved notice when the thumb went to
    // another pixel. Nothing when no drag runs.
    std::optional<SeekNotice> move(int x);
    // Left button up, with or without a drag before it: always a Released notice.
    SeekNotice release();

private:
    SeekNotice notice(SeekNotice::Kind kind) const;

    SeekBarMetrics metrics_;
    double min_ = 0.0;
    double max_ = 100.0;
    double pos_ = 0.0;
    bool dragging_ = false;
    int mouseOffset_ = 0;
};

}  // namespace pelorine::preview
