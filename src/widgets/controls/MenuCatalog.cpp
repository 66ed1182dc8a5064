#include "controls/MenuCatalog.h"

#include <QActionGroup>

#include <map>

#include "app/Commands.h"
#include "controls/SkinMenu.h"

namespace pelorine::controls {

const std::vector<MenuEntry>& menuEntries(int menuId) {
    using namespace command;
    static const std::map<int, std::vector<MenuEntry>> kMenus{
        {kFileMenuResource,
         {{kNewProject, "&New project", 246},
          {kOpenProject, "&Open Project...", 247},
          {kSaveProject, "&Save Project...", 248},
          {0, "", 0},
          {kAddFile, "&Add File...", 249},
          {kDeleteSelectedFile, "&Delete Selected File", 250},
          {kClearMenu, "&Clear", 251},
          {0, "", 0},
          {kDvd, "Open D&VD...", 252},
          {0, "", 0},
          {kLoadProfile, "&load profile...", 253},
          {0, "", 0},
          {kExitMenu, "E&xit", 0}}},
        {kEditMenuResource,
         {{kVideoInformation, "Video &information...", 254},
          {kSetOutputFileName, "Set &Output File Name...", 255},
          {kSoundAndSubtitles, "&Sound and Subtitles...", 0},
          {0, "", 0},
          {kSendToHandheld, "Send to &PSP", 0}}},
        {kSettingsMenuResource,
         {{kSetOutputPath, "Set Output &Path...", 256},
          {kOverwriteSettings, "Output File &Overwrite...", 257},
          {kDvd, "&DVD Settings...", 252},
          {kTrackDefaults, "&Sound and Subtitles...", 0},
          {0, "&Jobs at once", 0, kJobsAtOnceMenuResource},
          {0, "", 0},
          {kToggleThumbnails, "Make &thumbnails (.THM)", 0},
          {kToggleNewerFirmware, "&Newer PSP firmware (2.80 and later)", 0},
          {kToggleCopyWhenFinished, "&Copy to the PSP when finished", 0},
          {0, "", 0},
          {kToggleKeepList, "&Keep the list when Pelorine closes", 0}}},
        {kJobsAtOnceMenuResource,
         {{kJobsAtOnceAuto, "Auto", 0},
          {kJobsAtOnceAuto + 1, "1", 0},
          {kJobsAtOnceAuto + 2, "2", 0},
          {kJobsAtOnceAuto + 3, "3", 0},
          {kJobsAtOnceAuto + 4, "4", 0},
          {kJobsAtOnceAuto + 5, "5", 0},
          {kJobsAtOnceAuto + 6, "6", 0},
          {kJobsAtOnceAuto + 7, "7", 0},
          {kJobsAtOnceAuto + 8, "8", 0}}},
        {kPlayMenuResource, {{kPlayMenu, "Play", 0}, {kStopPreviewMenu, "Stop", 0}}},
        {kConvertMenuResource, {{kConvertMenu, "Convert", 0}, {kStopConversionMenu, "Stop", 0}}},
        {kHelpMenuResource,
         {{kHelp, "&Help...", 262},
          {kWebsiteMenu, "&Website", 263},
          {kContactUs, "&Contact us", 245},
          {kAbout, "&About...", 0}}},
        {kListMenuWithSelection,
         {{kListMenuPlay, "&Play", 258},
          {kListMenuStop, "S&top", 259},
          {0, "", 0},
          {kListMenuAddFile, "&Add File...", 249},
          {kListMenuDeleteVideoFile, "&Delete Video File", 250},
          {kListMenuClear, "&Clear", 251},
          {0, "", 0},
          {kListMenuDvdSettings, "D&VD Settings", 252},
          {kListMenuSetOutputFileName, "Set &Output File Name...", 255},
          {kListMenuSoundAndSubtitles, "&Sound and Subtitles...", 0},
          {0, "", 0},
          {kListMenuFileInformation, "File &Information...", 254},
          {kListMenuSendToHandheld, "S&end to PSP", 0},
          {kListMenuShowLog, "Show &Log...", 0}}},
        {kListMenuWithoutSelection,
         {{kListMenuAddFile, "&Add File...", 249}, {kListMenuClear, "&Clear", 251}}},
    };
    static const std::vector<MenuEntry> kNone;
    const auto found = kMenus.find(menuId);
    return found == kMenus.end() ? kNone : found->second;
}

std::unique_ptr<SkinMenu> buildSkinMenu(int menuId, QWidget* parent) {
    auto menu = std::make_unique<SkinMenu>(parent);
    for (const MenuEntry& entry : menuEntries(menuId)) {
        if (entry.submenuId != 0) {
            auto submenu = buildSkinMenu(entry.submenuId, menu.get());
            submenu->setTitle(QString::fromUtf8(entry.text));
            auto* choice = new QActionGroup(submenu.get());
            for (QAction* action : submenu->actions()) {
                action->setCheckable(true);
                choice->addAction(action);
            }
            menu->addMenu(submenu.release());  // owned by its parent menu
        } else if (entry.commandId == 0) {
            menu->addSeparator();
        } else {
            menu->addCommand(entry.commandId, QString::fromUtf8(entry.text), entry.pictureId);
        }
    }
    return menu;
}

}  // namespace pelorine::controls
