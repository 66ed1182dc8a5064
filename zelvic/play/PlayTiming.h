#pragma once
// Play mode's timing, as plain arithmetic: the master clock the pictures are
// shown by, what to do with the next picture, and where a picture goes in
// the window. Times are seconds; media times count from the start asked for.

#include <optional>

extern "C" {
#include <libavutil/rational.h>
}

namespace zelvic {

// The master clock: the sound being heard while there is sound, else the
// system clock. Readings of the sound re-anchor it only when they stray
// further than kSyncTolerance from it, so the coarse steps in which a sound
// device reports its position do not make the pictures stutter; between
// readings, and once the sound has run dry, the system clock carries it on.
class MasterClock {
public:
    static constexpr double kSyncTolerance = 0.04;

    bool started() const { return started_; }

    // Media time `media` is now, at system time `system`.
    void anchor(double media, double system);
    // A reading of the sound: re-anchors when it strays too far.
    void follow(double media, double system);
    // The media time at system time `system` (frozen while paused).
    double at(double system) const;
    void pause(double system);
    void resume(double system);

private:
    bool started_ = false;
    bool paused_ = false;
    double media_ = 0.0;
    double system_ = 0.0;
};

enum class FrameAction { Wait, Show, Drop };

// What to do with the picture due at `due` when the clock reads `clock`:
// wait for it, show it, or, with frame dropping, drop it because the next
// picture (due at `nextDue`) is already due too.
FrameAction frameAction(double due, std::optional<double> nextDue, double clock, bool frameDrop);

// How many of the `frames` sample frames at `sampleRate` Hz that start at
// media time `start` lie before `clock`: the sound the picture has already
// passed, left out so that the sound starts in step with it.
int samplesPassed(double start, int frames, int sampleRate, double clock);

// Where a picture goes inside a window: its rectangle in window pixels.
struct Placement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Placement&) const = default;
};

// A width x height picture with pixels of shape `sampleAspect` (0/1 for
// square) in a window of windowWidth x windowHeight: the whole window, or
// with `keepAspect` the largest centred rectangle of the picture's shape.
Placement placePicture(int width, int height, AVRational sampleAspect, int windowWidth,
                       int windowHeight, bool keepAspect);

}  // namespace zelvic
