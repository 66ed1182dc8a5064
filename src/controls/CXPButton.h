#pragma once
// The text button of the small dialogs (OK, Cancel): a light vertical gradient
// with orange borders while hovered and blue ones while focused.

#include <QPushButton>

#include "controls/XpButtonLook.h"

namespace pelorine::controls {

class CXPButton : public QPushButton {
    Q_OBJECT

public:
    explicit CXPButton(QWidget* parent = nullptr);
    explicit CXPButton(const QString& text, QWidget* parent = nullptr);

    bool isHovered() const { return hovered_; }
    XpButtonState lookState() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool hovered_ = false;
};

}  // namespace pelorine::controls
