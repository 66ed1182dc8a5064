#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include <gtest/gtest.h>

#include "controls/ColourMath.h"
#include "controls/FlatMenuLook.h"
#include "controls/FlatMenuStyle.h"
#include "controls/MenuCatalog.h"
#include "controls/SkinMenu.h"
#include "controls/SkinPictures.h"

namespace pelorine::controls {
namespace {

const DesktopMenuColours kDiffering{
    QColor(212, 208, 200), QColor(255, 255, 255), QColor(49, 106, 197), QColor(0, 0, 0),
    QColor(128, 128, 128), QColor(255, 255, 255), QColor(128, 128, 128)};

TEST(FlatMenuLookTest, ColoursDependOnWhetherFaceAndMenuDiffer) {
    const FlatMenuColours differ = flatMenuColours(kDiffering);
    EXPECT_EQ(differ.strip, QColor(236, 233, 216));
    EXPECT_EQ(differ.highlightFill, lighten(QColor(49, 106, 197), 0.7));
    EXPECT_EQ(differ.face, QColor(212, 208, 200));

    DesktopMenuColours same = kDiffering;
    same.menu = same.buttonFace;
    const FlatMenuColours equal = flatMenuColours(same);
    EXPECT_EQ(equal.background, QColor(Qt::white));
    EXPECT_EQ(equal.face, lighten(QColor(212, 208, 200), 0.35));
    EXPECT_EQ(equal.highlightFill, lighten(QColor(49, 106, 197), 0.85));
    EXPECT_EQ(equal.disabledText, lighten(QColor(128, 128, 128), 0.55));
}

TEST(FlatMenuLookTest, MeasuresSeparatorsAndTextItems) {
    EXPECT_EQ(measureMenuItem(true, 0, 0, 19), QSize(0, 9));
    // Average character (60 + 3) / 10 = 6: 18 + 60 + 32 + 4.
    EXPECT_EQ(measureMenuItem(false, 60, 10, 19), QSize(114, 19));
    EXPECT_EQ(measureMenuItem(false, 60, 10, 12), QSize(114, 19));
    EXPECT_EQ(measureMenuItem(false, 0, 0, 22), QSize(36, 22));
}

class FlatMenuItemTest : public ::testing::Test {
protected:
    QImage draw(const MenuItemLook& look) {
        QImage image(120, 20, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        paintFlatMenuItem(painter, image.rect(), look, colours, QFont());
        return image;
    }
    int count(const QImage& image, const QColor& colour, const QRect& area) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                n += image.pixelColor(x, y) == colour;
            }
        }
        return n;
    }
    FlatMenuColours colours = flatMenuColours(kDiffering);
    const QRect pictureArea{3, 2, 16, 15};
};

TEST_F(FlatMenuItemTest, NormalItemHasTheStripAndItsPicture) {
    MenuItemLook look;
    look.text = QStringLiteral("Add File...");
    look.picture = *SkinPictures::load(249);
    const QImage image = draw(look);
    EXPECT_EQ(image.pixelColor(20, 10), colours.strip);
    EXPECT_EQ(image.pixelColor(60, 1), colours.background);
    // The picture cell is framed in the face colour.
    EXPECT_EQ(image.pixelColor(1, 1), colours.face);
    // The picture shows: most of its cell is not the strip colour.
    EXPECT_LT(count(image, colours.strip, pictureArea), 16 * 15 / 2);
    // Some text was drawn right of the strip.
    EXPECT_GT(count(image, colours.text, QRect(25, 0, 95, 20)), 5);
}

TEST_F(FlatMenuItemTest, SelectedItemIsTintedAndFramed) {
    MenuItemLook look;
    look.text = QStringLiteral("Clear");
    look.selected = true;
    const QImage image = draw(look);
    EXPECT_EQ(image.pixelColor(0, 0), colours.highlight);
    EXPECT_EQ(image.pixelColor(119, 19), colours.highlight);
    EXPECT_EQ(image.pixelColor(10, 10), colours.highlightFill);
    EXPECT_EQ(image.pixelColor(110, 10), colours.highlightFill);
}

