#pragma once
// The text button of the small dialogs (OK, Cancel): a light vertical gradient
// with orange borders while hovered and blue ones while focused.

#include <QPushButton>

#include "controls/GradientButtonLook.h"

namespace pelorine::controls {

class GradientButton : public QPushButton {
    Q_OBJECT

public:
    explicit GradientButton(QWidget* parent = nullptr);
    explicit GradientButton(const QString& text, QWidget* parent = nullptr);

    bool isHovered() const { return hovered_; }
    GradientButtonState lookState() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool hovered_ = false;
};

}  // namespace pelorine::controls
