#pragma once
// The clip range slider's state and arithmetic: the whole range (min .. max),
// the chosen clip (left .. right), where its two handles and the bar between
// them are drawn, what a click grabs, and how drags and arrow keys move the
// clip. Plain values; the widget paints `layout()` and forwards input here.
//
// Every mouse drag step and every arrow key reports to the parent (see
// `RangeNotice`); the setters used by the program never do. A range whose
// max equals its min (a Job of length 0) draws both handles at the left end
// and never divides.

#include <optional>

namespace pelorine::preview {

// A rectangle in client pixels; right and bottom are exclusive.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    int centreX() const { return (left + right) / 2; }
    int centreY() const { return (top + bottom) / 2; }
    bool operator==(const PixelRect&) const = default;
};

// Which part of the slider a drag moves.
enum class RangePart { Left = 0, Right = 1, Bar = 2 };

// The notification's value: 0 after a left-handle step or a key with Shift,
// 1 after a right-handle step that moved the end (0 when it did not), 2 after
// a bar step or a key without Shift.
using RangeNotice = int;

enum class RangeKey { Left, Right };

// Where everything is drawn for the current values and client size.
struct RangeSliderLayout {
    int arrowWidth = 0;      // a handle's width: 3/4 of the height
    int trackLength = 0;     // width - 2 * arrowWidth
    int leftPixel = 0;       // pixel(left): where the left handle starts
    int rightPixel = 0;      // pixel(right): the right handle starts arrowWidth after it
    PixelRect leftHandle;    // outlined and filled
    PixelRect rightHandle;   // outlined and filled
    PixelRect leftRect;      // the left handle's hit rectangle and raised edge
    PixelRect rightRect;     // the right handle's; the whole handle while it is dragged
    bool leftRaised = true;  // no raised edge on the handle being dragged
    bool rightRaised = true;
    PixelRect bar;  // the white bar between the handles (may be empty)
};

class RangeSliderModel {
public:
    void setSize(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }

    double minimum() const { return min_; }
    double maximum() const { return max_; }
    double left() const { return left_; }
    double right() const { return right_; }

    // The whole range: the smaller of the two becomes the minimum.
    void setMinMax(double a, double b);
    // The clip, brought into the whole range; left after right stays so.
    void setRange(double left, double right);

    bool tracking() const { return tracking_; }
    RangePart trackedPart() const { return part_; }

    int arrowWidth() const { return height_ * 3 / 4; }
    int trackLength() const { return width_ - 2 * arrowWidth(); }
    // The pixel of value `v` on the track.
    int pixelOf(double v) const;
    RangeSliderLayout layout() const;

    // Left button down: true when it grabbed a handle or the bar.
    bool press(int x, int y);
    // The mouse moved while tracking: the notice every step sends.
    std::optional<RangeNotice> move(int x, int y);
    void release() { tracking_ = false; }
    // An arrow key; nothing with Ctrl held or when the range has no length.
    std::optional<RangeNotice> key(RangeKey key, bool shift, bool ctrl);

private:
    void normalise();
    // Seconds per pixel; 0 when the track has no length.
    double secondsPerPixel() const;

    int width_ = 0;
    int height_ = 0;
    double min_ = 0.0;
    double max_ = 1.0;
    double left_ = 0.0;
    double right_ = 1.0;
    bool tracking_ = false;
    RangePart part_ = RangePart::Left;
    int clickOffsetX_ = 0;
    int clickOffsetY_ = 0;
};

}  // namespace pelorine::preview
