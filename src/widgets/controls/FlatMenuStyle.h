#pragma once
// A style for one menu: Qt asks it to measure and draw each item, and it
// answers with the flat look, in the colours of the menu's palette.

#include <QProxyStyle>

#include "controls/FlatMenuLook.h"

namespace pelorine::controls {

class FlatMenuStyle : public QProxyStyle {
    Q_OBJECT

public:
    FlatMenuStyle();

    // The menu colours taken from a palette.
    static FlatMenuColours coloursOf(const QPalette& palette);

    // A menu bar's height in the given font, the unit of separator height.
    static int menuBarHeight(const QFontMetrics& metrics);

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};

}  // namespace pelorine::controls
