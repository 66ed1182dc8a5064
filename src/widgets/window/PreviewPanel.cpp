#include "window/PreviewPanel.h"

#include "app/Commands.h"
#include "controls/SkinLayout.h"
#include "controls/TwoStateSkinButton.h"
#include "preview/PreviewWindow.h"
#include "preview/RangeSlider.h"
#include "preview/SeekBar.h"

namespace pelorine {

PreviewPanel::PreviewPanel(QWidget* window, MainController& controller, const Place& place,
                           const std::function<void()>& skinBroken, SelectedRow selectedRow)
    : QObject(window), controller_(controller), selectedRow_(std::move(selectedRow)) {
    previewWindow_ = new preview::PreviewWindow(window);
    place(previewWindow_, command::kPreviewWindow, 520, 48, 706, 186);

    seekBar_ = new preview::SeekBar(command::kSeekBar, window);
    const bool pictures =
        seekBar_->setChannelImages(controls::kSeekChannelId, controls::kSeekChannelActiveId) &&
        seekBar_->setThumbImages(controls::kSeekThumbId, controls::kSeekThumbActiveId, true,
                                 preview::SeekBar::kKeyFromPixel, 0, 0);
    if (!pictures) {
        QMetaObject::invokeMethod(this, skinBroken, Qt::QueuedConnection);
    }
    seekBar_->setMargins(1, 1, 0, 0);
    seekBar_->setRange(0.0, 100.0, false);
    seekBar_->setPosition(40.0);
    place(seekBar_, command::kSeekBar, 528, 222, 697, 233);
    // The bar posts its release; the seek takes the bar as it is then.
    connect(seekBar_, &preview::SeekBar::released, this, [this](int id, int) {
        controller_.preview().seek({id,
                                    seekBar_->position(),
                                    seekBar_->maximum(),
                                    {rangeSlider_->left(), rangeSlider_->right()},
                                    selectedRow_()});
    });

    rangeSlider_ = new preview::RangeSlider(window);
    place(rangeSlider_, command::kRangeSlider, 520, 236, 705, 251);
    // Sent: the Job takes the clip while the drag step is still running.
    connect(rangeSlider_, &preview::RangeSlider::rangeChanged, this, [this] {
        controller_.jobOperations().edit(
            change::SliderRange{rangeSlider_->left(), rangeSlider_->right()});
    });

    connect(&playbackTimer_, &QTimer::timeout, this,
            [this] { controller_.preview().playbackTick(seekBar_->dragging()); });
}

preview::PreviewTarget PreviewPanel::previewTarget() {
    return {previewWindow_->width(), previewWindow_->height(), previewWindow_->nativeWindowId()};
}

void PreviewPanel::setPreviewPause(int showPause) {
    // The engine draws straight into the preview area, not behind a colour
    // key: painting it again while a preview runs would wipe a held picture,
    // so only a change is painted then.
    if (showPause != previewWindow_->showPause() || !controller_.preview().active()) {
        previewWindow_->setShowPause(showPause);
    }
}

void PreviewPanel::setPlayButtonState(bool playing) {
    if (playButton_) {
        playButton_->setSecondState(playing);
    }
}

void PreviewPanel::startPlaybackTimer(int periodMs) {
    playbackTimer_.start(periodMs);
}

void PreviewPanel::setSeekPosition(double seconds) {
    seekBar_->setPosition(seconds);
}

void PreviewPanel::showClip(double start, double end, double duration) {
    seekBar_->setRange(0.0, duration, true);
    seekBar_->setPosition(start);
    rangeSlider_->setMinMax(0.0, duration);
    rangeSlider_->setRange(start, end);
}

void PreviewPanel::windowDragStarts() {
    if (controller_.preview().paused()) {
        previewWindow_->setShowPause(1);
    }
}

}  // namespace pelorine
