#include "dialogs/DialogLook.h"

#include <QDialog>
#include <QFont>
#include <QPalette>

#include "controls/GradientButton.h"

namespace pelorine::dialogs {
namespace {

// Free look-alikes of the 10-point "System" face.
QFont dialogFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(13);
    return font;
}

}  // namespace

QRect fromDialogUnits(int x, int y, int width, int height) {
    return QRect(x * kPixelsPerUnitX, y * kPixelsPerUnitY, width * kPixelsPerUnitX,
                 height * kPixelsPerUnitY);
}

void applyDialogLook(QDialog& dialog, const QString& caption, int width, int height) {
    dialog.setWindowTitle(caption);
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog.setModal(true);
    dialog.setFixedSize(fromDialogUnits(0, 0, width, height).size());
    QPalette palette = dialog.palette();
    palette.setColor(QPalette::Window, kDialogBackground);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(role, Qt::black);
    }
    dialog.setPalette(palette);
    dialog.setAutoFillBackground(true);
    dialog.setFont(dialogFont());
}

controls::GradientButton* makeDialogButton(QDialog& dialog, const QString& text, int x, int y,
                                           int width, int height) {
    auto* button = new controls::GradientButton(text, &dialog);
    button->setGeometry(fromDialogUnits(x, y, width, height));
    return button;
}

}  // namespace pelorine::dialogs
