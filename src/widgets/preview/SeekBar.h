#pragma once
// The seek bar above the preview: a horizontal slider drawn from the skin's
// pictures, a channel whose part left of the thumb shows its "active" picture
// and a thumb drawn with a key colour left transparent. Range and position
// are seconds of the selected Job.
//
// While the thumb is dragged it posts thumbMoved each time the thumb reaches
// another pixel; every left-button release posts released. Both are posted
// (queued), so a receiver reads the bar as it is when the notice arrives.

#include <QImage>

#include "controls/DragControl.h"

#include "preview/SeekBarModel.h"

namespace pelorine::preview {

class SeekBar : public controls::DragControl {
    Q_OBJECT

public:
    // A key colour that stands for "the colour of the thumb picture's key pixel".
    static constexpr QRgb kKeyFromPixel = 0xFF000000;

    SeekBar(int controlId, QWidget* parent = nullptr);

    // The channel pictures (the active one may be 0): the control takes their
    // size. False, with nothing changed, when a picture is not in the skin.
    bool setChannelImages(int id, int activeId);
    // The thumb pictures; with `transparent`, pixels of `key` (or of the
    // picture's pixel at keyX, keyY for kKeyFromPixel) are not drawn.
    bool setThumbImages(int id, int activeId, bool transparent, QRgb key, int keyX, int keyY);
    void setMargins(int left, int top, int right, int bottom);

    void setRange(double minimum, double maximum, bool redraw);
    // Clamped into the range; always redraws.
    void setPosition(double value);

    double position() const { return model_.position(); }
    double maximum() const { return model_.maximum(); }
    double minimum() const { return model_.minimum(); }
    bool dragging() const { return model_.dragging(); }
    int thumbPixel() const { return model_.thumbPixel(); }

    QSize sizeHint() const override;

signals:
    void thumbMoved(int controlId, int seconds);
    void released(int controlId, int seconds);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void dragStarts(QPoint at) override;
    void dragMoves(QPoint at) override;
    void dragEnds() override;

private:
    void post(const std::optional<SeekNotice>& notice);

    int controlId_;
    SeekBarModel model_;
    QImage channel_;
    QImage activeChannel_;
    QImage thumb_;
    QImage activeThumb_;
};

}  // namespace pelorine::preview
