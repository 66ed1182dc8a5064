// The real main window, offscreen: layout, keys, moving, the output path edit.

#include "window/MainWindow.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "app/Commands.h"
#include "grid/PropertyList.h"
#include "preview/PreviewWindow.h"
#include "preview/RangeSlider.h"
#include "preview/SeekBar.h"
#include "profiles/ProfileFile.h"
#include "support/Recorders.h"
#include "support/ScriptedWindow.h"
#include "support/TestSupport.h"
#include "support/WindowFixture.h"

namespace pelorine {
namespace {

class MainWindowTest : public testing::WindowFixture {
protected:
    MainWindowTest() {
        testing::installFakeEngine(folder.path());
        openWindow();
    }

    QWidget* control(int id) { return window->control(id); }
    QTreeWidget* jobList() { return qobject_cast<QTreeWidget*>(control(command::kJobListView)); }
    // Jobs of sources "a", "b" and "c" that the fake engine converts.
    void addJobs() {
        for (const char* name : {"a", "b", "c"}) {
            folder.write(name, "length=10");
            window->controller().jobs().append(testing::plainJob(
                folder.file(name), folder.file(std::string("out/") + name + ".MP4"), 10));
        }
    }
    void clickRow(int row) {
        QTreeWidget* list = jobList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->topLevelItem(row)).center());
    }
    void activate() {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
};

TEST_F(MainWindowTest, ControlsSitAtTheirRectangles) {
    EXPECT_EQ(window->size(), QSize(720, 540));
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    const std::pair<int, QRect> places[] = {
        {command::kAdd, QRect(26, 42, 62, 64)},
        {command::kExit, QRect(696, 2, 17, 16)},
        {command::kPlay, QRect(527, 191, 33, 29)},
        {command::kJobListView, QRect(14, 112, 492, 326)},
        {command::kProfileCombo, QRect(81, 449, 340, 20)},
        {command::kOutputPathEdit, QRect(84, 475, 330, 16)},
        {command::kJobBar, QRect(81, 510, 339, 6)},
        {command::kOverallBar, QRect(81, 520, 339, 6)},
        {command::kShutDownBox, QRect(520, 514, 189, 12)},
        {command::kSettingsGrid, QRect(518, 267, 190, 239)},
        {command::kPreviewWindow, QRect(520, 48, 186, 138)},
        {command::kSeekBar, QRect(528, 222, 169, 11)},
        {command::kRangeSlider, QRect(520, 236, 185, 15)},
    };
    for (const auto& [id, rect] : places) {
        ASSERT_NE(control(id), nullptr) << id;
        EXPECT_EQ(control(id)->geometry(), rect) << id;
    }
    auto* list = qobject_cast<QTreeWidget*>(control(command::kJobListView));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->headerItem()->text(2), "Begin Time");
    auto* profiles = qobject_cast<QComboBox*>(control(command::kProfileCombo));
    ASSERT_NE(profiles, nullptr);
    EXPECT_EQ(profiles->count(), 4) << "no customised profile before a profile file";
    EXPECT_EQ(profiles->currentText(), "PSP AVC H264 320x240 AAC (*.mp4) recommended");
    EXPECT_EQ(list->columnWidth(4), 130);
}

TEST_F(MainWindowTest, EscapeAndEnterChangeNothing) {
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QTest::keyClick(window.get(), Qt::Key_Return);
    QTest::keyClick(window.get(), Qt::Key_Enter);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(dialogs.events().empty());
}

TEST_F(MainWindowTest, OnlyTheTitleStripMovesTheWindow) {
    const QPoint start = window->pos();
    QTest::mousePress(window.get(), Qt::LeftButton, {}, QPoint(400, 30));
    QMouseEvent below(QEvent::MouseMove, QPointF(450, 80), window->mapToGlobal(QPointF(450, 80)),
                      Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(window.get(), &below);
    QTest::mouseRelease(window.get(), Qt::LeftButton, {}, QPoint(450, 80));
    EXPECT_EQ(window->pos(), start);

    QTest::mousePress(window.get(), Qt::LeftButton, {}, QPoint(400, 10));
    QMouseEvent drag(QEvent::MouseMove, QPointF(450, 60), window->mapToGlobal(QPointF(450, 60)),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(window.get(), &drag);
    QTest::mouseRelease(window.get(), Qt::LeftButton, {}, QPoint(450, 60));
    EXPECT_EQ(window->pos(), start + QPoint(50, 50));
}

TEST_F(MainWindowTest, TheOutputPathIsPastedNeverTyped) {
    auto* edit = qobject_cast<QLineEdit*>(control(command::kOutputPathEdit));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text().toStdString(), folder.file("out"));
    QTest::keyClicks(edit, "abc");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text().toStdString(), folder.file("out"));

    QApplication::clipboard()->setText(QString::fromStdString(folder.file("psp")));
    edit->selectAll();
    edit->paste();
    EXPECT_EQ(settings.outputPath(), folder.file("psp"));
    EXPECT_NE(folder.read("zelvic.ini").find("OutputPath=" + folder.file("psp")),
              std::string::npos);
}

