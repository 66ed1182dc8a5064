#pragma once
// A control the left mouse button drags (the seek bar, the clip range
// slider): a left press takes the keyboard focus and starts the drag, every
// move goes to the drag, a left release ends it, and the control repaints
// when the focus comes or goes, as it draws its focus itself.

#include <QMouseEvent>
#include <QWidget>

namespace pelorine::controls {

class DragControl : public QWidget {
public:
    using QWidget::QWidget;

protected:
    virtual void dragStarts(QPoint at) = 0;
    virtual void dragMoves(QPoint at) = 0;
    virtual void dragEnds() = 0;

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            setFocus(Qt::MouseFocusReason);
            dragStarts(event->position().toPoint());
        }
    }
    void mouseMoveEvent(QMouseEvent* event) override { dragMoves(event->position().toPoint()); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            dragEnds();
        }
    }
    void focusInEvent(QFocusEvent*) override { update(); }
    void focusOutEvent(QFocusEvent*) override { update(); }
};

}  // namespace pelorine::controls
