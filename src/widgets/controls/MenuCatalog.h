#pragma once
// The window's pop-up menus as data: for each menu id its items, their command
// ids and their pictures, in order.

#include <QString>

#include <memory>
#include <vector>

class QWidget;

namespace pelorine::controls {

class SkinMenu;

struct MenuEntry {
    int commandId;  // 0: a separator, or the item that opens `submenuId`
    const char* text;
    int pictureId;      // 0: no picture
    int submenuId = 0;  // the menu this item opens; 0: none
};

// Menu ids: 143 File, 144 Edit, 145 Settings, 148 Help; 146 preview and 147
// conversion (no button opens them); 238 the job list with a row selected,
// 239 the job list without one; 149 "Jobs at once" (in Settings). Any other
// id gives an empty list.
const std::vector<MenuEntry>& menuEntries(int menuId);

// A skinned menu holding the entries of `menuId`; empty for an unknown id.
// A submenu is one choice among its items: they are checkable and exclusive.
std::unique_ptr<SkinMenu> buildSkinMenu(int menuId, QWidget* parent = nullptr);

}  // namespace pelorine::controls