TEST_F(MainWindowTest, AClickLoadsAJobAKeyboardMoveDoesNot) {
    for (const char* name : {"a", "b"}) {
        auto job =
            testing::plainJob(folder.file(name), folder.file(std::string("out/") + name), 10);
        job->profileIndex = kProfileMp3;
        job->outputFormat = "mp3";
        window->appendRow({"1", job->sourcePath, kZeroTime, "00:00:10.00", job->outputPath, "mp3"});
        window->controller().jobs().append(std::move(job));
    }
    auto* list = qobject_cast<QTreeWidget*>(control(command::kJobListView));
    auto* grid = qobject_cast<PropertyList*>(control(command::kSettingsGrid));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->count(), 18) << "the start profile's rows";

    list->setFocus();
    list->setCurrentItem(list->topLevelItem(0));
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(grid->count(), 18) << "the keyboard only moves the selection";

    const QRect second = list->visualItemRect(list->topLevelItem(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(grid->count(), 11) << "the MP3 Job's rows";
}

TEST_F(MainWindowTest, LoadedProfilesAreOneFifthEntryOfTheProfileBox) {
    SettingsRows rows;
    rows.set(Row::OutputFormat, "mp3|", "mp3");
    ASSERT_TRUE(
        saveProfile(folder.file("song.profile"), rows.items(), platform::systemFileSystem()));
    auto* profiles = qobject_cast<QComboBox*>(control(command::kProfileCombo));
    auto* grid = qobject_cast<PropertyList*>(control(command::kSettingsGrid));
    dialogs.fileChoice = folder.file("song.profile");
    window->controller().handleCommand(command::kLoadProfile, window->state());
    window->controller().handleCommand(command::kLoadProfile, window->state());
    EXPECT_EQ(profiles->count(), 5);
    EXPECT_EQ(profiles->currentIndex(), kProfileCustom);
    EXPECT_EQ(profiles->currentText(), "Customized profile");
    EXPECT_EQ(grid->count(), 11) << "the MP3 rows";
}

// The preview's controls, with the fake engine as the player.
class MainWindowPreviewTest : public MainWindowTest {
protected:
    // One Job of 163 seconds, one second per pixel of the slider's track,
    // clicked in the list.
    void SetUp() override {
        folder.write("clip.avi", "length=163");
        auto job = testing::plainJob(folder.file("clip.avi"), folder.file("out/clip.MP4"), 163);
        window->controller().jobs().append(std::move(job));
        list = qobject_cast<QTreeWidget*>(control(command::kJobListView));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->topLevelItem(0)).center());
    }
    preview::PreviewWindow* previewArea() {
        return static_cast<preview::PreviewWindow*>(control(command::kPreviewWindow));
    }

    QTreeWidget* list = nullptr;
};

TEST_F(MainWindowPreviewTest, AClickedRowShowsItsClipAndTheSliderSetsIt) {
    auto* seekBar = static_cast<preview::SeekBar*>(control(command::kSeekBar));
    auto* slider = static_cast<preview::RangeSlider*>(control(command::kRangeSlider));
    EXPECT_EQ(seekBar->maximum(), 163.0);
    EXPECT_EQ(seekBar->position(), 0.0);
    EXPECT_EQ(slider->maximum(), 163.0);
    EXPECT_EQ(slider->right(), 163.0);

    // The left handle's centre is 5 pixels into it; drag it 20 pixels on.
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(5, 7));
    QTest::mouseMove(slider, QPoint(25, 7));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(25, 7));
    const Job& job = window->controller().jobs().job(0);
    EXPECT_EQ(job.clipEnabled, 1);
    EXPECT_EQ(job.clipStart, 20.0);
    EXPECT_EQ(list->topLevelItem(0)->text(kBeginColumn), "00:00:20.00");
    EXPECT_EQ(window->controller().rows().value(Row::StartTime), "00:00:20.00");
    EXPECT_EQ(seekBar->position(), 20.0) << "the thumb goes to the clip's start";
}

