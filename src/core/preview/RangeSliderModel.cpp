#include "preview/RangeSliderModel.h"

#include <algorithm>
#include <cmath>

namespace pelorine::preview {

void RangeSliderModel::setSize(int width, int height) {
    width_ = width;
    height_ = height;
}

void RangeSliderModel::setMinMax(double a, double b) {
    min_ = std::min(a, b);
    max_ = std::max(a, b);
    normalise();
}

void RangeSliderModel::setRange(double left, double right) {
    left_ = left;
    right_ = right;
    normalise();
}

void RangeSliderModel::normalise() {
    if (left_ < min_) {
        left_ = min_;
        if (min_ > right_) {
            right_ = min_;
        }
    }
    if (right_ > max_) {
        right_ = max_;
        if (max_ < left_) {
            left_ = max_;
        }
    }
}

int RangeSliderModel::pixelOf(double v) const {
    const double span = max_ - min_;
    if (span == 0.0) {
        return 0;
    }
    return static_cast<int>(std::trunc(trackLength() * (v - min_) / span + 0.5));
}

double RangeSliderModel::secondsPerPixel() const {
    const int track = trackLength();
    return track > 0 ? (max_ - min_) / track : 0.0;
}

RangeSliderLayout RangeSliderModel::layout() const {
    RangeSliderLayout l;
    const int a = arrowWidth();
    const int h = height_;
    l.arrowWidth = a;
    l.trackLength = trackLength();
    l.leftPixel = pixelOf(left_);
    l.rightPixel = pixelOf(right_);
    const int pL = l.leftPixel;
    const int pR = l.rightPixel;
    l.leftHandle = {pL, 0, pL + a, h};
    l.leftRect = {pL + 1, 1, pL + a - 2, h - 2};
    l.leftRaised = !(tracking_ && part_ == RangePart::Left);
    l.rightHandle = {pR + a, 0, pR + 2 * a, h};
    l.rightRaised = !(tracking_ && part_ == RangePart::Right);
    l.rightRect = l.rightRaised ? PixelRect{pR + a + 1, 1, pR + 2 * a - 2, h - 2} : l.rightHandle;
    l.bar = {pL + a + 1, 1, pR + a, h - 1};
    return l;
}

bool RangeSliderModel::press(int x, int y) {
    if (tracking_) {
        return false;
    }
    const RangeSliderLayout l = layout();
    const PixelRect between{l.leftRect.right + 1, 0, l.rightRect.left - 1, height_};
    const std::pair<PixelRect, RangePart> parts[] = {
        {l.leftRect, RangePart::Left},
        {l.rightRect, RangePart::Right},
        {between, RangePart::Bar},
    };
    for (const auto& [rect, part] : parts) {
        if (rect.contains(x, y)) {
            tracking_ = true;
            part_ = part;
            clickOffsetX_ = x - rect.centreX();
            clickOffsetY_ = y - rect.centreY();
            return true;
        }
    }
    return false;
}

std::optional<RangeNotice> RangeSliderModel::move(int x, int /*y*/) {
    if (!tracking_) {
        return std::nullopt;
    }
    const int at = x - clickOffsetX_;
    const int a = arrowWidth();
    const double s = secondsPerPixel();
    switch (part_) {
        case RangePart::Left:
            left_ = min_ + (at - a / 2) * s;
            if (left_ >= right_) {
                left_ = right_;
            }
            if (left_ <= min_) {
                left_ = min_;
            }
            return 0;
        case RangePart::Right: {
            const double before = right_;
            right_ = min_ + (at - 3 * a / 2) * s;
            if (right_ <= left_) {
                right_ = left_;
            }
            if (right_ >= max_) {
                right_ = max_;
            }
            return right_ != before ? 1 : 0;
        }
        case RangePart::Bar:
            break;
    }
    // The bar keeps the clip's length wherever it is dragged.
    const double w = right_ - left_;
    const double d = (at - a) * s;
    left_ = min_ + d - w / 2;
    right_ = min_ + d + w / 2;
    if (left_ <= min_) {
        left_ = min_;
        right_ = min_ + w;
    }
    if (right_ >= max_) {
        right_ = max_;
        left_ = max_ - w;
    }
    return 2;
}

std::optional<RangeNotice> RangeSliderModel::key(RangeKey key, bool shift, bool ctrl) {
    const double s = secondsPerPixel();
    if (ctrl || s == 0.0) {
        return std::nullopt;
    }
    int a = static_cast<int>(std::trunc((left_ - min_) / s + 0.5));
    int b = static_cast<int>(std::trunc((right_ - min_) / s + 0.5));
    const int step = key == RangeKey::Right ? 1 : -1;
    b += step;
    if (!shift) {
        a += step;
    }
    // With Shift only the end moves; it never passes the start.
    const bool crossed = shift && step < 0 && b < a;
    if (a >= 0 && b <= trackLength() && !crossed) {
        left_ = min_ + a * s;
        right_ = min_ + b * s;
    }
    return shift ? 0 : 2;
}

}  // namespace pelorine::preview
