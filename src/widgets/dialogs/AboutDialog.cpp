#include "dialogs/AboutDialog.h"

#include <QFrame>
#include <QLabel>

#include <algorithm>

#include "app/MainView.h"
#include "controls/GradientButton.h"
#include "dialogs/DialogLook.h"

namespace pelorine {
namespace {

// The sunken edge drawn around the client area, outside the layout.
constexpr int kEdge = 2;
// Room kept right of the longest line when a line would not fit.
constexpr int kRightRoom = 16;

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    using dialogs::fromDialogUnits;
    dialogs::applyDialogLook(*this, QStringLiteral("About..."), 187, 86);

    auto* edge = new QFrame(this);
    edge->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    edge->setLineWidth(kEdge);

    const QPoint offset(kEdge, kEdge);
    const QString texts[] = {QString::fromUtf8(kAboutNotice), QString::fromUtf8(kAboutWebsite),
                             QString::fromUtf8(kSupportAddress)};
    const QPoint places[] = {{13, 18}, {18, 30}, {23, 42}};
    int rightmost = 0;
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(texts[i], this);
        label->move(fromDialogUnits(places[i].x(), places[i].y(), 0, 0).topLeft() + offset);
        label->adjustSize();
        rightmost = std::max(rightmost, label->geometry().right());
        lines_[i] = label;
    }
    ok_ = dialogs::makeDialogButton(*this, QStringLiteral("OK"), 137, 66, 42, 12);
    ok_->move(ok_->pos() + offset);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    // The layout's width was made for another face: widen the box rather than
    // cut the notice, keeping the OK button at its distance from the right.
    QSize size = this->size() + QSize(2 * kEdge, 2 * kEdge);
    const int widened = std::max(size.width(), rightmost + 1 + kRightRoom + kEdge);
    ok_->move(ok_->x() + widened - size.width(), ok_->y());
    size.setWidth(widened);
    setFixedSize(size);
    edge->setGeometry(rect());
}

void runAboutDialog(QWidget* owner) {
    AboutDialog dialog(owner);
    dialog.exec();
}

}  // namespace pelorine
