// The settings grid itself, offscreen, driven by mouse and keys.

#include "grid/PropertyList.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <deque>

#include "grid/PropertyListGeometry.h"

namespace pelorine {
namespace {

// Answers the "..." choosers from a script and remembers what they were given.
class ScriptedChoosers final : public PropertyListChoosers {
public:
    std::optional<Rgb> chooseColour(QWidget*, std::optional<Rgb> preset) override {
        colourPresets.push_back(preset);
        return colour;
    }
    std::optional<std::string> chooseFontFace(QWidget*) override {
        ++fontCalls;
        return face;
    }
    std::optional<std::string> chooseFile(QWidget*, const std::string& startFolder) override {
        startFolders.push_back(startFolder);
        return file;
    }

    std::optional<Rgb> colour;
    std::optional<std::string> face;
    std::optional<std::string> file;
    std::vector<std::optional<Rgb>> colourPresets;
    std::vector<std::string> startFolders;
    int fontCalls = 0;
};

class PropertyListTest : public ::testing::Test {
protected:
    PropertyListTest() : grid(nullptr, &choosers) {
        grid.resize(190, 239);
        // Each edit as "key text".
        QObject::connect(&grid, &PropertyList::edited, &grid, [this](int key, const QString& text) {
            notices.push_back(std::to_string(key) + " " + text.toStdString());
        });
    }

    void show() {
        grid.show();
        grid.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    }

    // A row whose key is its place; returns it.
    int add(const std::string& name, EditorKind kind, const std::string& value,
            const std::string& options = "", int fixedList = 1) {
        items.push_back(PropertyItem{name, value, kind, options, fixedList});
        return grid.addItem(items.back(), static_cast<int>(items.size()) - 1);
    }
    // The value row `row` shows.
    std::string value(int row) const { return grid.item(row)->value; }
    // The owner put the value of row `row` back to what it gave the grid.
    void putBack(int row) {
        grid.updateItem(row, items[static_cast<std::size_t>(row)]);
        grid.refresh();
    }

    // The sixteen rows the window shows at start-up.
    void addStartUpRows() {
        add("Clip video", EditorKind::Combo, "no", "no|yes|");
        add("Start time", EditorKind::Edit, "00:00:00.00");
        add("End time", EditorKind::Edit, "00:00:00.00");
        add("Output format", EditorKind::Combo, "mp4", "mp4|");
        add("Split", EditorKind::Combo, "Not split", "Not split|00:10:00|650 MB|", 0);
        add("Video codec", EditorKind::Combo, "MPEG4", "MPEG4|");
        add("Video size", EditorKind::Combo, "320x240", "160x112|320x240|", 0);
        add("Video frame rate", EditorKind::Combo, "default", "default|13|25|");
        add("Video bitrate", EditorKind::Combo, "1200", "512|1200|1500|2500|", 0);
        add("Video disabled", EditorKind::Combo, "no", "no|yes|");
        add("Audio codec", EditorKind::Combo, "AAC", "AAC|");
        add("Audio sample", EditorKind::Combo, "44100", "22050|44100|");
        add("Audio bitrate", EditorKind::Combo, "128", "96|128|");
        add("Audio channel", EditorKind::Combo, "default", "default|left mono|");
        add("Audio volume", EditorKind::Combo, "default", "default|-5|", 0);
        add("Audio disabled", EditorKind::Combo, "no", "no|yes|");
    }

    void clickRow(int shownRow) {
        QTest::mouseClick(&grid, Qt::LeftButton, {}, QPoint(20, shownRow * 20 + 10));
    }

    // What the grid reported so far.
    std::vector<std::string> delivered() {
        return std::vector<std::string>(notices.begin(), notices.end());
    }

    QComboBox* combo() { return grid.findChild<QComboBox*>("propertyCombo"); }
    QLineEdit* edit() { return grid.findChild<QLineEdit*>("propertyEdit"); }
    QPushButton* button() { return grid.findChild<QPushButton*>("propertyChooserButton"); }
    QImage picture() { return grid.grab().toImage(); }

