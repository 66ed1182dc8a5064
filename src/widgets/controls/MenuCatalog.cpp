#include "controls/MenuCatalog.h"

#include <map>

#include "controls/SkinMenu.h"

namespace pelorine::controls {

const std::vector<MenuEntry>& menuEntries(int menuId) {
    static const std::map<int, std::vector<MenuEntry>> kMenus{
        {143,
         {{32771, "New project", 246},
          {32772, "Open Project...", 247},
          {32773, "Save Project...", 248},
          {0, "", 0},
          {32774, "Add File...", 249},
          {32775, "Delete Selected File", 250},
          {32776, "Clear", 251},
          {0, "", 0},
          {1012, "Open DVD...", 252},
          {0, "", 0},
          {32797, "load profile...", 253},
          {0, "", 0},
          {32777, "Exit", 0}}},
        {144,
         {{32791, "Video information...", 254},
          {32807, "Set Output File Name...", 255},
          {0, "", 0},
          {32830, "Send to PSP", 0}}},
        {145,
         {{32780, "Set Output Path...", 256},
          {32790, "Output File Overwrite...", 257},
          {1012, "DVD Settings...", 252},
          {0, "", 0},
          {32831, "Make thumbnails (.THM)", 0},
          {32832, "Newer PSP firmware (2.80 and later)", 0},
          {32833, "Copy to the PSP when finished", 0}}},
        {146, {{32781, "Play", 0}, {32809, "Stop", 0}}},
        {147, {{32784, "Convert", 0}, {32810, "Stop", 0}}},
        {148,
         {{32785, "Help...", 262},
          {32786, "Website", 263},
          {32788, "Contact us", 245},
          {32787, "About...", 0}}},
        {238,
         {{32798, "Play", 258},
          {32799, "Stop", 259},
          {0, "", 0},
          {32801, "Add File...", 249},
          {32802, "Delete Video File", 250},
          {32803, "Clear", 251},
          {0, "", 0},
          {32804, "DVD Settings", 252},
          {32805, "Set Output File Name...", 255},
          {0, "", 0},
          {32806, "File Information...", 254},
          {32811, "Send to PSP", 0},
          {32812, "Show Log...", 0}}},
        {239, {{32801, "Add File...", 249}, {32803, "Clear", 251}}},
    };
    static const std::vector<MenuEntry> kNone;
    const auto found = kMenus.find(menuId);
    return found == kMenus.end() ? kNone : found->second;
}

std::unique_ptr<SkinMenu> buildSkinMenu(int menuId, QWidget* parent) {
    auto menu = std::make_unique<SkinMenu>(parent);
    for (const MenuEntry& entry : menuEntries(menuId)) {
        if (entry.commandId == 0) {
            menu->addSeparator();
        } else {
            menu->addCommand(entry.commandId, QString::fromUtf8(entry.text), entry.pictureId);
        }
    }
    return menu;
}

}  // namespace pelorine::controls
