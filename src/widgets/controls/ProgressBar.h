#pragma once
// A progress bar with the window's own painting; range and value are those of
// QProgressBar (the window uses 0 to 100).

#include <QProgressBar>

#include "controls/ProgressBarLook.h"

namespace pelorine::controls {

class ProgressBar : public QProgressBar {
    Q_OBJECT

public:
    explicit ProgressBar(QWidget* parent = nullptr);

    const ProgressColours& colours() const { return colours_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ProgressColours colours_;
};

}  // namespace pelorine::controls
