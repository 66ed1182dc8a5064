#pragma once
// What the preview needs of the window: the preview area the engine draws
// into, the Play button, the playback timer and the seek bar.

#include <cstddef>

#include "preview/PreviewCommandLine.h"

namespace pelorine {

class PreviewView {
public:
    virtual ~PreviewView() = default;

    // The preview area: its client size and its native window.
    virtual preview::PreviewTarget previewTarget() = 0;
    // Non-zero shows the pause notice instead of the colour key; repaints.
    virtual void setPreviewPause(int showPause) = 0;
    // The Play button's picture: its second state (pause) while playing.
    // Without `repaint` the new picture shows at the button's next repaint.
    virtual void setPlayButtonState(bool playing, bool repaint) = 0;
    // The playback timer: PreviewController::playbackTick every `periodMs`
    // until stopped; starting it again restarts it.
    virtual void startPlaybackTimer(int periodMs) = 0;
    virtual void stopPlaybackTimer() = 0;

    // Moves the seek bar's thumb (clamped to its range, in seconds).
    virtual void setSeekPosition(double seconds) = 0;

    // Makes `row` the one selected row of the job list.
    virtual void selectOnlyRow(std::size_t row) = 0;
};

}  // namespace pelorine
