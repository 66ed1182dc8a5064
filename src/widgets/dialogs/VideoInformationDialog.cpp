#include "dialogs/VideoInformationDialog.h"

#include <QPainter>

#include "controls/GradientButton.h"
#include "dialogs/DialogLook.h"

namespace pelorine {
namespace {

constexpr int kTextLeft = 20;
constexpr int kLineHeight = 20;

}  // namespace

VideoInformationDialog::VideoInformationDialog(const VideoInformation& information, QWidget* parent)
    : QDialog(parent), lines_(informationLines(information)) {
    dialogs::applyDialogLook(*this, QStringLiteral("Video information"), 244, 175);
    ok_ = dialogs::makeDialogButton(*this, QStringLiteral("OK"), 184, 151, 51, 15);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

void VideoInformationDialog::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QRect sheet = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    painter.fillRect(sheet, QColor::fromRgb(kSheetColour));
    painter.setPen(Qt::black);
    painter.drawRect(sheet.adjusted(0, 0, -1, -1));

    painter.setFont(font());
    for (const InformationLine& line : lines_) {
        // Each line keeps to its own strip; a long path is cut at the right.
        const QRect strip(kTextLeft, line.y, width() - 2 * kTextLeft, kLineHeight);
        painter.save();
        painter.setClipRect(strip);
        painter.drawText(strip, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                         QString::fromStdString(line.text));
        painter.restore();
    }
}

void runVideoInformationDialog(QWidget* owner, const VideoInformation& information) {
    VideoInformationDialog dialog(information, owner);
    dialog.exec();
}

}  // namespace pelorine
