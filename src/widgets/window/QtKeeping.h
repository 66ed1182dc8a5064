#pragma once
// The keeper's window side in Qt: its timer, the thread its writes report
// back through, and its two dialogs, modal to the window.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "keeping/ListKeeper.h"

namespace pelorine {

class QtKeepTimer final : public KeepTimer {
public:
    QtKeepTimer();
    void start(std::chrono::milliseconds delay, std::function<void()> due) override;
    void cancel() override;

private:
    QTimer timer_;
    std::function<void()> due_;
};

class QtKeepDialogs final : public KeepDialogs {
public:
    void setOwner(QWidget* owner) { owner_ = owner; }
    // Restore (the default) and Discard.
    bool askRestore(const std::string& question) override;
    void tell(const std::string& text) override;

private:
    QPointer<QWidget> owner_;
};

// Runs work on the thread of `context` later, once its event loop comes to
// it (never, when `context` goes first). `context` must outlive whatever
// calls this from another thread.
std::function<void(std::function<void()>)> queuedOn(QObject* context);

}  // namespace pelorine
