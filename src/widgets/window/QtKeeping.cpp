#include "window/QtKeeping.h"

#include <QMessageBox>
#include <QPushButton>

#include "app/MainView.h"

namespace pelorine {

QtKeepTimer::QtKeepTimer() {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        auto due = std::move(due_);
        due_ = nullptr;
        if (due) {
            due();
        }
    });
}

void QtKeepTimer::start(std::chrono::milliseconds delay, std::function<void()> due) {
    due_ = std::move(due);
    timer_.start(delay);
}

void QtKeepTimer::cancel() {
    timer_.stop();
    due_ = nullptr;
}

bool QtKeepDialogs::askRestore(const std::string& question) {
    QMessageBox box(QMessageBox::Question, kProductTitle, QString::fromStdString(question),
                    QMessageBox::NoButton, owner_);
    QPushButton* restore = box.addButton("Restore", QMessageBox::AcceptRole);
    box.addButton("Discard", QMessageBox::DestructiveRole);
    box.setDefaultButton(restore);
    box.exec();
    return box.clickedButton() == restore;
}

void QtKeepDialogs::tell(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, kProductTitle, QString::fromStdString(text),
                    QMessageBox::Ok, owner_);
    box.exec();
}

std::function<void(std::function<void()>)> queuedOn(QObject* context) {
    return [context](std::function<void()> work) {
        QMetaObject::invokeMethod(context, std::move(work), Qt::QueuedConnection);
    };
}

}  // namespace pelorine
