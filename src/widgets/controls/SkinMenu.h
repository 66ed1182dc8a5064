#pragma once
// A pop-up menu of the window in the flat skinned look. Each item carries the
// command id it stands for; choosing an item reports that id.

#include <QMenu>

namespace pelorine::controls {

class FlatMenuStyle;

class SkinMenu : public QMenu {
    Q_OBJECT

public:
    explicit SkinMenu(QWidget* parent = nullptr);

    // Appends an item; picture 0 means none. A picture that cannot be loaded
    // leaves the item without one.
    QAction* addCommand(int commandId, const QString& text, int pictureId = 0);

    // Gives the item with this command id a picture (0 clears it). When several
    // items share the id, all of them get it.
    void setItemPicture(int commandId, int pictureId);

    // The first item carrying this command id, or null.
    QAction* actionForCommand(int commandId) const;

    // The command id of an item; 0 for separators and null.
    static int commandOf(const QAction* action);

    // Shows the menu with its top-left corner at a screen point, waits for the
    // choice, and returns the chosen command id or 0 when nothing was chosen.
    int choose(const QPoint& screenPoint);

signals:
    void commandChosen(int commandId);

private:
    FlatMenuStyle* style_;
};

}  // namespace pelorine::controls