TEST_F(FlatMenuItemTest, DisabledItemNeverShowsSelected) {
    MenuItemLook look;
    look.text = QStringLiteral("Clear");
    look.selected = true;
    look.enabled = false;
    const QImage image = draw(look);
    EXPECT_EQ(image.pixelColor(110, 10), colours.background);
    EXPECT_EQ(count(image, colours.highlightFill, image.rect()), 0);
}

TEST_F(FlatMenuItemTest, SeparatorContinuesTheStrip) {
    MenuItemLook look;
    look.separator = true;
    QImage image(120, 9, QImage::Format_RGB32);
    QPainter painter(&image);
    paintFlatMenuItem(painter, image.rect(), look, colours, QFont());
    painter.end();
    EXPECT_EQ(image.pixelColor(10, 4), colours.strip);
    EXPECT_EQ(image.pixelColor(60, 4), colours.embossShadow);
    EXPECT_EQ(image.pixelColor(60, 5), colours.embossLight);
    EXPECT_EQ(image.pixelColor(60, 1), colours.background);
}

TEST(MenuCatalogTest, MenusHoldTheirItemsInOrder) {
    const auto& file = menuEntries(143);
    ASSERT_EQ(file.size(), 13u);
    EXPECT_EQ(file.front().commandId, 32771);
    EXPECT_STREQ(file.front().text, "&New project");
    EXPECT_EQ(file.back().commandId, 32777);
    EXPECT_EQ(file.back().pictureId, 0);
    EXPECT_EQ(menuEntries(238).size(), 14u);
    EXPECT_EQ(menuEntries(145).back().commandId, 32836);
    EXPECT_STREQ(menuEntries(145).back().text, "&Keep the list when Pelorine closes");
    EXPECT_EQ(menuEntries(239).size(), 2u);
    EXPECT_TRUE(menuEntries(1).empty());
    for (int id : {143, 144, 145, 146, 147, 148, 238, 239}) {
        for (const MenuEntry& e : menuEntries(id)) {
            if (e.pictureId != 0) {
                EXPECT_TRUE(SkinPictures::load(e.pictureId).has_value()) << e.pictureId;
            }
        }
    }
}

TEST(SkinMenuTest, TriggeringAnItemReportsItsCommand) {
    auto menu = buildSkinMenu(143);
    ASSERT_EQ(menu->actions().size(), 13);
    EXPECT_EQ(SkinMenu::commandOf(menu->actions().at(3)), 0);  // separator
    // Separators take half a menu bar's height.
    menu->adjustSize();
    const QRect separator = menu->actionGeometry(menu->actions().at(3));
    EXPECT_EQ(separator.height(), FlatMenuStyle::menuBarHeight(menu->fontMetrics()) / 2);
    EXPECT_EQ(separator.width(), menu->actionGeometry(menu->actions().at(2)).width());
    std::vector<int> chosen;
    QObject::connect(menu.get(), &SkinMenu::commandChosen,
                     [&chosen](int id) { chosen.push_back(id); });
    QAction* clear = menu->actionForCommand(32776);
    ASSERT_NE(clear, nullptr);
    EXPECT_EQ(clear->text(), QStringLiteral("&Clear"));
    clear->trigger();
    menu->actionForCommand(1012)->trigger();
    EXPECT_EQ(chosen, (std::vector<int>{32776, 1012}));
}

