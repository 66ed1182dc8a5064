// The four small dialogs offscreen: what they show, what their buttons do, and
// their entry functions answered while they run modally.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <climits>
#include <functional>

#include "app/MainView.h"
#include "app/SmallDialogText.h"
#include "controls/GradientButton.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/OutputNameDialog.h"
#include "dialogs/OverwriteDialog.h"
#include "dialogs/PowerOffDialog.h"
#include "dialogs/VideoInformationDialog.h"

namespace pelorine {
namespace {

const QColor kDialogColour(213, 224, 240);

void click(QWidget* widget) {
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton);
}

// Answers the next modal dialog from the event loop its exec() runs: polls
// until it is up, then calls `answer` on it. A dialog still open at the
// deadline is rejected, so a failing test ends instead of hanging.
class DialogAnswer {
public:
    explicit DialogAnswer(std::function<void(QDialog&)> answer) : answer_(std::move(answer)) {
        clock_.start();
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(5);
    }

    bool answered() const { return answered_; }

private:
    void poll() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog != nullptr && dialog->isVisible()) {
            timer_.stop();
            answered_ = true;
            answer_(*dialog);
        } else if (clock_.hasExpired(10000)) {
            timer_.stop();
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* open = qobject_cast<QDialog*>(widget); open && open->isVisible()) {
                    open->reject();
                }
            }
        }
    }

    std::function<void(QDialog&)> answer_;
    QTimer timer_;
    QElapsedTimer clock_;
    bool answered_ = false;
};

template <typename Dialog>
Dialog& as(QDialog& dialog) {
    auto* typed = qobject_cast<Dialog*>(&dialog);
    EXPECT_NE(typed, nullptr);
    return *typed;
}

std::vector<bool> checkedRadios(const OverwriteDialog& dialog) {
    return {dialog.radio(1051)->isChecked(), dialog.radio(1052)->isChecked(),
            dialog.radio(1053)->isChecked()};
}

TEST(OverwriteDialog, ShowsTheStoredPolicyAndNoneForOtherValues) {
    const std::pair<int, std::vector<bool>> cases[] = {
        {0, {false, false, false}},       {1, {true, false, false}},  {2, {false, true, false}},
        {3, {false, false, true}},        {4, {false, false, false}}, {-1, {false, false, false}},
        {INT_MIN, {false, false, false}},
    };
    for (const auto& [policy, expected] : cases) {
        OverwriteDialog dialog(policy);
        EXPECT_EQ(checkedRadios(dialog), expected) << policy;
        EXPECT_EQ(dialog.policy(), policy);
    }
}

TEST(OverwriteDialog, OkWithoutAClickKeepsAStoredZero) {
    OverwriteDialog dialog(0);
    dialog.show();
    click(dialog.okButton());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.policy(), 0);
}

