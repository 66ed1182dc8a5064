#pragma once
// A button drawn entirely from three pictures of the skin: normal, pressed and
// hover. It clicks like any button (clicked()); the owner moves the keyboard
// focus away after handling a click, because a focused skin button keeps
// showing its pressed picture.

#include <QAbstractButton>

#include "controls/SkinButtonFace.h"

namespace pelorine::controls {

class SkinButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit SkinButton(QWidget* parent = nullptr);

    // Picture ids of the skin; 0 for pressed or hover shows the normal picture.
    void setPictures(int normal, int pressed, int hover);
    SkinPictureIds pictures() const { return ids_; }

    bool isHovered() const { return hovered_; }

    // The picture id the next paint draws.
    int shownPicture() const;

    QSize sizeHint() const override;

signals:
    // A picture could not be loaded; the skin is broken and the owner should
    // end the program. Emitted while painting, so connect it queued.
    void pictureMissing(int id);

protected:
    // The pictures of the current state; the two-state button switches sets.
    virtual SkinPictureIds currentPictures() const { return ids_; }

    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void setHovered(bool hovered);

    SkinPictureIds ids_;
    bool hovered_ = false;
};

}  // namespace pelorine::controls
