#include "play/PlayTiming.h"

#include <algorithm>
#include <cmath>

namespace zelvic {

void MasterClock::anchor(double media, double system) {
    started_ = true;
    media_ = media;
    system_ = system;
}

void MasterClock::follow(double media, double system) {
    if (!started_ || std::abs(at(system) - media) > kSyncTolerance) {
        anchor(media, system);
    }
}

double MasterClock::at(double system) const {
    if (!started_) {
        return 0.0;
    }
    return paused_ ? media_ : media_ + (system - system_);
}

void MasterClock::pause(double system) {
    if (!paused_) {
        media_ = at(system);
        system_ = system;
        paused_ = true;
    }
}

void MasterClock::resume(double system) {
    if (paused_) {
        paused_ = false;
        system_ = system;
    }
}

FrameAction frameAction(double due, std::optional<double> nextDue, double clock, bool frameDrop) {
    if (due > clock) {
        return FrameAction::Wait;
    }
    if (frameDrop && nextDue && *nextDue <= clock) {
        return FrameAction::Drop;
    }
    return FrameAction::Show;
}

Placement placePicture(int width, int height, AVRational sampleAspect, int windowWidth,
                       int windowHeight, bool keepAspect) {
    const Placement whole{0, 0, windowWidth, windowHeight};
    if (!keepAspect || width <= 0 || height <= 0 || windowWidth <= 0 || windowHeight <= 0) {
        return whole;
    }
    const double pixel = sampleAspect.num > 0 && sampleAspect.den > 0 ? av_q2d(sampleAspect) : 1.0;
    const double aspect = width * pixel / height;
    if (static_cast<double>(windowWidth) / windowHeight > aspect) {
        const int w = static_cast<int>(std::lround(windowHeight * aspect));
        return {(windowWidth - w) / 2, 0, w, windowHeight};
    }
    const int h = static_cast<int>(std::lround(windowWidth / aspect));
    return {0, (windowHeight - h) / 2, windowWidth, h};
}

int samplesPassed(double start, int frames, int sampleRate, double clock) {
    const double passed = std::ceil((clock - start) * sampleRate - 1e-6);
    return static_cast<int>(std::clamp(passed, 0.0, static_cast<double>(std::max(frames, 0))));
}

}  // namespace zelvic
