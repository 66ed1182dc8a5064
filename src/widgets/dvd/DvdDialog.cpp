#include "dvd/DvdDialog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>

#include <algorithm>

#include "app/MainView.h"
#include "controls/GradientButton.h"
#include "dialogs/DialogLook.h"

namespace pelorine {
namespace {

// The lists' places in dialog units; every list is a drop-down list.
struct ListPlace {
    DvdList list;
    int x, y, width;
};
constexpr ListPlace kLists[] = {
    {DvdList::Drive, 59, 14, 72},         {DvdList::Title, 59, 32, 72},
    {DvdList::ChapterFrom, 75, 50, 39},   {DvdList::ChapterTo, 127, 50, 39},
    {DvdList::Subtitle, 64, 68, 72},      {DvdList::AudioStream, 64, 86, 72},
    {DvdList::AudioChannel, 64, 104, 72},
};
constexpr int kListHeight = 12;  // the closed list; it drops down below

// The painted labels, in pixels of the client area.
struct Label {
    const char* text;
    int x, y;
};
constexpr Label kLabels[] = {
    {"Drive:", 55, 30},          {"Title:", 61, 66},     {"Chapter  From:", 40, 103},
    {"To:", 232, 103},           {"Subtitle:", 40, 138}, {"Audio Stream:", 20, 173},
    {"Audio Channel:", 20, 211},
};
const QColor kTint(0xD5, 0xE0, 0xF0);
const QRect kHintArea(12, 236, 356, 32);

}  // namespace

DvdDialog::DvdDialog(DiscReader& reader, std::vector<std::string> drives, QWidget* parent)
    : QDialog(parent) {
    dialogs::applyDialogLook(*this, QString::fromUtf8(kDvdDialogCaption), 190, 155);
    for (const ListPlace& place : kLists) {
        auto* box = new QComboBox(this);
        box->setObjectName(QString::number(kFirstListId + static_cast<int>(place.list)));
        box->setGeometry(dialogs::fromDialogUnits(place.x, place.y, place.width, kListHeight));
        lists_[static_cast<std::size_t>(place.list)] = box;
    }
    ok_ = dialogs::makeDialogButton(*this, QStringLiteral("OK"), 50, 136, 38, 12);
    ok_->setDefault(true);
    cancel_ = dialogs::makeDialogButton(*this, QStringLiteral("Cancel"), 96, 136, 38, 12);
    model_ = std::make_unique<DvdDialogModel>(*this, reader, std::move(drives));
    // `activated` comes from the user only, never from select().
    connect(list(DvdList::Drive), &QComboBox::activated, this, [this] { model_->driveChosen(); });
    connect(list(DvdList::Title), &QComboBox::activated, this, [this] { model_->titleChosen(); });
    connect(ok_, &QPushButton::clicked, this, [this] { model_->accept(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { model_->cancel(); });
}

DvdDialog::~DvdDialog() = default;

void DvdDialog::setEntries(DvdList which, const std::vector<std::string>& entries) {
    QComboBox* box = list(which);
    box->clear();
    for (const std::string& entry : entries) {
        box->addItem(QString::fromStdString(entry));
    }
    box->setCurrentIndex(-1);
    // Long entries (a folder's path, an audio stream's note) show whole when
    // the list drops down.
    int widest = 0;
    for (int i = 0; i < box->count(); ++i) {
        widest = std::max(widest, box->fontMetrics().horizontalAdvance(box->itemText(i)));
    }
    box->view()->setMinimumWidth(std::min(widest + 32, 600));
}

void DvdDialog::select(DvdList which, int index) {
    QComboBox* box = list(which);
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

int DvdDialog::selection(DvdList which) const {
    return list(which)->currentIndex();
}

void DvdDialog::showHint(const std::string& text) {
    hint_ = QString::fromStdString(text);
    update(kHintArea);
}

void DvdDialog::setBusy(bool busy) {
    for (QComboBox* box : lists_) {
        box->setEnabled(!busy);
    }
    ok_->setEnabled(!busy);
    cancel_->setEnabled(!busy);
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void DvdDialog::message(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kProductTitle),
                    QString::fromStdString(text), QMessageBox::Ok, this);
    box.exec();
}

std::optional<std::string> DvdDialog::chooseFolder() {
    const QString folder = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Choose a DVD folder (VIDEO_TS, or the folder that holds it)"));
    return folder.isEmpty() ? std::nullopt : std::optional(folder.toStdString());
}

std::optional<std::string> DvdDialog::chooseImage() {
    const QString image =
        QFileDialog::getOpenFileName(this, QStringLiteral("Choose a DVD image"), {},
                                     QStringLiteral("DVD images (*.iso *.ISO);;All files (*)"));
    return image.isEmpty() ? std::nullopt : std::optional(image.toStdString());
}

void DvdDialog::close(bool ok) {
    done(ok ? QDialog::Accepted : QDialog::Rejected);
}

void DvdDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kTint);
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::TransparentMode);
    for (const Label& label : kLabels) {
        painter.drawText(QRect(label.x, label.y, width() - label.x, height() - label.y),
                         Qt::AlignLeft | Qt::AlignTop, QString::fromLatin1(label.text));
    }
    if (!hint_.isEmpty()) {
        painter.drawText(kHintArea, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, hint_);
    }
}

std::optional<DvdChoice> runDvdDialog(QWidget* owner, DiscReader& reader,
                                      std::vector<std::string> drives) {
    DvdDialog dialog(reader, std::move(drives), owner);
    // The disc is read once the dialog shows, so the wait has a window.
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.model().initialise(); });
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.model().choice();
}

}  // namespace pelorine
