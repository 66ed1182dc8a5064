#include "dialogs/TracksDialog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>

#include <algorithm>

#include "controls/GradientButton.h"
#include "dialogs/DialogLook.h"
#include "settings/TrackSettings.h"
#include "tracks/Languages.h"

namespace pelorine {
namespace {

const QColor kTint(0xD5, 0xE0, 0xF0);

struct Label {
    const char* text;
    int x, y;  // in pixels, as the DVD dialog places its labels
};

void paintLabels(QWidget& widget, std::initializer_list<Label> labels) {
    QPainter painter(&widget);
    painter.fillRect(widget.rect(), kTint);
    painter.setPen(Qt::black);
    for (const Label& label : labels) {
        painter.drawText(QRect(label.x, label.y, widget.width() - label.x, 20),
                         Qt::AlignLeft | Qt::AlignTop, QString::fromUtf8(label.text));
    }
}

QComboBox* dropDownList(QWidget& parent, const std::vector<std::string>& entries, int current,
                        const QRect& place) {
    auto* box = new QComboBox(&parent);
    box->setGeometry(place);
    int widest = 0;
    for (const std::string& entry : entries) {
        box->addItem(QString::fromStdString(entry));
        widest =
            std::max(widest, box->fontMetrics().horizontalAdvance(box->itemText(box->count() - 1)));
    }
    box->setCurrentIndex(current >= 0 && current < box->count() ? current : 0);
    // Long entries (a file's name, a track's codec) show whole when the list drops down.
    box->view()->setMinimumWidth(std::min(widest + 32, 600));
    return box;
}

constexpr const char* kBurnRules[] = {"Never", "Always", "When the sound is foreign"};

}  // namespace

TracksDialog::TracksDialog(const TrackLists& lists, QWidget* parent) : QDialog(parent) {
    using dialogs::fromDialogUnits;
    dialogs::applyDialogLook(*this, QStringLiteral("Sound and Subtitles"), 190, 80);
    sound_ = dropDownList(*this, lists.sound, lists.soundIndex, fromDialogUnits(64, 14, 116, 12));
    sound_->setObjectName(QStringLiteral("sound"));
    subtitles_ =
        dropDownList(*this, lists.subtitles, lists.subtitleIndex, fromDialogUnits(64, 32, 116, 12));
    subtitles_->setObjectName(QStringLiteral("subtitles"));
    ok_ = dialogs::makeDialogButton(*this, QStringLiteral("OK"), 50, 58, 38, 12);
    ok_->setDefault(true);
    auto* cancel = dialogs::makeDialogButton(*this, QStringLiteral("Cancel"), 96, 58, 38, 12);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::pair<int, int> TracksDialog::chosen() const {
    return {sound_->currentIndex(), subtitles_->currentIndex()};
}

void TracksDialog::paintEvent(QPaintEvent*) {
    paintLabels(*this, {{"Audio Stream:", 20, 30}, {"Subtitle:", 40, 66}});
}

TrackDefaultsDialog::TrackDefaultsDialog(const TrackPreferences& current, QWidget* parent)
    : QDialog(parent) {
    using dialogs::fromDialogUnits;
    dialogs::applyDialogLook(*this, QStringLiteral("Sound and Subtitles of New Files"), 230, 150);
    sound_ = new QLineEdit(QString::fromStdString(languageListText(current.soundLanguages)), this);
    sound_->setGeometry(fromDialogUnits(96, 14, 124, 12));
    sound_->setPlaceholderText(QStringLiteral("jpn, en"));
    subtitles_ =
        new QLineEdit(QString::fromStdString(languageListText(current.subtitleLanguages)), this);
    subtitles_->setGeometry(fromDialogUnits(96, 32, 124, 12));
    subtitles_->setPlaceholderText(QStringLiteral("en"));
    burn_ = new QComboBox(this);
    for (const char* rule : kBurnRules) {
        burn_->addItem(QString::fromUtf8(rule));
    }
    burn_->setGeometry(fromDialogUnits(96, 50, 124, 12));
    burn_->setCurrentIndex(static_cast<int>(current.burn));
    codePage_ = new QLineEdit(QString::fromStdString(current.subtitleCodePage), this);
    codePage_->setGeometry(fromDialogUnits(96, 68, 124, 12));
    codePage_->setPlaceholderText(QStringLiteral("detected"));
    ok_ = dialogs::makeDialogButton(*this, QStringLiteral("OK"), 134, 128, 40, 13);
    ok_->setDefault(true);
    auto* cancel = dialogs::makeDialogButton(*this, QStringLiteral("Cancel"), 180, 128, 40, 13);
    connect(codePage_, &QLineEdit::textChanged, this, [this](const QString& name) {
        ok_->setEnabled(usableCodePageName(name.trimmed().toStdString()));
    });
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TrackPreferences TrackDefaultsDialog::chosen() const {
    TrackPreferences chosen;
    chosen.soundLanguages = languageList(sound_->text().toStdString());
    chosen.subtitleLanguages = languageList(subtitles_->text().toStdString());
    chosen.burn = static_cast<BurnRule>(std::clamp(burn_->currentIndex(), 0, 2));
    chosen.subtitleCodePage = codePage_->text().trimmed().toStdString();
    return chosen;
}

void TrackDefaultsDialog::paintEvent(QPaintEvent*) {
    paintLabels(*this, {{"Sound languages:", 20, 30},
                        {"Subtitle languages:", 20, 66},
                        {"Burn subtitles:", 20, 102},
                        {"Subtitle file code page:", 20, 138},
                        {"In order, as codes (en, eng) or names; a file without", 20, 176},
                        {"any of them plays its default track. \"Foreign\": the sound", 20, 194},
                        {"is in none of the subtitle languages. The code page of", 20, 212},
                        {"8-bit subtitle files (windows-1250), or empty to detect it.", 20, 230}});
}

std::optional<std::pair<int, int>> runTracksDialog(QWidget* owner, const TrackLists& lists) {
    TracksDialog dialog(lists, owner);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.chosen();
}

std::optional<TrackPreferences> runTrackDefaultsDialog(QWidget* owner,
                                                       const TrackPreferences& current) {
    TrackDefaultsDialog dialog(current, owner);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.chosen();
}

}  // namespace pelorine
