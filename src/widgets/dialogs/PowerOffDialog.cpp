#include "dialogs/PowerOffDialog.h"

#include <QLabel>

#include "app/SmallDialogText.h"
#include "controls/GradientButton.h"
#include "dialogs/DialogLook.h"

namespace pelorine {

PowerOffDialog::PowerOffDialog(int seconds, QWidget* parent) : QDialog(parent), left_(seconds) {
    dialogs::applyDialogLook(*this, QStringLiteral("Shut down"), 180, 62);
    label_ = new QLabel(this);
    label_->setWordWrap(true);
    label_->setGeometry(dialogs::fromDialogUnits(7, 7, 166, 28));
    now_ = dialogs::makeDialogButton(*this, QStringLiteral("Switch off now"), 53, 41, 60, 14);
    cancel_ = dialogs::makeDialogButton(*this, QStringLiteral("Cancel"), 117, 41, 56, 14);
    // Enter must not switch the computer off by accident: Cancel is the default.
    cancel_->setDefault(true);
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

bool runPowerOffDialog(QWidget* owner, int seconds) {
    PowerOffDialog dialog(seconds, owner);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace pelorine