TEST_F(MainWindowPreviewTest, APausedPreviewShowsItsNoticeWhileTheWindowIsDragged) {
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       list->visualItemRect(list->topLevelItem(0)).center());
    PreviewController& preview = window->controller().preview();
    ASSERT_TRUE(preview.active()) << "a double click plays the row";
    QTest::mousePress(window.get(), Qt::LeftButton, {}, QPoint(400, 10));
    QTest::mouseRelease(window.get(), Qt::LeftButton, {}, QPoint(400, 10));
    EXPECT_EQ(previewArea()->showPause(), 0) << "playing: no notice";

    window->controller().handleCommand(command::kPlay, window->state());
    ASSERT_TRUE(preview.paused());
    QTest::mousePress(window.get(), Qt::LeftButton, {}, QPoint(400, 10));
    QTest::mouseRelease(window.get(), Qt::LeftButton, {}, QPoint(400, 10));
    EXPECT_EQ(previewArea()->showPause(), 1);

    window->controller().handleCommand(command::kStopPlay, window->state());
    EXPECT_EQ(previewArea()->showPause(), 0);
    EXPECT_FALSE(preview.active());
}

// Delete on the list removes the Job; Qt must not select the next row by
// itself, and the grid, showing the profile's defaults, edits no Job.
TEST_F(MainWindowTest, AfterDeleteNoRowIsSelectedAndTheGridEditsNoJob) {
    addJobs();
    activate();
    auto* list = jobList();
    clickRow(1);
    ASSERT_EQ(window->controller().jobOperations().selectedIndex(), 1u);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Delete);
    ASSERT_EQ(window->controller().jobs().count(), 2u);
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_EQ(list->currentItem(), nullptr);
    auto* grid = qobject_cast<PropertyList*>(control(command::kSettingsGrid));
    ASSERT_EQ(grid->count(), 16) << "the first profile's rows, from the deleted Job's profile";

    // "Video bitrate" (row 8): a value typed and committed goes nowhere.
    const std::vector<Job> before = window->controller().jobs().snapshot();
    QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(20, 8 * 20 + 10));
    auto* combo = grid->findChild<QComboBox*>("propertyCombo");
    ASSERT_NE(combo, nullptr);
    QTest::keyClick(combo, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(combo, "2500");
    QTest::keyClick(combo, Qt::Key_Enter);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(window->controller().rows().value(Row::VideoBitrate), "2500");
    EXPECT_EQ(window->controller().jobs().snapshot(), before);
}

// Times typed into the grid of the real window: a valid one is the clip
// converted; a start after the end is refused with a message.
TEST_F(MainWindowTest, ATypedClipTimeIsAppliedOrRefused) {
    addJobs();
    Job& added = window->controller().jobs().job(0);
    added.startText = "00:00:00.00";  // as Add names them
    added.endText = "00:00:10.00";
    activate();
    clickRow(0);
    auto* grid = qobject_cast<PropertyList*>(control(command::kSettingsGrid));
    auto typeInto = [&](int gridRow, const char* text) {
        QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(20, gridRow * 20 + 10));
        auto* edit = grid->findChild<QLineEdit*>("propertyEdit");
        ASSERT_NE(edit, nullptr);
        ASSERT_TRUE(edit->isVisible());
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
        QCoreApplication::sendPostedEvents();
    };
    const Job& job = window->controller().jobs().job(0);
    typeInto(1, "00:00:02.50");  // "Start time"
    EXPECT_EQ(job.clipEnabled, 1);
    EXPECT_EQ(job.clipStart, 2.5);
    EXPECT_EQ(job.clipEnd, 10.0);
    EXPECT_EQ(window->controller().rows().value(Row::ClipVideo), "yes");
    EXPECT_EQ(jobList()->topLevelItem(0)->text(kBeginColumn), "00:00:02.50");

    const std::size_t shown = dialogs.events().size();
    typeInto(2, "00:00:01.00");  // "End time", before the start
    ASSERT_EQ(dialogs.events().size(), shown + 1);
    EXPECT_THAT(dialogs.events().back(), ::testing::HasSubstr("must start before it ends"));
    EXPECT_EQ(job.clipStart, 2.5);
    EXPECT_EQ(job.clipEnd, 10.0) << "the refused end changes nothing";
    EXPECT_EQ(window->controller().rows().value(Row::EndTime), "00:00:10.00");
    EXPECT_EQ(jobList()->topLevelItem(0)->text(kEndColumn), "00:00:10.00");
}

// While a batch converts, only its current row is selected; afterwards the
// last one is, and the grid shows it.
TEST_F(MainWindowTest, TheBatchSelectsOneRowAtATime) {
    addJobs();
    activate();
    auto* list = jobList();
    clickRow(2);
    window->controller().handleCommand(command::kConvert, window->state());
    int mostSelected = 0;
    ASSERT_TRUE(testing::waitUntil([&] {
        QCoreApplication::processEvents();
        mostSelected = std::max(mostSelected, static_cast<int>(list->selectedItems().size()));
        return !window->controller().batchActive();
    }));
    EXPECT_EQ(mostSelected, 1);
    ASSERT_EQ(list->selectedItems().size(), 1);
    EXPECT_EQ(list->selectedItems().front(), list->topLevelItem(2));
    EXPECT_EQ(window->controller().jobOperations().selectedIndex(), 2u);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(list->topLevelItem(row)->text(kStatusColumn), "done") << row;
    }
    EXPECT_EQ(dialogs.events().back(), "message Complete!");
}

