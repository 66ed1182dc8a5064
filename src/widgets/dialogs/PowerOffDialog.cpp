#include "dialogs/PowerOffDialog.h"

#include <QLabel>
#include <QPlainTextEdit>

#include "app/SmallDialogText.h"
#include "controls/GradientButton.h"
#include "dialogs/DialogLook.h"

namespace pelorine {
namespace {

// The summary's box, in dialog units, above the countdown when there is one.
constexpr int kSummaryHeight = 90;

}  // namespace

PowerOffDialog::PowerOffDialog(int seconds, const QString& summary, QWidget* parent)
    : QDialog(parent), left_(seconds) {
    const int top = summary.isEmpty() ? 0 : kSummaryHeight + 4;
    const int width = summary.isEmpty() ? 180 : 260;
    dialogs::applyDialogLook(*this, QStringLiteral("Shut down"), width, 62 + top);
    if (!summary.isEmpty()) {
        // Scrolls when many Jobs went wrong; selectable, so it can be copied.
        summary_ = new QPlainTextEdit(summary, this);
        summary_->setReadOnly(true);
        summary_->setGeometry(dialogs::fromDialogUnits(7, 7, width - 14, kSummaryHeight));
    }
    label_ = new QLabel(this);
    label_->setWordWrap(true);
    label_->setGeometry(dialogs::fromDialogUnits(7, 7 + top, width - 14, 28));
    now_ = dialogs::makeDialogButton(*this, QStringLiteral("Switch off now"), width - 127, 41 + top,
                                     60, 14);
    cancel_ =
        dialogs::makeDialogButton(*this, QStringLiteral("Cancel"), width - 63, 41 + top, 56, 14);
    // Enter must not switch the computer off by accident: Cancel is the default.
    cancel_->setDefault(true);
    cancel_->setFocus();
    connect(now_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &PowerOffDialog::tick);
    timer_.start();
    label_->setText(text());
}

QString PowerOffDialog::text() const {
    return QString::fromStdString(powerOffCountdownText(left_));
}

void PowerOffDialog::tick() {
    left_ = std::max(0, left_ - 1);
    label_->setText(text());
    if (left_ == 0) {
        timer_.stop();
        accept();
    }
}

bool runPowerOffDialog(QWidget* owner, int seconds, const QString& summary) {
    PowerOffDialog dialog(seconds, summary, owner);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace pelorine
