#pragma once
// The preview's part of the main window: the preview area the engine plays
// into, the seek bar and the clip range slider at their places, and the
// playback timer. It forwards the user's seeks and clip changes to the
// controller and shows what the controller asks for (the PreviewView calls,
// which the window passes on).

#include <QObject>
#include <QTimer>

#include <cstddef>
#include <functional>
#include <optional>

#include "app/MainController.h"

namespace pelorine::controls {
class TwoStateSkinButton;
}

namespace pelorine::preview {
class PreviewWindow;
class RangeSlider;
class SeekBar;
}  // namespace pelorine::preview

namespace pelorine {

class PreviewPanel final : public QObject {
    Q_OBJECT

public:
    using Place = std::function<void(QWidget*, int id, int left, int top, int right, int bottom)>;

    // The job list's selected row, sent with a seek.
    using SelectedRow = std::function<std::optional<std::size_t>()>;

    // Creates the controls in `window` and wires them to `controller`;
    // `skinBroken` is called (queued) when a picture of the skin is missing.
    PreviewPanel(QWidget* window, MainController& controller, const Place& place,
                 const std::function<void()>& skinBroken, SelectedRow selectedRow);

    // The Play button, once the window has made it.
    void setPlayButton(controls::TwoStateSkinButton* button) { playButton_ = button; }

    preview::PreviewTarget previewTarget();
    void setPreviewPause(int showPause);
    void setPlayButtonState(bool playing);
    void startPlaybackTimer(int periodMs);
    void stopPlaybackTimer() { playbackTimer_.stop(); }
    void setSeekPosition(double seconds);
    // A row was loaded: the seek bar over the whole Job at its clip's start,
    // the slider on the clip.
    void showClip(double start, double end, double duration);
    // The window is about to be dragged by its title strip: a paused
    // preview shows its pause notice meanwhile.
    void windowDragStarts();

private:
    MainController& controller_;
    SelectedRow selectedRow_;
    preview::PreviewWindow* previewWindow_ = nullptr;
    preview::SeekBar* seekBar_ = nullptr;
    preview::RangeSlider* rangeSlider_ = nullptr;
    controls::TwoStateSkinButton* playButton_ = nullptr;
    QTimer playbackTimer_;
};

}  // namespace pelorine