TEST(OverwriteDialog, TheRadioClickedLastIsThePolicy) {
    OverwriteDialog dialog(0);
    dialog.show();
    click(dialog.radio(1052));
    EXPECT_EQ(dialog.policy(), 2);
    EXPECT_EQ(checkedRadios(dialog), (std::vector<bool>{false, true, false}));
    // A click on the radio already set keeps it.
    click(dialog.radio(1052));
    EXPECT_EQ(dialog.policy(), 2);
    click(dialog.radio(1053));
    EXPECT_EQ(dialog.policy(), 3);
    click(dialog.radio(1051));
    EXPECT_EQ(dialog.policy(), 1);
    EXPECT_EQ(checkedRadios(dialog), (std::vector<bool>{true, false, false}));
    click(dialog.cancelButton());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(OverwriteDialog, HasTheTextsOfItsLayoutAndTheyFit) {
    OverwriteDialog dialog(1);
    EXPECT_EQ(dialog.windowTitle(), "Output File Overwrite");
    EXPECT_EQ(dialog.size(), QSize(336, 204));
    const auto groups = dialog.findChildren<QGroupBox*>();
    ASSERT_EQ(groups.size(), 1);
    EXPECT_EQ(groups.front()->title(), "Output file overwrite type");
    EXPECT_EQ(dialog.radio(1051)->text(), "Overwrite");
    EXPECT_EQ(dialog.radio(1052)->text(), "Not overwrite(remind me)");
    EXPECT_EQ(dialog.radio(1053)->text(), "Not overwrite(ignore the selected file)");
    EXPECT_EQ(dialog.radio(1050), nullptr);
    EXPECT_EQ(dialog.radio(1054), nullptr);
    for (int id = 1051; id <= 1053; ++id) {
        QRadioButton* radio = dialog.radio(id);
        EXPECT_EQ(radio->objectName(), QString::number(id));
        EXPECT_LE(radio->sizeHint().width(), radio->width()) << id;
        EXPECT_TRUE(groups.front()->geometry().contains(radio->geometry())) << id;
    }
    EXPECT_EQ(dialog.okButton()->text(), "OK");
    EXPECT_EQ(dialog.cancelButton()->text(), "Cancel");
}

TEST(OverwriteDialog, EntryFunctionGivesThePolicyOnOkAndNothingOnCancel) {
    DialogAnswer chooseSkip([](QDialog& running) {
        auto& dialog = as<OverwriteDialog>(running);
        EXPECT_TRUE(dialog.isModal());
        click(dialog.radio(1053));
        click(dialog.okButton());
    });
    EXPECT_EQ(runOverwriteDialog(nullptr, 1), 3);
    EXPECT_TRUE(chooseSkip.answered());

    DialogAnswer cancel([](QDialog& running) {
        auto& dialog = as<OverwriteDialog>(running);
        click(dialog.radio(1052));
        click(dialog.cancelButton());
    });
    EXPECT_EQ(runOverwriteDialog(nullptr, 1), std::nullopt);
    EXPECT_TRUE(cancel.answered());
}

TEST(OutputNameDialog, OkTakesTheTypedTextIncludingNone) {
    for (const QString& typed : {QString("holiday"), QString()}) {
        OutputNameDialog dialog;
        dialog.show();
        EXPECT_EQ(dialog.nameEdit()->objectName(), "1055");
        EXPECT_TRUE(dialog.nameEdit()->text().isEmpty());
        QTest::keyClicks(dialog.nameEdit(), typed);
        click(dialog.okButton());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.name(), typed.toStdString());
    }
}

TEST(OutputNameDialog, ANameThatLeavesTheFolderIsRefusedWithAMessage) {
    for (const QString& bad : {QString("a/../b"), QString("."), QString("..")}) {
        OutputNameDialog dialog;
        dialog.show();
        QTest::keyClicks(dialog.nameEdit(), bad);
        QString shown;
        DialogAnswer answer([&](QDialog& box) {
            auto* message = qobject_cast<QMessageBox*>(&box);
            ASSERT_NE(message, nullptr);
            shown = message->text();
            message->accept();
        });
        click(dialog.okButton());
        EXPECT_TRUE(answer.answered()) << bad.toStdString();
        EXPECT_EQ(shown.toStdString(), *outputNameProblem(bad.toStdString()));
        EXPECT_TRUE(dialog.isVisible()) << bad.toStdString();
        EXPECT_EQ(dialog.name(), "");
        // Corrected, it is taken.
        dialog.nameEdit()->setText("clip");
        click(dialog.okButton());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.name(), "clip");
    }
}

TEST(OutputNameDialog, ReturnInTheEditIsOkAndCancelKeepsNoName) {
    {
        OutputNameDialog dialog;
        dialog.show();
        QTest::keyClicks(dialog.nameEdit(), "clip.mp4");
        QTest::keyClick(dialog.nameEdit(), Qt::Key_Return);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.name(), "clip.mp4");
    }
    OutputNameDialog dialog;
    dialog.show();
    QTest::keyClicks(dialog.nameEdit(), "clip");
    click(dialog.cancelButton());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.name(), "");
}

