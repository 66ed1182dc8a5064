#include "app/PreviewController.h"

namespace pelorine {

PreviewController::PreviewController(Engine& engine, MainView& view, Activity& activity,
                                     Dialogs& dialogs)
    : engine_(engine), view_(view), activity_(activity), dialogs_(dialogs) {}

void PreviewController::stop() {
    if (session_) {
        session_->end(EngineSession::kQuitPatience, [this] { view_.keepAlive(); });
        session_.reset();
    }
}

void PreviewController::quit() {
    if (session_) {
        session_->quit();
    }
}

void PreviewController::play() {
    if (activity_.converting()) {
        dialogs_.message(kStopConvertingFirstMessage);
    }
}

void PreviewController::stopPlay() {
    if (active()) {
        stop();
    }
}

void PreviewController::playPrevious() {}

void PreviewController::playNext() {}

}  // namespace pelorine
