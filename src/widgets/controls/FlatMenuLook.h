#pragma once
// The flat look of the skinned pop-up menus: each item has a 16-pixel picture
// in a tinted strip at its left; the highlighted item is a light tint of the
// highlight colour framed in the full colour.

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QString>

namespace pelorine::controls {

inline constexpr int kMenuPictureWidth = 16;
// Pictures are 16 x 16 but menus show their top 15 rows.
inline constexpr int kMenuPictureHeight = 15;
inline constexpr QRgb kMenuStripColour = qRgb(236, 233, 216);

struct FlatMenuColours {
    QColor face;
    QColor background;
    QColor strip;
    QColor highlight;
    QColor highlightFill;
    QColor checkedFill;
    QColor text;
    QColor disabledText;
    QColor embossLight;
    QColor embossShadow;
};

struct DesktopMenuColours {
    QColor buttonFace;
    QColor menu;
    QColor highlight;
    QColor menuText;
    QColor greyText;
    QColor buttonHighlight;
    QColor buttonShadow;
};

// When the button face and menu colours are the same, the menu turns white and
// the face lightens, so the strip and highlight still stand out.
FlatMenuColours flatMenuColours(const DesktopMenuColours& desktop);

// Size of one item: a separator is half a menu bar high; a text item leaves
// room for the picture, the text and three average characters.
QSize measureMenuItem(bool separator, int textWidth, int characters, int menuBarHeight);

struct MenuItemLook {
    bool separator = false;
    bool selected = false;
    bool enabled = true;
    bool checked = false;
    bool radio = false;
    bool submenu = false;  // opens a menu of its own: an arrow at the right
    QString text;          // "text\taccelerator" or plain text
    QPixmap picture;
};

void paintFlatMenuItem(QPainter& painter, const QRect& item, const MenuItemLook& look,
                       const FlatMenuColours& colours, const QFont& font);

}  // namespace pelorine::controls
