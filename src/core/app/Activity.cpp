#include "app/Activity.h"

namespace pelorine {

bool Activity::refusedWhileConverting() {
    if (!converting()) {
        return false;
    }
    dialogs_.message(kGuardMessage);
    return true;
}

void Activity::keepWindowPainting() {
    struct Hold {
        std::atomic<int>& waits;
        explicit Hold(std::atomic<int>& count) : waits(count) { ++waits; }
        ~Hold() { --waits; }
    } hold(waits_);
    view_.keepAlive();
}

bool Activity::stopPreviewUnlessConverting() {
    if (refusedWhileConverting()) {
        return false;
    }
    stopPreview();
    return true;
}

bool Activity::passes(Guard guard) {
    if (waiting()) {
        return false;
    }
    switch (guard) {
        case Guard::None:
            return true;
        case Guard::RefuseWhileConverting:
            return !refusedWhileConverting();
        case Guard::Gate:
            return stopPreviewUnlessConverting();
    }
    return false;
}

void Activity::stopPreview() {
    if (previewing()) {
        preview_->stop();
    }
}

void Activity::quitPreview() {
    if (previewing()) {
        preview_->quit();
    }
}

}  // namespace pelorine
