#include "preview/PreviewWindow.h"

#include <QPainter>

#include "controls/ColourMath.h"
#include "preview/PreviewCommandLine.h"

namespace pelorine::preview {

PreviewWindow::PreviewWindow(QWidget* parent) : QWidget(parent) {
    // The engine needs a window of its own to draw into; its siblings stay
    // ordinary widgets (the program sets AA_DontCreateNativeWidgetSiblings).
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewWindow::setShowPause(int value) {
    showPause_ = value;
    update();
}

std::uint64_t PreviewWindow::nativeWindowId() {
    return static_cast<std::uint64_t>(winId());
}

void PreviewWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (showPause_ == 0) {
        painter.fillRect(rect(), QColor(controls::fromColorRef(kColourKey)));
        return;
    }
    painter.fillRect(rect(), Qt::black);
    painter.setPen(Qt::white);
    painter.drawText(QRect(45, 40, width(), height()), Qt::AlignLeft | Qt::AlignTop,
                     "----- PAUSE -----");
    painter.drawText(QRect(15, 70, width(), height()), Qt::AlignLeft | Qt::AlignTop,
                     "Press \"Play\" to continue");
}

}  // namespace pelorine::preview
