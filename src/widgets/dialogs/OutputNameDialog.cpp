#include "dialogs/OutputNameDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

#include "app/SmallDialogText.h"

#include "controls/GradientButton.h"
#include "dialogs/DialogLook.h"

namespace pelorine {

OutputNameDialog::OutputNameDialog(QWidget* parent) : QDialog(parent) {
    using dialogs::fromDialogUnits;
    dialogs::applyDialogLook(*this, QStringLiteral("Set Output File Name"), 187, 94);

    auto* prompt = new QLabel(QStringLiteral("Please input output file name:"), this);
    prompt->move(fromDialogUnits(13, 19, 0, 0).topLeft());
    prompt->adjustSize();
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QString::number(kNameEditId));
    edit_->setGeometry(fromDialogUnits(28, 35, 138, 11));
    ok_ = dialogs::makeDialogButton(*this, QStringLiteral("OK"), 79, 73, 50, 14);
    ok_->setDefault(true);
    cancel_ = dialogs::makeDialogButton(*this, QStringLiteral("Cancel"), 130, 73, 50, 14);
    edit_->setFocus();

    connect(ok_, &QPushButton::clicked, this, [this] {
        const std::string typed = edit_->text().toStdString();
        // A name that would put the output elsewhere is refused here, where
        // the user can still correct it.
        if (const auto problem = outputNameProblem(typed)) {
            QMessageBox::warning(this, windowTitle(), QString::fromStdString(*problem));
            edit_->setFocus();
            edit_->selectAll();
            return;
        }
        name_ = typed;
        accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<std::string> runOutputNameDialog(QWidget* owner) {
    OutputNameDialog dialog(owner);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.name();
}

}  // namespace pelorine
