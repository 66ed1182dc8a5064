#pragma once
// The two-handle slider below the seek bar that cuts a clip out of the
// selected Job: the left handle sets the start, the right handle the end,
// and the bar between them moves the whole clip. Drawn with pens and
// brushes, no pictures.
//
// Every drag step and arrow key sends rangeChanged at once (a direct
// signal): the receiver reads left() and right() while the step is running.
// The program's own setters send nothing.

#include "controls/DragControl.h"

#include "preview/RangeSliderModel.h"

namespace pelorine::preview {

class RangeSlider : public controls::DragControl {
    Q_OBJECT

public:
    explicit RangeSlider(QWidget* parent = nullptr);

    void setMinMax(double a, double b);
    void setRange(double left, double right);
    double left() const { return model_.left(); }
    double right() const { return model_.right(); }
    double minimum() const { return model_.minimum(); }
    double maximum() const { return model_.maximum(); }
    bool tracking() const { return model_.tracking(); }

    QSize sizeHint() const override { return {185, 15}; }

signals:
    // `part`: 0 left handle or Shift+arrow, 1 right handle that moved the end,
    // 2 bar or arrow.
    void rangeChanged(int part);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragStarts(QPoint at) override;
    void dragMoves(QPoint at) override;
    void dragEnds() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void send(const std::optional<RangeNotice>& notice);

    RangeSliderModel model_;
};

}  // namespace pelorine::preview