    ScriptedChoosers choosers;
    PropertyList grid;
    std::vector<PropertyItem> items;
    std::deque<std::string> notices;
};

using Strings = std::vector<std::string>;

// A clip time is announced once the user is done typing it, whatever it
// reads (the window checks it): never per key, never when the edit appears.
TEST_F(PropertyListTest, ClipTimesAreAnnouncedWhenCommittedNeverPerKey) {
    const int start = add("Start time", EditorKind::Edit, "00:00:10.00");
    const int end = add("End time", EditorKind::Edit, "00:00:20.00");
    show();
    clickRow(1);
    ASSERT_NE(edit(), nullptr);
    ASSERT_TRUE(edit()->hasFocus());
    EXPECT_EQ(edit()->text(), "00:00:20.00");
    EXPECT_EQ(delivered(), Strings{}) << "showing a time announces nothing";

    edit()->selectAll();
    QTest::keyClicks(edit(), "00:00:15.00");
    EXPECT_EQ(delivered(), Strings{});
    EXPECT_EQ(value(end), "00:00:20.00");
    QTest::keyClick(edit(), Qt::Key_Return);
    EXPECT_EQ(delivered(), Strings{"1 00:00:15.00"});
    EXPECT_EQ(value(end), "00:00:15.00");
    QTest::keyClick(edit(), Qt::Key_Return);
    EXPECT_EQ(delivered(), Strings{"1 00:00:15.00"}) << "nothing new typed";

    // Another row chosen; half a time is committed as it stands.
    clickRow(0);
    edit()->selectAll();
    QTest::keyClicks(edit(), " 00:01");
    clickRow(1);
    EXPECT_EQ(value(start), " 00:01");
    EXPECT_EQ(delivered(), (Strings{"1 00:00:15.00", "0  00:01"}));

    // Typed and typed back: no change, no notice.
    clickRow(0);
    QTest::keyClick(edit(), Qt::Key_Backspace);
    QTest::keyClicks(edit(), "1");
    clickRow(1);
    EXPECT_EQ(delivered().size(), 2u);
}

TEST_F(PropertyListTest, RefreshPutsARefusedTimeBackInTheOpenEdit) {
    const int start = add("Start time", EditorKind::Edit, "00:00:10.00");
    show();
    clickRow(0);
    edit()->selectAll();
    QTest::keyClicks(edit(), "99");
    QTest::keyClick(edit(), Qt::Key_Enter);
    EXPECT_EQ(delivered(), Strings{"0 99"});
    putBack(start);  // the window refused it
    EXPECT_EQ(edit()->text(), "00:00:10.00");
}

// A choice is reported once, by its row's key, whatever the row is.
TEST_F(PropertyListTest, AChoiceIsReportedOnceWithItsRowsKey) {
    const int clip = add("Clip video", EditorKind::Combo, "no", "no|yes|");
    add("Output format", EditorKind::Combo, "mp4", "mp4|mp3|");
    show();
    clickRow(0);
    ASSERT_NE(combo(), nullptr);
    EXPECT_FALSE(combo()->isEditable());
    EXPECT_EQ(combo()->currentText(), "no");
    QTest::keyClick(combo(), Qt::Key_Down);
    EXPECT_EQ(value(clip), "yes");
    EXPECT_EQ(delivered(), (Strings{"0 yes"}));

    clickRow(1);
    QTest::keyClick(combo(), Qt::Key_Down);
    EXPECT_EQ(delivered(), (Strings{"0 yes", "1 mp3"}));
}

TEST_F(PropertyListTest, TypedBitrateBecomesTheValueButAFixedListTakesNoTyping) {
    const int codec = add("Video codec", EditorKind::Combo, "MPEG4", "MPEG4|");
    const int bitrate = add("Video bitrate", EditorKind::Combo, "1200", "512|1200|1500|", 0);
    show();

    clickRow(1);
    ASSERT_TRUE(combo()->isEditable());
    EXPECT_EQ(combo()->currentIndex(), 1);
    EXPECT_EQ(combo()->currentText(), "1200");
    QTest::keyClick(combo(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(combo(), "999");
    QTest::keyClick(combo(), Qt::Key_Return);
    EXPECT_EQ(value(bitrate), "999");
    EXPECT_EQ(delivered(), Strings{"1 999"});
    // Typed text is not added to the list.
    EXPECT_EQ(combo()->count(), 3);

    clickRow(0);
    ASSERT_FALSE(combo()->isEditable());
    QTest::keyClicks(combo(), "999");
    EXPECT_EQ(value(codec), "MPEG4");
    EXPECT_EQ(combo()->currentText(), "MPEG4");
    EXPECT_EQ(delivered(), Strings{"1 999"});
}

// Typed values are announced once the user is done with them, never per key:
// the window checks them, and "3" on the way to "320x240" is no size.
TEST_F(PropertyListTest, TypedTextIsCommittedByEnterByLeavingAndByAnotherRow) {
    const int size = add("Video size", EditorKind::Combo, "320x240", "160x112|320x240|", 0);
    const int split = add("Split", EditorKind::Combo, "Not split", "Not split|650 MB|", 0);
    const int volume = add("Audio volume", EditorKind::Combo, "default", "default|-5|", 0);
    QLineEdit elsewhere;
    show();

    clickRow(0);
    QTest::keyClick(combo(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(combo(), "400x300");
    EXPECT_EQ(value(size), "320x240");
    EXPECT_EQ(delivered(), Strings{});
    QTest::keyClick(combo(), Qt::Key_Enter);
    EXPECT_EQ(value(size), "400x300");
    EXPECT_EQ(delivered(), Strings{"0 400x300"});
    EXPECT_TRUE(combo()->isVisible());

    // Another row chosen.
    clickRow(0);
    QTest::keyClick(combo(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(combo(), "480x272");
    clickRow(1);
    EXPECT_EQ(value(size), "480x272");
    EXPECT_EQ(delivered(), (Strings{"0 400x300", "0 480x272"}));

    // The focus leaving the combo for a widget outside the grid.
    QTest::keyClick(combo(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(combo(), "10 MB");
    EXPECT_EQ(value(split), "Not split");
    grid.setFocus(Qt::MouseFocusReason);
    EXPECT_TRUE(combo()->isHidden());
    EXPECT_EQ(value(split), "10 MB");
    EXPECT_EQ(delivered(), (Strings{"0 400x300", "0 480x272", "1 10 MB"}));

    // Nothing typed, nothing announced; a reset drops text not yet committed.
    clickRow(2);
    clickRow(1);
    EXPECT_EQ(delivered().size(), 3u);
    QTest::keyClicks(combo(), "+5");
    grid.reset();
    grid.addItem(items[static_cast<std::size_t>(volume)], volume);
    EXPECT_EQ(delivered().size(), 3u);
}

TEST_F(PropertyListTest, RefreshShowsAValueTheOwnerPutBackInTheOpenEditor) {
    const int volume = add("Audio volume", EditorKind::Combo, "default", "default|-5|", 0);
    show();
    clickRow(0);
    QTest::keyClick(combo(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(combo(), "loud");
    QTest::keyClick(combo(), Qt::Key_Return);
    ASSERT_EQ(delivered(), Strings{"0 loud"});
    putBack(volume);  // the owner refused "loud"
    EXPECT_EQ(combo()->currentText(), "default");
    EXPECT_EQ(combo()->currentIndex(), 0);
    // Leaving the combo now announces nothing more.
    grid.setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(delivered(), Strings{"0 loud"});
}

// The list of an in-place combo opens from its arrow, F4 and Alt+Down, and an
// entry picked there becomes the value; the editor stays while its list is open.
TEST_F(PropertyListTest, ComboListOpensWithTheMouseAndTheKeysAndAnEntryCanBePicked) {
    const int rate = add("Video frame rate", EditorKind::Combo, "default", "default|13|25|29.97|");
    const int size = add("Video size", EditorKind::Combo, "320x240", "160x112|320x240|", 0);
    show();

    const auto openWithArrow = [this] {
        QComboBox* box = combo();
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 4, box->height() / 2));
    };
    // The list ignores a release that comes too soon after it opened (the
    // release of the click that opened it), so the pick is repeated until taken.
    const auto pick = [this](int entry) {
        QAbstractItemView* list = combo()->view();
        const QRect place = list->visualRect(list->model()->index(entry, 0));
        QDeadlineTimer deadline(5000);
        while (list->isVisible() && !deadline.hasExpired()) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
            QTest::qWait(20);
        }
    };

    for (const bool editable : {false, true}) {
        SCOPED_TRACE(editable ? "drop-down with an edit field" : "drop-down list");
        clickRow(editable ? 1 : 0);
        openWithArrow();
        ASSERT_TRUE(combo()->isVisible());
        ASSERT_TRUE(combo()->view()->isVisible());
        pick(0);
        EXPECT_FALSE(combo()->view()->isVisible());
        EXPECT_TRUE(combo()->isVisible());
        EXPECT_EQ(editable ? value(size) : value(rate), editable ? "160x112" : "default");

        QTest::keyClick(combo(), Qt::Key_F4);
        ASSERT_TRUE(combo()->view()->isVisible());
        ASSERT_TRUE(combo()->isVisible());
        pick(1);
        EXPECT_EQ(editable ? value(size) : value(rate), editable ? "320x240" : "13");

        QTest::keyClick(combo(), Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(combo()->view()->isVisible());
        QTest::keyClick(combo()->view(), Qt::Key_Up);
        QTest::keyClick(combo()->view(), Qt::Key_Return);
        EXPECT_FALSE(combo()->view()->isVisible());
        EXPECT_TRUE(combo()->isVisible());
        EXPECT_EQ(editable ? value(size) : value(rate), editable ? "160x112" : "default");

        // Escape closes the list and keeps the value.
        QTest::keyClick(combo(), Qt::Key_F4);
        QTest::keyClick(combo()->view(), Qt::Key_Escape);
        EXPECT_FALSE(combo()->view()->isVisible());
        EXPECT_TRUE(combo()->isVisible());
    }
    EXPECT_EQ(delivered(),
              (Strings{"0 default", "0 13", "0 default", "1 160x112", "1 320x240", "1 160x112"}));
}

TEST_F(PropertyListTest, ValueOutsideTheListStillShowsWithNothingSelected) {
    add("Audio sample", EditorKind::Combo, "12345", "22050|44100|");
    add("Video size", EditorKind::Combo, "333x222", "160x112|320x240|", 0);
    show();
    clickRow(0);
    EXPECT_EQ(combo()->currentIndex(), -1);
    EXPECT_EQ(combo()->placeholderText(), "12345");
    clickRow(1);
    EXPECT_EQ(combo()->currentIndex(), -1);
    EXPECT_EQ(combo()->currentText(), "333x222");
    EXPECT_EQ(delivered(), Strings{});
}

TEST_F(PropertyListTest, VideoRowsAreShadedDarkerThanAudioAndOtherRows) {
    addStartUpRows();
    show();
    const QImage image = picture();
    const int shown = wholeRowsIn(grid.height());
    for (int row = 0; row < shown; ++row) {
        const PropertyItem* item = grid.item(row);
        const QColor inside = image.pixelColor(1, row * 20 + 1);
        const int expected = item->name.rfind("Video", 0) == 0 ? 235 : 250;
        EXPECT_EQ(inside, QColor(expected, expected, expected)) << item->name;
        EXPECT_EQ(image.pixelColor(0, row * 20 + 10), QColor(200, 200, 200)) << item->name;
    }
    // The audio rows further down, once scrolled to.
    grid.findChild<QScrollBar*>()->setValue(grid.count() - shown);
    const QImage scrolled = picture();
    for (int row = grid.topRow(); row < grid.count(); ++row) {
        const int y = (row - grid.topRow()) * 20 + 1;
        const bool video = grid.item(row)->name.rfind("Video", 0) == 0;
        EXPECT_EQ(scrolled.pixelColor(1, y).red(), video ? 235 : 250) << grid.item(row)->name;
    }
}

TEST_F(PropertyListTest, DividerDraggedToSixtyRedrawsEveryRowAndStays) {
    addStartUpRows();
    show();
    picture();
    const int start = grid.divider();
    const int rowWidth = grid.width() - grid.findChild<QScrollBar*>()->width();
    ASSERT_EQ(start, rowWidth / 2);

    QTest::mousePress(&grid, Qt::LeftButton, {}, QPoint(start + 3, 30));
    EXPECT_EQ(grid.cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseMove(&grid, QPoint(70, 50));
    // While dragging, the guide inverts the shaded name cell under it.
    EXPECT_LT(picture().pixelColor(70, 121).red(), 50);
    EXPECT_EQ(grid.divider(), start);
    QTest::mouseMove(&grid, QPoint(60, 50));
    QTest::mouseRelease(&grid, Qt::LeftButton, {}, QPoint(60, 50));
    EXPECT_EQ(grid.divider(), 60);

    const auto splitAtSixty = [](const QImage& image, int rows) {
        for (int row = 0; row < rows; ++row) {
            const int y = row * 20 + 1;
            EXPECT_NE(image.pixelColor(57, y), QColor(Qt::white)) << row;
            EXPECT_EQ(image.pixelColor(59, y + 5), QColor(200, 200, 200)) << row;
            EXPECT_EQ(image.pixelColor(61, y), QColor(Qt::white)) << row;
            EXPECT_EQ(image.pixelColor(70, y), QColor(Qt::white)) << row;
        }
    };
    const int shown = wholeRowsIn(grid.height());
    splitAtSixty(picture(), shown);

    // The divider outlives the rows: the next profile's rows get it too.
    grid.reset();
    for (std::size_t row = 0; row < items.size(); ++row) {
        grid.addItem(items[row], static_cast<int>(row));
    }
    splitAtSixty(picture(), shown);
    EXPECT_EQ(grid.divider(), 60);

    // Editors open at the new split.
    clickRow(0);
    EXPECT_EQ(combo()->geometry().left(), 60);
}

TEST_F(PropertyListTest, DividerCannotBeDraggedOutOfTheGrid) {
    add("Video size", EditorKind::Combo, "320x240", "320x240|");
    show();
    picture();
    QTest::mousePress(&grid, Qt::LeftButton, {}, QPoint(grid.divider(), 5));
    QTest::mouseRelease(&grid, Qt::LeftButton, {}, QPoint(2, 5));
    EXPECT_EQ(grid.divider(), 10);
    QTest::mousePress(&grid, Qt::LeftButton, {}, QPoint(12, 5));
    QTest::mouseRelease(&grid, Qt::LeftButton, {}, QPoint(400, 5));
    EXPECT_EQ(grid.divider(), grid.width() - 11);
    EXPECT_EQ(combo(), nullptr);  // a drag opens no editor
}

TEST_F(PropertyListTest, LeavingAnEditorHidesItAndKeepsTheValue) {
    const int end = add("End time", EditorKind::Edit, "");
    add("Split", EditorKind::Combo, "Not split", "Not split|650 MB|", 0);
    show();
    clickRow(0);
    QTest::keyClicks(edit(), "12");
    clickRow(1);
    EXPECT_TRUE(edit()->isHidden());
    EXPECT_TRUE(combo()->isVisible());
    EXPECT_EQ(value(end), "12");
    clickRow(0);  // a new edit box replaces the old one
    EXPECT_EQ(grid.findChildren<QLineEdit*>("propertyEdit").size(), 1);
    EXPECT_TRUE(combo()->isHidden());
    EXPECT_EQ(edit()->text(), "12");
}

// Every row is reached from the keyboard: Tab takes the keyboard into the
// grid, the next Tab opens the first row and goes on through combo and edit
// rows alike (committing what was typed, changing nothing else) and leaves
// past the last; Shift+Tab goes back the same way; Down, F2 or Enter on the
// grid open a row.
TEST_F(PropertyListTest, TheKeyboardReachesEveryRowWhateverItsEditor) {
    QWidget window;
    auto* before = new QLineEdit(&window);
    grid.setParent(&window);
    auto* after = new QLineEdit(&window);
    grid.move(0, 30);
    after->move(0, 280);
    window.resize(200, 320);
    add("Clip video", EditorKind::Combo, "no", "no|yes|");
    const int start = add("Start time", EditorKind::Edit, "00:00:00.00");
    add("Split", EditorKind::Combo, "Not split", "Not split|650 MB|", 0);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    before->setFocus();

    QTest::keyClick(before, Qt::Key_Tab);
    EXPECT_TRUE(grid.hasFocus());
    EXPECT_EQ(combo(), nullptr);
    QTest::keyClick(&grid, Qt::Key_Tab);
    ASSERT_NE(combo(), nullptr);
    EXPECT_TRUE(combo()->hasFocus());
    EXPECT_EQ(grid.currentRow(), 0);
    QTest::keyClick(combo(), Qt::Key_Tab);
    EXPECT_EQ(grid.currentRow(), 1);
    ASSERT_TRUE(edit()->hasFocus());
    edit()->selectAll();
    QTest::keyClicks(edit(), "00:00:01.00");
    QTest::keyClick(edit(), Qt::Key_Tab);
    EXPECT_EQ(value(start), "00:00:01.00");
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_TRUE(combo()->hasFocus());
    QTest::keyClick(combo(), Qt::Key_Tab);
    EXPECT_TRUE(after->hasFocus()) << "past the last row the grid is left";
    EXPECT_TRUE(combo()->isHidden());
    EXPECT_EQ(delivered(), Strings{"1 00:00:01.00"});

    QTest::keyClick(after, Qt::Key_Backtab);
    EXPECT_TRUE(grid.hasFocus());
    QTest::keyClick(&grid, Qt::Key_Backtab);
    EXPECT_EQ(grid.currentRow(), 2);
    QTest::keyClick(combo(), Qt::Key_Backtab);
    QTest::keyClick(edit(), Qt::Key_Backtab);
    EXPECT_EQ(grid.currentRow(), 0);
    QTest::keyClick(combo(), Qt::Key_Backtab);
    EXPECT_TRUE(before->hasFocus());

    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_F2, Qt::Key_Return}) {
        QTest::keyClick(before, Qt::Key_Tab);
        QTest::keyClick(&grid, key);
        ASSERT_NE(combo(), nullptr);
        EXPECT_TRUE(combo()->isVisible() && combo()->hasFocus()) << key;
        EXPECT_EQ(grid.currentRow(), 0) << key;
        before->setFocus();
    }
    EXPECT_EQ(delivered(), Strings{"1 00:00:01.00"});
    grid.setParent(nullptr);
}

TEST_F(PropertyListTest, ScrollingHidesTheComboAndMovesTheRowsUnderThePointer) {
    addStartUpRows();
    show();
    clickRow(0);
    ASSERT_TRUE(combo()->isVisible());
    QWheelEvent down(QPointF(20, 20), grid.mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&grid, &down);
    EXPECT_GT(grid.topRow(), 0);
    EXPECT_TRUE(combo()->isHidden());
    clickRow(0);
    EXPECT_EQ(grid.currentRow(), grid.topRow());
}

TEST_F(PropertyListTest, ColourButtonPresetsFromTheValueAndStoresTheChoice) {
    const int colour = add("Border", EditorKind::Colour, "RGB(10,20,30)");
    show();
    clickRow(0);
    ASSERT_NE(button(), nullptr);
    EXPECT_TRUE(button()->isVisible());
    EXPECT_EQ(button()->text(), "...");
    EXPECT_EQ(button()->geometry().right(), grid.width() - 1);
    EXPECT_EQ(button()->geometry().size(), QSize(25, 17));

    QTest::mouseClick(button(), Qt::LeftButton);  // cancelled
    EXPECT_EQ(value(colour), "RGB(10,20,30)");
    EXPECT_TRUE(button()->isVisible());

    choosers.colour = Rgb{1, 2, 3};
    QTest::mouseClick(button(), Qt::LeftButton);
    EXPECT_EQ(value(colour), "RGB(1,2,3)");
    EXPECT_TRUE(button()->isHidden());
    ASSERT_EQ(choosers.colourPresets.size(), 2u);
    EXPECT_EQ(choosers.colourPresets[1], (Rgb{10, 20, 30}));
    EXPECT_EQ(delivered(), Strings{"0 RGB(1,2,3)"});
}

TEST_F(PropertyListTest, FontAndFileButtonsStoreTheFaceAndThePath) {
    const int font = add("Caption font", EditorKind::Font, "Old Face");
    const int file = add("Logo", EditorKind::File, "/home/ann/pics/logo.gif");
    show();
    choosers.face = "DejaVu Sans";
    choosers.file = "/tmp/other.gif";

    clickRow(0);
    QTest::mouseClick(button(), Qt::LeftButton);
    EXPECT_EQ(value(font), "DejaVu Sans");
    EXPECT_EQ(choosers.fontCalls, 1);

    clickRow(1);
    EXPECT_TRUE(button()->isVisible());
    QTest::mouseClick(button(), Qt::LeftButton);
    EXPECT_EQ(value(file), "/tmp/other.gif");
    EXPECT_EQ(choosers.startFolders, Strings{"/home/ann/pics"});
    EXPECT_EQ(delivered(), (Strings{"0 DejaVu Sans", "1 /tmp/other.gif"}));
}

}  // namespace
}  // namespace pelorine
