#include "window/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "app/SmallDialogText.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/OutputNameDialog.h"
#include "dialogs/OverwriteDialog.h"
#include "dialogs/PowerOffDialog.h"
#include "dialogs/TracksDialog.h"
#include "dialogs/VideoInformationDialog.h"
#include "dvd/DvdDialog.h"
#include "settings/OutputFolder.h"

namespace pelorine {
namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

int ask(QWidget* owner, QMessageBox::Icon icon, const std::string& caption, const std::string& text,
        QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, qt(caption), qt(text), buttons, owner);
    return box.exec();
}

}  // namespace

void applyDialogColours() {
    qApp->setStyleSheet(
        "QDialog, QMessageBox { background-color: rgb(213, 224, 240); color: black; }"
        "QDialog QLabel, QMessageBox QLabel { color: black; }");
}

void QtDialogs::message(const std::string& text) {
    ask(owner_, QMessageBox::NoIcon, kProductTitle, text, QMessageBox::Ok);
}

void QtDialogs::warning(const std::string& text, const std::string& caption) {
    ask(owner_, QMessageBox::Warning, caption, text, QMessageBox::Ok);
}

bool QtDialogs::confirm(const std::string& text, const std::string& caption) {
    return ask(owner_, QMessageBox::Warning, caption, text,
               QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

std::optional<std::string> QtDialogs::chooseFolder(const std::string& prompt) {
    QFileDialog dialog(owner_, "Output folder");
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    // Our own dialog, so that it can show the prompt and the status line.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setDirectory(QDir::homePath());
    auto* status = new QLabel(&dialog);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        grid->addWidget(new QLabel(qt(prompt), &dialog), grid->rowCount(), 0, 1, -1);
        grid->addWidget(status, grid->rowCount(), 0, 1, -1);
    }
    QObject::connect(&dialog, &QFileDialog::currentChanged, status, [status](const QString& path) {
        status->setText(QString::fromStdString(folderStatusText(path.toStdString())));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace pelorine

namespace pelorine {

std::vector<std::string> QtDialogs::chooseFiles(const std::string& filter,
                                                const std::string& folder) {
    QFileDialog dialog(owner_, "Add files");
    dialog.setFileMode(QFileDialog::ExistingFiles);
    // Our own dialog matches the patterns in any case: "CLIP.AVI" is an avi file.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(qtNameFilters(filter));
    const QDir start(qt(folder));
    dialog.setDirectory(!folder.empty() && start.exists() ? start : QDir::home());
    std::vector<std::string> chosen;
    if (dialog.exec() == QDialog::Accepted) {
        for (const QString& file : dialog.selectedFiles()) {
            chosen.push_back(file.toStdString());
        }
    }
    return chosen;
}

namespace {

// One file, to open or to save; nothing when cancelled.
std::optional<std::string> chooseOneFile(QWidget* owner, const std::string& filter,
                                         const std::string& extension, bool save) {
    QFileDialog dialog(owner, save ? "Save as" : "Open");
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(qtNameFilters(filter));
    dialog.setDefaultSuffix(qt(extension));
    dialog.setDirectory(QDir::homePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace

std::optional<std::string> QtDialogs::chooseOpenFile(const std::string& filter,
                                                     const std::string& extension) {
    return chooseOneFile(owner_, filter, extension, false);
}

std::optional<std::string> QtDialogs::chooseSaveFile(const std::string& filter,
                                                     const std::string& extension) {
    return chooseOneFile(owner_, filter, extension, true);
}

bool QtDialogs::endMessage(const std::string& text, bool offerLog) {
    QMessageBox box(QMessageBox::NoIcon, kProductTitle, qt(text), QMessageBox::Ok, owner_);
    QPushButton* log = offerLog ? box.addButton("Show Log", QMessageBox::ActionRole) : nullptr;
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    return log != nullptr && box.clickedButton() == log;
}

bool QtDialogs::powerOffCountdown(int seconds, const std::string& summary) {
    return runPowerOffDialog(owner_, seconds, qt(summary));
}

void QtDialogs::showVideoInformation(const Job& job) {
    runVideoInformationDialog(owner_, videoInformationOf(job));
}

std::optional<int> QtDialogs::chooseOverwritePolicy(int current) {
    return runOverwriteDialog(owner_, current);
}

std::optional<std::pair<int, int>> QtDialogs::chooseTracks(const TrackLists& lists) {
    return runTracksDialog(owner_, lists);
}

std::optional<TrackPreferences> QtDialogs::chooseTrackDefaults(const TrackPreferences& current) {
    return runTrackDefaultsDialog(owner_, current);
}

std::optional<std::string> QtDialogs::askOutputFileName() {
    return runOutputNameDialog(owner_);
}

void QtDialogs::showAbout() {
    runAboutDialog(owner_);
}

QStringList qtNameFilters(const std::string& filter) {
    // "name|patterns|name|patterns||"
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) {
            break;
        }
        filters << QString("%1 (%2)").arg(parts[i], parts[i + 1].split(';').join(' '));
    }
    return filters;
}

}  // namespace pelorine

namespace pelorine {

std::optional<DvdChoice> QtDialogs::runDvdDialog(DiscReader& reader,
                                                 const std::vector<std::string>& drives) {
    return pelorine::runDvdDialog(owner_, reader, drives);
}

}  // namespace pelorine
