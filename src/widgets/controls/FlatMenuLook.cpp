#include "controls/FlatMenuLook.h"

#include <QImage>

#include <algorithm>

#include "controls/ColourMath.h"

namespace pelorine::controls {
namespace {

// A one-pixel frame on the inside of a rectangle.
void frame(QPainter& painter, const QRect& r, const QColor& colour) {
    if (r.width() <= 0 || r.height() <= 0) {
        return;
    }
    painter.save();
    painter.setPen(colour);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(r.adjusted(0, 0, -1, -1));
    painter.restore();
}

// The rectangle from (left, top) to the exclusive corner (right, bottom).
QRect edges(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

// The picture's shape in one colour, for the embossed look of disabled items.
QPixmap silhouette(const QPixmap& picture, const QColor& colour) {
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(image.rect(), colour);
    p.end();
    return QPixmap::fromImage(image);
}

}  // namespace

FlatMenuColours flatMenuColours(const DesktopMenuColours& given) {
    // Palette colours may carry 16-bit channels; menus are drawn in 8 bits.
    const auto eightBit = [](const QColor& colour) { return QColor(colour.rgb()); };
    const DesktopMenuColours desktop{eightBit(given.buttonFace),  eightBit(given.menu),
                                     eightBit(given.highlight),   eightBit(given.menuText),
                                     eightBit(given.greyText),    eightBit(given.buttonHighlight),
                                     eightBit(given.buttonShadow)};
    FlatMenuColours c;
    c.face = desktop.buttonFace;
    c.background = desktop.menu;
    const bool same = desktop.buttonFace.rgb() == desktop.menu.rgb();
    if (same) {
        c.face = lighten(c.face, 0.35);
        c.background = Qt::white;
    }
    c.strip = QColor(kMenuStripColour);
    c.highlight = desktop.highlight;
    c.highlightFill = lighten(desktop.highlight, same ? 0.85 : 0.7);
    c.checkedFill = lighten(desktop.highlight, 0.85);
    c.text = desktop.menuText;
    c.disabledText = same ? lighten(desktop.greyText, 0.55) : desktop.greyText;
    c.embossLight = desktop.buttonHighlight;
    c.embossShadow = desktop.buttonShadow;
    return c;
}

QSize measureMenuItem(bool separator, int textWidth, int characters, int menuBarHeight) {
    if (separator) {
        return {0, menuBarHeight / 2};
    }
    const int average = characters > 0 ? (textWidth + 3) / characters : 0;
    return {3 * average + textWidth + 2 * kMenuPictureWidth + 4,
            std::max(kMenuPictureHeight + 4, menuBarHeight)};
}

namespace {

// The picture strip's width from the item's left edge.
QRect pictureStrip(const QRect& item) {
    return edges(item.left(), item.top(), item.left() + kMenuPictureWidth + 5,
                 item.top() + item.height());
}

// An etched line across the rest of the item at half its height.
void paintSeparator(QPainter& painter, const QRect& item, const FlatMenuColours& colours) {
    const QRect strip = pictureStrip(item);
    const int right = item.left() + item.width();
    painter.fillRect(item, colours.background);
    const int y = item.top() + item.height() / 2;
    painter.fillRect(edges(strip.right() + 1 + 4, y, right, y + 1), colours.embossShadow);
    painter.fillRect(edges(strip.right() + 1 + 4, y + 1, right, y + 2), colours.embossLight);
    painter.fillRect(strip, colours.strip);
    frame(painter, strip, colours.face);
}

void paintBackground(QPainter& painter, const QRect& item, bool selected,
                     const FlatMenuColours& colours) {
    if (selected) {
        painter.fillRect(item, colours.highlightFill);
        frame(painter, item, colours.highlight);
        return;
    }
    const QRect strip = pictureStrip(item);
    painter.fillRect(item, colours.background);
    painter.fillRect(strip, colours.strip);
    frame(painter, item, colours.background);
    frame(painter, strip, colours.strip);
}

// Vertical room above the picture cell, centring it in the item.
int pictureTop(const QRect& item) {
    return std::max(0, (item.height() - kMenuPictureHeight - 4) / 2);
}

void paintPicture(QPainter& painter, const QRect& item, const MenuItemLook& look,
                  const FlatMenuColours& colours) {
    const int left = item.left();
    const int top = item.top();
    const int t = pictureTop(item);
    if (look.checked) {
        const QRect checkedCell =
            edges(left + 1, top, left + kMenuPictureWidth + 4, top + item.height());
        painter.fillRect(checkedCell, colours.checkedFill);
        frame(painter, checkedCell, colours.highlight);
    } else {
        frame(painter,
              edges(left + 1, top + t + 1, left + kMenuPictureWidth + 3,
                    top + t + kMenuPictureHeight + 3),
              colours.face);
    }
    const QRect source(0, 0, kMenuPictureWidth, kMenuPictureHeight);
    const QPoint at(left + 3, top + t + 2);
    if (look.enabled) {
        painter.drawPixmap(at, look.picture, source);
    } else {
        painter.drawPixmap(at + QPoint(1, 1), silhouette(look.picture, colours.embossLight),
                           source);
        painter.drawPixmap(at, silhouette(look.picture, colours.embossShadow), source);
    }
}

// A check mark or a radio dot in a box, for a checked item without a picture.
void paintCheck(QPainter& painter, const QRect& item, bool radio, const FlatMenuColours& colours) {
    const int left = item.left();
    const int top = item.top() + pictureTop(item);
    const QRect box =
        edges(left + 2, top + 2, left + kMenuPictureWidth + 2, top + kMenuPictureHeight + 2);
    painter.fillRect(box, colours.checkedFill);
    frame(painter, box, colours.highlight);
    if (radio) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colours.text);
        painter.drawEllipse(QRect(box.left() + 5, box.top() + 4, 6, 6));
        return;
    }
    static constexpr int kTops[] = {2, 3, 4, 3, 2, 1, 0};
    for (int i = 0; i < 7; ++i) {
        painter.fillRect(QRect(box.left() + 5 + i, box.top() + 4 + kTops[i], 1, 3), colours.text);
    }
}

// The label at the left, the accelerator (after the last tab) at the right.
void paintText(QPainter& painter, const QRect& item, const MenuItemLook& look,
               const FlatMenuColours& colours, const QFont& font) {
    const QRect textBox = edges(item.left() + kMenuPictureWidth + 9, item.top() - 1,
                                item.left() + item.width(), item.top() + item.height() - 1);
    const qsizetype firstTab = look.text.indexOf(QLatin1Char('\t'));
    const QString label = firstTab < 0 ? look.text : look.text.left(firstTab);
    const QString accelerator =
        firstTab < 0 ? QString() : look.text.mid(look.text.lastIndexOf(QLatin1Char('\t')) + 1);
    painter.setFont(font);
    painter.setPen(look.enabled ? colours.text : colours.disabledText);
    painter.drawText(textBox,
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
                     label);
    if (!accelerator.isEmpty()) {
        painter.drawText(textBox.adjusted(0, 0, -kMenuPictureWidth, 0),
                         Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, accelerator);
    }
}

// A solid arrow four pixels wide, pointing right, centred in the item.
void paintSubmenuArrow(QPainter& painter, const QRect& item, const QColor& colour) {
    const int x = item.left() + item.width() - 12;
    const int y = item.top() + item.height() / 2;
    for (int i = 0; i < 4; ++i) {
        painter.fillRect(QRect(x + i, y - 3 + i, 1, 7 - 2 * i), colour);
    }
}

}  // namespace

void paintFlatMenuItem(QPainter& painter, const QRect& item, const MenuItemLook& look,
                       const FlatMenuColours& colours, const QFont& font) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (look.separator) {
        paintSeparator(painter, item, colours);
        painter.restore();
        return;
    }
    // A disabled item never shows as selected.
    paintBackground(painter, item, look.selected && look.enabled, colours);
    if (!look.picture.isNull()) {
        paintPicture(painter, item, look, colours);
    } else if (look.checked) {
        paintCheck(painter, item, look.radio, colours);
    }
    paintText(painter, item, look, colours, font);
    if (look.submenu) {
        paintSubmenuArrow(painter, item, look.enabled ? colours.text : colours.disabledText);
    }
    painter.restore();
}

}  // namespace pelorine::controls
