#include "controls/FlatMenuStyle.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

#include <algorithm>

namespace pelorine::controls {

// Fusion draws the same everywhere, so whatever the menu does not draw itself
// (scroll arrows, tear-off) looks the same on every desktop.
FlatMenuStyle::FlatMenuStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

FlatMenuColours FlatMenuStyle::coloursOf(const QPalette& palette) {
    return flatMenuColours({palette.color(QPalette::Button), palette.color(QPalette::Window),
                            palette.color(QPalette::Highlight), palette.color(QPalette::WindowText),
                            palette.color(QPalette::Disabled, QPalette::WindowText),
                            palette.color(QPalette::Light), palette.color(QPalette::Dark)});
}

int FlatMenuStyle::menuBarHeight(const QFontMetrics& metrics) {
    return std::max(19, metrics.height() + 5);
}

void FlatMenuStyle::drawControl(ControlElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element != CE_MenuItem || item == nullptr) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    MenuItemLook look;
    look.separator = item->menuItemType == QStyleOptionMenuItem::Separator;
    look.selected = (item->state & State_Selected) != 0;
    look.enabled = (item->state & State_Enabled) != 0;
    look.checked = item->checked;
    look.radio = item->checkType == QStyleOptionMenuItem::Exclusive;
    look.submenu = item->menuItemType == QStyleOptionMenuItem::SubMenu;
    look.text = item->text;
    if (!item->icon.isNull()) {
        look.picture = item->icon.pixmap(QSize(kMenuPictureWidth, kMenuPictureWidth));
    }
    paintFlatMenuItem(*painter, item->rect, look, coloursOf(item->palette), item->font);
}

void FlatMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const {
    const FlatMenuColours colours = coloursOf(option->palette);
    if (element == PE_PanelMenu) {
        painter->fillRect(option->rect, colours.background);
        return;
    }
    if (element == PE_FrameMenu) {
        painter->save();
        painter->setPen(colours.embossShadow);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        painter->restore();
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

QSize FlatMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                      const QSize& size, const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type != CT_MenuItem || item == nullptr) {
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    }
    const bool separator = item->menuItemType == QStyleOptionMenuItem::Separator;
    QString text = item->text;
    text.remove(QLatin1Char('&'));
    const QFontMetrics& metrics = item->fontMetrics;
    const QSize measured = measureMenuItem(separator, metrics.horizontalAdvance(text),
                                           static_cast<int>(text.size()), menuBarHeight(metrics));
    // QMenu leaves out items of empty size; a separator takes the menu's width anyway.
    return measured.expandedTo(QSize(1, 1));
}

int FlatMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                               const QWidget* widget) const {
    switch (metric) {
        case PM_MenuPanelWidth:
            return 1;
        case PM_MenuHMargin:
            return 1;
        case PM_MenuVMargin:
            return 2;
        case PM_MenuDesktopFrameWidth:
            return 0;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

}  // namespace pelorine::controls
