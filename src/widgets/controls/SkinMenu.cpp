#include "controls/SkinMenu.h"

#include "controls/FlatMenuStyle.h"
#include "controls/SkinPictures.h"

namespace pelorine::controls {

SkinMenu::SkinMenu(QWidget* parent) : QMenu(parent), style_(new FlatMenuStyle) {
    // A widget does not own the style it is given.
    style_->setParent(this);
    setStyle(style_);
    connect(this, &QMenu::triggered, this, [this](QAction* action) {
        if (const int id = commandOf(action); id != 0) {
            emit commandChosen(id);
        }
    });
}

QAction* SkinMenu::addCommand(int commandId, const QString& text, int pictureId) {
    QAction* action = addAction(text);
    action->setData(commandId);
    action->setIconVisibleInMenu(true);
    if (pictureId != 0) {
        if (const auto picture = SkinPictures::load(pictureId)) {
            action->setIcon(QIcon(*picture));
        }
    }
    return action;
}

void SkinMenu::setItemPicture(int commandId, int pictureId) {
    for (QAction* action : actions()) {
        if (commandOf(action) != commandId) {
            continue;
        }
        const auto picture = pictureId != 0 ? SkinPictures::load(pictureId) : std::nullopt;
        action->setIcon(picture ? QIcon(*picture) : QIcon());
    }
}

QAction* SkinMenu::actionForCommand(int commandId) const {
    for (QAction* action : actions()) {
        if (commandOf(action) == commandId) {
            return action;
        }
    }
    return nullptr;
}

int SkinMenu::commandOf(const QAction* action) {
    if (action == nullptr || action->isSeparator()) {
        return 0;
    }
    return action->data().toInt();
}

int SkinMenu::choose(const QPoint& screenPoint) {
    return commandOf(exec(screenPoint));
}

}  // namespace pelorine::controls
