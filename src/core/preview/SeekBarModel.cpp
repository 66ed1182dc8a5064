#include "preview/SeekBarModel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pelorine::preview {
namespace {

// Positions computed from a pixel come back to that pixel: without this a
// product such as 0.9999999999 * 163 would truncate one pixel short.
constexpr double kRoundingSlack = 1e-9;

}  // namespace

void SeekBarModel::setRange(double minimum, double maximum) {
    min_ = minimum;
    max_ = maximum;
}

void SeekBarModel::setPosition(double value) {
    pos_ = value;
    if (pos_ > max_) {
        pos_ = max_;
    }
    if (pos_ < min_) {
        pos_ = min_;
    }
}

int SeekBarModel::pixelOf(double value) const {
    const double span = max_ - min_;
    if (span == 0.0) {
        return metrics_.firstPixel();
    }
    return static_cast<int>(std::trunc((value - min_) / span * metrics_.track() +
                                       metrics_.firstPixel() + kRoundingSlack));
}

double SeekBarModel::positionOf(int x) const {
    const int track = metrics_.track();
    if (track <= 0) {
        return min_;
    }
    return min_ + static_cast<double>(x - metrics_.firstPixel()) / track * (max_ - min_);
}

std::optional<SeekNotice> SeekBarModel::press(int x) {
    dragging_ = true;
    const int thumb = thumbPixel();
    mouseOffset_ = std::abs(x - thumb) > metrics_.thumbWidth / 2 ? 0 : x - thumb;
    return move(x);
}

std::optional<SeekNotice> SeekBarModel::move(int x) {
    if (!dragging_) {
        return std::nullopt;
    }
    const int target = std::clamp(x - mouseOffset_, metrics_.firstPixel(),
                                  std::max(metrics_.firstPixel(), metrics_.lastPixel()));
    if (target == thumbPixel()) {
        return std::nullopt;
    }
    setPosition(positionOf(target));
    return notice(SeekNotice::Kind::Moved);
}

SeekNotice SeekBarModel::release() {
    dragging_ = false;
    return notice(SeekNotice::Kind::Released);
}

SeekNotice SeekBarModel::notice(SeekNotice::Kind kind) const {
    return {kind, static_cast<int>(std::trunc(pos_))};
}

}  // namespace pelorine::preview