TEST(OutputNameDialog, EntryFunctionGivesTheNameOnOkAndNothingOnCancel) {
    DialogAnswer type([](QDialog& running) {
        auto& dialog = as<OutputNameDialog>(running);
        EXPECT_EQ(dialog.windowTitle(), "Set Output File Name");
        QTest::keyClicks(dialog.nameEdit(), "holiday");
        click(dialog.okButton());
    });
    EXPECT_EQ(runOutputNameDialog(nullptr), "holiday");

    DialogAnswer cancel([](QDialog& running) {
        auto& dialog = as<OutputNameDialog>(running);
        QTest::keyClicks(dialog.nameEdit(), "holiday");
        click(dialog.cancelButton());
    });
    EXPECT_EQ(runOutputNameDialog(nullptr), std::nullopt);
    EXPECT_TRUE(cancel.answered());
}

VideoInformation clipInformation() {
    VideoInformation information;
    information.sourcePath = "/home/me/holiday.avi";
    information.outputPath = "/home/me/PSP/holiday.mp4";
    information.outputFormat = "mp4";
    information.duration = 3725.5;
    information.clipLength = 60.0;
    information.clipEnabled = 1;
    information.startText = "00:00:00.00";
    information.endText = "00:01:00.00";
    return information;
}

bool hasDarkPixel(const QImage& image, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                return true;
            }
        }
    }
    return false;
}

TEST(VideoInformationDialog, PaintsAWhiteMarginAFramedSheetAndTheLines) {
    VideoInformationDialog dialog(clipInformation());
    EXPECT_EQ(dialog.windowTitle(), "Video information");
    ASSERT_EQ(dialog.size(), QSize(488, 350));
    const QImage image = dialog.grab().toImage().scaled(dialog.size());
    const QColor sheet(230, 240, 255);
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(482, 345), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(10, 175), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(477, 175), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(240, 10), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(240, 339), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(11, 11), sheet);
    EXPECT_EQ(image.pixelColor(476, 338), sheet);
    EXPECT_EQ(image.pixelColor(15, 300), sheet);
    // Text in the first and the last line's strip, none in the gap between
    // the source and the destination lines.
    EXPECT_TRUE(hasDarkPixel(image, QRect(20, 20, 200, 20)));
    EXPECT_TRUE(hasDarkPixel(image, QRect(20, 280, 200, 20)));
    EXPECT_FALSE(hasDarkPixel(image, QRect(20, 82, 440, 16)));
}

TEST(VideoInformationDialog, TheLastLineEndsAboveTheOkButton) {
    VideoInformationDialog dialog(clipInformation());
    ASSERT_EQ(dialog.lines().size(), 11u);
    EXPECT_LE(dialog.lines().back().y + 20, dialog.okButton()->y());
    EXPECT_TRUE(dialog.rect().contains(dialog.okButton()->geometry()));
}

TEST(VideoInformationDialog, EntryFunctionReturnsOnOk) {
    DialogAnswer ok([](QDialog& running) {
        auto& dialog = as<VideoInformationDialog>(running);
        EXPECT_EQ(dialog.lines().size(), 11u);
        click(dialog.okButton());
    });
    runVideoInformationDialog(nullptr, clipInformation());
    EXPECT_TRUE(ok.answered());
}

