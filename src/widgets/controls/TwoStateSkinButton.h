#pragma once
// A skin button with two sets of pictures, switched by its owner: the Play
// button shows "play" in its first state and "pause" in its second.

#include "controls/SkinButton.h"

namespace pelorine::controls {

class TwoStateSkinButton : public SkinButton {
    Q_OBJECT

public:
    explicit TwoStateSkinButton(QWidget* parent = nullptr);

    // The argument order of the second set (normal, hover, pressed) differs
    // from the first on purpose: it is the order the window's table uses.
    void setPictures(int firstNormal, int firstPressed, int firstHover, int secondNormal,
                     int secondHover, int secondPressed);

    // false: the first state, true: the second.
    void setSecondState(bool second);
    bool isSecondState() const { return second_; }

protected:
    SkinPictureIds currentPictures() const override;

private:
    SkinPictureIds first_;
    SkinPictureIds secondSet_;
    bool second_ = false;
};

}  // namespace pelorine::controls
