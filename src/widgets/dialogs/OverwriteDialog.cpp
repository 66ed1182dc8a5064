#include "dialogs/OverwriteDialog.h"

#include <QGroupBox>
#include <QRadioButton>

#include "controls/GradientButton.h"
#include "dialogs/DialogLook.h"

namespace pelorine {
namespace {

struct RadioPlace {
    int id;
    const char* text;
    int x, y, width, height;
};

// In dialog units.
constexpr RadioPlace kRadios[] = {
    {OverwriteDialog::kOverwriteId, "Overwrite", 19, 24, 47, 10},
    {OverwriteDialog::kRemindId, "Not overwrite(remind me)", 19, 37, 98, 10},
    {OverwriteDialog::kIgnoreId, "Not overwrite(ignore the selected file)", 19, 51, 137, 10},
};

}  // namespace

OverwriteDialog::OverwriteDialog(int policy, QWidget* parent) : QDialog(parent) {
    using dialogs::fromDialogUnits;
    dialogs::applyDialogLook(*this, QStringLiteral("Output File Overwrite"), 168, 102);

    auto* group = new QGroupBox(QStringLiteral("Output file overwrite type"), this);
    group->setGeometry(fromDialogUnits(7, 7, 153, 64));
    // The radio buttons are the group box's siblings, as in the layout, so that
    // they form one exclusive set of the dialog.
    for (std::size_t i = 0; i < std::size(kRadios); ++i) {
        const RadioPlace& place = kRadios[i];
        auto* radio = new QRadioButton(QString::fromLatin1(place.text), this);
        radio->setObjectName(QString::number(place.id));
        radio->setGeometry(fromDialogUnits(place.x, place.y, place.width, place.height));
        connect(radio, &QRadioButton::clicked, this, [this, id = place.id] { chooseRadio(id); });
        radios_[i] = radio;
    }
    ok_ = dialogs::makeDialogButton(*this, QStringLiteral("OK"), 53, 79, 50, 14);
    ok_->setDefault(true);
    cancel_ = dialogs::makeDialogButton(*this, QStringLiteral("Cancel"), 105, 79, 50, 14);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    policy_ = policy;
    if (policy >= 1 && policy <= 3) {
        radio(kOverwriteId + policy - 1)->setChecked(true);
    }
}

QRadioButton* OverwriteDialog::radio(int id) const {
    const int index = id - kOverwriteId;
    return index >= 0 && index < static_cast<int>(std::size(radios_)) ? radios_[index] : nullptr;
}

void OverwriteDialog::chooseRadio(int id) {
    if (radio(id)->isChecked()) {
        policy_ = id - kOverwriteId + 1;
    }
}

std::optional<int> runOverwriteDialog(QWidget* owner, int policy) {
    OverwriteDialog dialog(policy, owner);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.policy();
}

}  // namespace pelorine