TEST(AboutDialog, ShowsTheNoticeTheWebsiteAndTheSupportAddressInside) {
    AboutDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "About...");
    EXPECT_EQ(
        dialog.line(0)->text(),
        QString::fromUtf8("Pelorine \u2014 free software under the GNU GPL, version 2 or later"));
    EXPECT_EQ(dialog.line(1)->text(), "Website: see the help that comes with Pelorine");
    EXPECT_EQ(dialog.line(2)->text(), kSupportAddress);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(dialog.rect().contains(dialog.line(i)->geometry())) << i;
        EXPECT_GE(dialog.line(i)->width(), dialog.line(i)->sizeHint().width()) << i;
    }
    // The lines step down and right as in the layout.
    EXPECT_LT(dialog.line(0)->x(), dialog.line(1)->x());
    EXPECT_LT(dialog.line(1)->y(), dialog.line(2)->y());
    EXPECT_TRUE(dialog.rect().contains(dialog.okButton()->geometry()));
    EXPECT_GT(dialog.okButton()->y(), dialog.line(2)->geometry().bottom());
}

TEST(AboutDialog, EntryFunctionReturnsOnOk) {
    DialogAnswer ok([](QDialog& running) { click(as<AboutDialog>(running).okButton()); });
    runAboutDialog(nullptr);
    EXPECT_TRUE(ok.answered());
}

TEST(PowerOffDialog, CountsDownAndSwitchesOffAtZero) {
    PowerOffDialog dialog(3);
    EXPECT_EQ(dialog.text(),
              "The conversion is finished. The computer will be switched off in 3 seconds.");
    dialog.tick();
    dialog.tick();
    EXPECT_EQ(dialog.text(),
              "The conversion is finished. The computer will be switched off in 1 second.");
    EXPECT_EQ(dialog.result(), QDialog::Rejected) << "still counting";
    dialog.tick();
    EXPECT_EQ(dialog.secondsLeft(), 0);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(PowerOffDialog, ABatchThatWentWrongIsSummedUpAboveTheCount) {
    PowerOffDialog complete(30);
    EXPECT_EQ(complete.summary(), nullptr);
    PowerOffDialog summed(30, "1 job of 2 was converted.\n\n1 job of 2 could not be converted:");
    ASSERT_NE(summed.summary(), nullptr);
    EXPECT_TRUE(summed.summary()->isReadOnly());
    EXPECT_EQ(summed.summary()->toPlainText(),
              "1 job of 2 was converted.\n\n1 job of 2 could not be converted:");
    EXPECT_LT(summed.summary()->geometry().bottom(), summed.cancelButton()->geometry().top());
    EXPECT_GT(summed.height(), complete.height());
}

TEST(PowerOffDialog, CancelKeepsTheComputerOnAndNowDoesNotWait) {
    DialogAnswer cancel([](QDialog& running) {
        auto& dialog = as<PowerOffDialog>(running);
        EXPECT_TRUE(dialog.cancelButton()->isDefault()) << "Enter must not switch off";
        click(dialog.cancelButton());
    });
    EXPECT_FALSE(runPowerOffDialog(nullptr, 30));
    EXPECT_TRUE(cancel.answered());
    DialogAnswer now([](QDialog& running) { click(as<PowerOffDialog>(running).nowButton()); });
    EXPECT_TRUE(runPowerOffDialog(nullptr, 30));
}

TEST(SmallDialogs, AreModalInTheDialogColours) {
    OverwriteDialog overwrite(1);
    OutputNameDialog outputName;
    VideoInformationDialog information(clipInformation());
    AboutDialog about;
    for (QDialog* dialog : std::initializer_list<QDialog*>{&overwrite, &outputName, &about}) {
        EXPECT_TRUE(dialog->isModal()) << dialog->windowTitle().toStdString();
        EXPECT_EQ(dialog->palette().color(QPalette::Window), kDialogColour);
        EXPECT_EQ(dialog->palette().color(QPalette::WindowText), QColor(Qt::black));
        // The background away from any control.
        const QImage image = dialog->grab().toImage().scaled(dialog->size());
        EXPECT_EQ(image.pixelColor(dialog->width() - 5, 8), kDialogColour)
            << dialog->windowTitle().toStdString();
    }
    EXPECT_TRUE(information.isModal());
    EXPECT_EQ(information.okButton()->text(), "OK");
}

}  // namespace
}  // namespace pelorine
