// The DVD dialog offscreen: its lists where the layout puts them, its
// painted labels and hint, and its run from show to OK or Cancel.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QTest>
#include <QTimer>

#include "controls/GradientButton.h"
#include "dvd/DvdDialog.h"

namespace pelorine {
namespace {

class OneDiscReader final : public DiscReader {
public:
    std::unique_ptr<MediaInfo> read(const std::string& mediaText) override {
        texts.push_back(mediaText);
        auto info = std::make_unique<MediaInfo>();
        info->clearStreams();
        info->setMediaLength(60.0);
        info->setTitleCount(2);
        info->setChapterCount(0, 4);
        info->setChapterCount(1, 7);
        info->setAudio(0, 0x80, "English", "ac3 6ch");
        return info;
    }
    std::vector<std::string> texts;
};

QStringList itemsOf(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items << box->itemText(i);
    }
    return items;
}

// Dark pixels (text) inside `area` of the dialog's picture.
int inkIn(QDialog& dialog, const QRect& area) {
    const QImage picture = dialog.grab().toImage();
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            ink += qGray(picture.pixel(x, y)) < 100 ? 1 : 0;
        }
    }
    return ink;
}

TEST(DvdDialogWidget, ListsAtTheirPlacesAndLabelsOnTheTint) {
    OneDiscReader reader;
    DvdDialog dialog(reader, {"/dev/sr0"});
    EXPECT_EQ(dialog.windowTitle(), "DVD Disc");
    EXPECT_EQ(dialog.size(), QSize(380, 310));
    EXPECT_EQ(dialog.list(DvdList::Drive)->objectName(), "1037");
    EXPECT_EQ(dialog.list(DvdList::AudioChannel)->objectName(), "1043");
    EXPECT_EQ(dialog.list(DvdList::Drive)->geometry().topLeft(), QPoint(118, 28));
    EXPECT_EQ(dialog.list(DvdList::ChapterTo)->geometry().topLeft(), QPoint(254, 100));
    EXPECT_EQ(dialog.okButton()->geometry(), QRect(100, 272, 76, 24));
    EXPECT_EQ(dialog.cancelButton()->geometry(), QRect(192, 272, 76, 24));

    dialog.model().initialise();
    const QImage picture = dialog.grab().toImage();
    EXPECT_EQ(QColor(picture.pixel(5, 5)), QColor(213, 224, 240));
    EXPECT_GT(inkIn(dialog, QRect(55, 30, 40, 14)), 10) << "Drive:";
    EXPECT_GT(inkIn(dialog, QRect(232, 103, 20, 14)), 5) << "To:";
    EXPECT_GT(inkIn(dialog, QRect(20, 211, 90, 14)), 10) << "Audio Channel:";
    EXPECT_EQ(inkIn(dialog, QRect(12, 236, 356, 30)), 0) << "no hint";
}

TEST(DvdDialogWidget, ShowsTheModelsListsAndReportsOnlyTheUsersPicks) {
    OneDiscReader reader;
    DvdDialog dialog(reader, {"/dev/sr0"});
    dialog.model().initialise();
    ASSERT_EQ(reader.texts.size(), 1u);
    EXPECT_EQ(itemsOf(dialog.list(DvdList::Drive)), (QStringList{"/dev/sr0", "Folder…", "Image…"}));
    EXPECT_EQ(itemsOf(dialog.list(DvdList::Title)), (QStringList{"1", "2"}));
    EXPECT_EQ(dialog.list(DvdList::ChapterTo)->currentText(), "4");
    EXPECT_EQ(itemsOf(dialog.list(DvdList::AudioStream)),
              (QStringList{"0:English(ac3 6ch)", "none"}));
    EXPECT_EQ(dialog.list(DvdList::Subtitle)->currentText(), "none");
    EXPECT_EQ(dialog.list(DvdList::AudioChannel)->currentText(), "default");

    QComboBox* titles = dialog.list(DvdList::Title);
    titles->setCurrentIndex(1);
    EXPECT_EQ(reader.texts.size(), 1u) << "a change by the program reads nothing";
    emit titles->activated(1);
    ASSERT_EQ(reader.texts.size(), 2u);
    EXPECT_EQ(reader.texts.back(), R"( dvd://2 -dvd-device "/dev/sr0" )");
    EXPECT_EQ(itemsOf(dialog.list(DvdList::ChapterFrom)).size(), 7);
    EXPECT_TRUE(dialog.list(DvdList::Title)->isEnabled()) << "busy only while reading";
}

TEST(DvdDialogWidget, WithoutADriveTheHintShowsInsteadOfClosing) {
    OneDiscReader reader;
    DvdDialog dialog(reader, {});
    dialog.model().initialise();
    EXPECT_EQ(dialog.hint().toStdString(), kNoDriveHint);
    EXPECT_GT(inkIn(dialog, QRect(12, 236, 356, 30)), 20);
    EXPECT_EQ(itemsOf(dialog.list(DvdList::Drive)), (QStringList{"Folder…", "Image…"}));
    EXPECT_TRUE(reader.texts.empty());
}

// Runs `act` on the modal dialog once it is up.
void whenModal(std::function<void(DvdDialog&)> act) {
    auto* timer = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, act] {
        auto* dialog = qobject_cast<DvdDialog*>(QApplication::activeModalWidget());
        if ((dialog && dialog->isVisible() && dialog->list(DvdList::Title)->count() > 0) ||
            clock->hasExpired(10000)) {
            timer->stop();
            timer->deleteLater();
            if (dialog) {
                act(*dialog);
            }
        }
    });
    timer->start(5);
}

TEST(DvdDialogWidget, ARunReadsTheDiscOnceShownAndGivesTheChoiceOnOk) {
    OneDiscReader reader;
    whenModal([](DvdDialog& dialog) {
        dialog.list(DvdList::ChapterFrom)->setCurrentIndex(1);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    });
    const auto choice = runDvdDialog(nullptr, reader, {"/dev/sr0"});
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->drive, "/dev/sr0");
    EXPECT_EQ(choice->chapterFirst, 2);
    EXPECT_EQ(choice->chapterLast, 4);
    EXPECT_EQ(choice->audioId, 0x80);

    whenModal([](DvdDialog& dialog) { QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton); });
    EXPECT_FALSE(runDvdDialog(nullptr, reader, {"/dev/sr0"}));
}

}  // namespace
}  // namespace pelorine
