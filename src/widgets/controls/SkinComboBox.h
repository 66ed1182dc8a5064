#pragma once
// The profile combo box: the desktop's own combo, with white frames drawn over
// its edge and its drop-down button replaced by the skin's arrow picture (134).

#include <QComboBox>
#include <QRect>

namespace pelorine::controls {

inline constexpr int kComboArrowPictureId = 134;
// The drop-down button is as wide as a classic scroll-bar thumb.
inline constexpr int kComboButtonWidth = 16;

// Where the skin draws over a combo box of this client rectangle.
struct ComboSkinGeometry {
    QRect outerFrame;      // white, one pixel in from the edge
    QRect buttonFrame;     // white, around the drop-down button
    QRect arrow;           // the arrow picture is stretched into this
    QRect arrowFrameTall;  // white, enabled only: one pixel taller above and below
    QRect arrowFrameWide;  // white, enabled only: one pixel larger all round
};

ComboSkinGeometry comboSkinGeometry(const QRect& client, int buttonWidth = kComboButtonWidth);

class SkinComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit SkinComboBox(QWidget* parent = nullptr);

    bool isLeftButtonDown() const { return leftDown_; }

signals:
    // The arrow picture could not be loaded; the owner should end the program.
    // Emitted while painting, so connect it queued.
    void pictureMissing(int id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool leftDown_ = false;
};

}  // namespace pelorine::controls