void pressKey(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

// Settings → Jobs at once: a submenu of nine items, one choice among them,
// whose command comes back from the menu it hangs in.
TEST(SkinMenuTest, ASubmenuIsOneExclusiveChoiceChosenThroughItsMenu) {
    auto menu = buildSkinMenu(145);
    QMenu* jobs = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->menu()) {
            EXPECT_EQ(jobs, nullptr) << "one submenu";
            jobs = action->menu();
            EXPECT_EQ(action->text(), QStringLiteral("&Jobs at once"));
            EXPECT_EQ(SkinMenu::commandOf(action), 0);
        }
    }
    ASSERT_NE(jobs, nullptr);
    ASSERT_EQ(jobs->actions().size(), 9);
    QStringList texts;
    for (int i = 0; i < 9; ++i) {
        QAction* item = jobs->actions().at(i);
        texts << item->text();
        EXPECT_EQ(SkinMenu::commandOf(item), 32837 + i);
        EXPECT_TRUE(item->isCheckable());
    }
    EXPECT_EQ(texts.join(QLatin1Char(' ')), QStringLiteral("Auto 1 2 3 4 5 6 7 8"));
    jobs->actions().at(2)->setChecked(true);
    jobs->actions().at(5)->setChecked(true);
    EXPECT_FALSE(jobs->actions().at(2)->isChecked()) << "exclusive";

    // Down to the fifth item, into its submenu, down to "2", take it.
    QTimer::singleShot(0, menu.get(), [&menu] {
        for (int i = 0; i < 5; ++i) {
            pressKey(menu.get(), Qt::Key_Down);
        }
        pressKey(menu.get(), Qt::Key_Right);
        QTimer::singleShot(0, [] {
            QWidget* open = QApplication::activePopupWidget();
            for (int i = 0; i < 2; ++i) {
                pressKey(open, Qt::Key_Down);
            }
            pressKey(open, Qt::Key_Return);
        });
    });
    EXPECT_EQ(menu->choose(QPoint(100, 100)), 32839);
}

TEST(SkinMenuTest, ChooseReturnsTheCommandOfTheChosenItem) {
    auto menu = buildSkinMenu(239);
    // Once the menu is up, move to its second item and take it.
    QTimer::singleShot(0, menu.get(), [&menu] {
        pressKey(menu.get(), Qt::Key_Down);
        pressKey(menu.get(), Qt::Key_Down);
        pressKey(menu.get(), Qt::Key_Return);
    });
    EXPECT_EQ(menu->choose(QPoint(100, 100)), 32803);

    QTimer::singleShot(0, menu.get(), [&menu] { pressKey(menu.get(), Qt::Key_Escape); });
    EXPECT_EQ(menu->choose(QPoint(100, 100)), 0);
}

TEST(SkinMenuTest, ItemsCarryTheirPictures) {
    auto menu = buildSkinMenu(148);
    EXPECT_FALSE(menu->actionForCommand(32785)->icon().isNull());
    EXPECT_TRUE(menu->actionForCommand(32787)->icon().isNull());  // About has none
    menu->setItemPicture(32787, 262);
    EXPECT_FALSE(menu->actionForCommand(32787)->icon().isNull());
    menu->setItemPicture(32787, 0);
    EXPECT_TRUE(menu->actionForCommand(32787)->icon().isNull());
    // A picture that cannot be loaded leaves the item without one.
    menu->setItemPicture(32785, 9999);
    EXPECT_TRUE(menu->actionForCommand(32785)->icon().isNull());
}

TEST(SkinMenuTest, DrawsItsItemsInTheFlatLook) {
    auto menu = buildSkinMenu(239);
    menu->ensurePolished();
    menu->adjustSize();
    const FlatMenuColours colours = FlatMenuStyle::coloursOf(menu->palette());
    QImage image = menu->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QAction* add = menu->actionForCommand(32801);
    const QRect addRect = menu->actionGeometry(add);
    EXPECT_GE(addRect.height(), kMenuPictureHeight + 4);
    // The strip right of the picture cell.
    EXPECT_EQ(image.pixelColor(addRect.left() + 20, addRect.center().y()), colours.strip);

    menu->setActiveAction(add);
    image = menu->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.pixelColor(addRect.right() - 3, addRect.center().y()), colours.highlightFill);
    EXPECT_EQ(image.pixelColor(addRect.left(), addRect.top()), colours.highlight);
}

}  // namespace
}  // namespace pelorine::controls
