#include "app/Activity.h"

namespace pelorine {

bool Activity::refusedWhileConverting() {
    if (!converting()) {
        return false;
    }
    dialogs_.message(kGuardMessage);
    return true;
}

bool Activity::gate() {
    if (refusedWhileConverting()) {
        return false;
    }
    stopPreview();
    return true;
}

bool Activity::passes(Guard guard) {
    switch (guard) {
        case Guard::None:
            return true;
        case Guard::RefuseWhileConverting:
            return !refusedWhileConverting();
        case Guard::Gate:
            return gate();
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