TEST_F(MainWindowTest, DroppedFilesAndFoldersAreAdded) {
    std::filesystem::create_directories(folder.file("trip/day2"));
    folder.write("trip/day2/b.mp4", "length=20");
    folder.write("trip/a.avi", "length=10");
    folder.write("trip/notes.txt", "not a video");
    activate();
    auto* list = jobList();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(folder.file("trip")))});
    const QPoint at = list->viewport()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(list->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(list->viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    ASSERT_TRUE(testing::waitUntil([&] {
        QCoreApplication::processEvents();
        return window->controller().jobs().count() == 2;
    }));
    EXPECT_EQ(list->topLevelItem(0)->text(kSourceColumn).toStdString(), folder.file("trip/a.avi"));
    EXPECT_EQ(list->topLevelItem(1)->text(kSourceColumn).toStdString(),
              folder.file("trip/day2/b.mp4"));

    // Anything but local files is refused at the door.
    QMimeData web;
    web.setUrls({QUrl("https://example.org/clip.avi")});
    QDragEnterEvent refused(at, Qt::CopyAction, &web, Qt::LeftButton, {});
    QApplication::sendEvent(list->viewport(), &refused);
    EXPECT_FALSE(refused.isAccepted());
}

TEST_F(MainWindowTest, KeysReachTheirCommandsAndCellsShowWholePaths) {
    window->controller().jobs().append(
        testing::plainJob(folder.file("a"), folder.file("out/a.MP4"), 10));
    activate();
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(dialogs.filesAsked, 1) << "Ctrl+O adds";
    QTest::keyClick(window.get(), Qt::Key_F1);
    EXPECT_THAT(dialogs.events().back(), ::testing::HasSubstr("The help was not found"));
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_THAT(dialogs.events().back(), ::testing::StartsWith("save dialog")) << "Ctrl+S saves";
    // Delete belongs to the list: elsewhere it deletes no Job.
    QTest::keyClick(window.get(), Qt::Key_Delete);
    EXPECT_EQ(window->controller().jobs().count(), 1u);

    auto* list = jobList();
    const QTreeWidgetItem* row = list->topLevelItem(0);
    EXPECT_EQ(row->toolTip(kSourceColumn).toStdString(), folder.file("a"));
    EXPECT_EQ(row->toolTip(kOutputColumn).toStdString(), folder.file("out/a.mp4"));
    EXPECT_EQ(list->headerItem()->text(kStatusColumn), "Status");
    EXPECT_EQ(list->header()->visualIndex(kStatusColumn), 1) << "beside the row's number";
}

// What a test does in a menu once it opens: a menu's loop holds the caller.
void whenAMenuOpens(std::function<void(QMenu&)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act, looks = 0]() mutable {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu != nullptr || ++looks > 300) {
            timer->stop();
            timer->deleteLater();
        }
        if (menu != nullptr) {
            act(*menu);
        }
    });
    timer->start();
}

// The menus without a mouse: Alt and the menu's letter opens it, the item's
// underlined letter chooses. Edit's "Sound and Subtitles..." with no Job
// chosen says so.
TEST_F(MainWindowTest, AltAndALetterOpenTheMenusAndTheirItemsHaveLetters) {
    activate();
    QStringList items;
    whenAMenuOpens([&items](QMenu& menu) {
        for (const QAction* action : menu.actions()) {
            items << action->text();
        }
        QTest::keyClick(&menu, Qt::Key_S);
    });
    QTest::keyClick(window.get(), Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(items.join(QLatin1Char('|')),
              "Video &information...|Set &Output File Name...|&Sound and Subtitles...||"
              "Send to &PSP");
    EXPECT_EQ(dialogs.events().back(), std::string("box ") + kNoSelectionMessage);

    for (const auto& [key, first] :
         {std::pair{Qt::Key_F, "&New project"}, std::pair{Qt::Key_S, "Set Output &Path..."},
          std::pair{Qt::Key_H, "&Help..."}}) {
        activate();
        QString shown;
        whenAMenuOpens([&shown](QMenu& menu) {
            shown = menu.actions().front()->text();
            menu.close();
        });
        QTest::keyClick(window.get(), key, Qt::AltModifier);
        EXPECT_EQ(shown, QString::fromLatin1(first));
    }
}

TEST_F(MainWindowTest, ClosingAsksFirst) {
    dialogs.confirmAnswer = false;
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(dialogs.events().back(), "confirm Video Batch Converter: Exit anyway?");
    dialogs.confirmAnswer = true;
    window->close();
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace pelorine
