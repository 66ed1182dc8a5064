#pragma once
// The identifiers of the main window's commands: buttons, menu items and the
// list view's context-menu messages. They name the actions; the menus and the
// window are built from them.

namespace pelorine::command {

// Buttons of the main window.
inline constexpr int kExit = 1000;
inline constexpr int kFileMenu = 1001;
inline constexpr int kEditMenu = 1002;
inline constexpr int kSettingsMenu = 1003;
inline constexpr int kHelpMenu = 1006;
inline constexpr int kAdd = 1007;
inline constexpr int kDelete = 1008;
inline constexpr int kClear = 1009;
inline constexpr int kConvert = 1010;
inline constexpr int kStop = 1011;
inline constexpr int kDvd = 1012;
inline constexpr int kWebsite = 1013;
inline constexpr int kMinimise = 1014;
inline constexpr int kSaveProfileAs = 1015;
inline constexpr int kBrowse = 1016;
inline constexpr int kCancel = 1017;
inline constexpr int kPlay = 1018;
inline constexpr int kStopPlay = 1019;
inline constexpr int kPlayPrevious = 1020;
inline constexpr int kPlayNext = 1021;

// Controls.
inline constexpr int kSeekBar = 1022;
inline constexpr int kProfileCombo = 1028;
inline constexpr int kOutputPathEdit = 1030;
inline constexpr int kJobBar = 1031;
inline constexpr int kOverallBar = 1032;
inline constexpr int kJobListView = 1033;
inline constexpr int kSettingsGrid = 1034;
inline constexpr int kPreviewWindow = 1035;
inline constexpr int kShutDownBox = 1057;
inline constexpr int kRangeSlider = 10002;

// Menu items.
inline constexpr int kNewProject = 32771;
inline constexpr int kOpenProject = 32772;
inline constexpr int kSaveProject = 32773;
inline constexpr int kAddFile = 32774;
inline constexpr int kDeleteSelectedFile = 32775;
inline constexpr int kClearMenu = 32776;
inline constexpr int kExitMenu = 32777;
inline constexpr int kStopPreviewOrGuard = 32779;
inline constexpr int kSetOutputPath = 32780;
inline constexpr int kPlayMenu = 32781;
inline constexpr int kConvertMenu = 32784;
inline constexpr int kHelp = 32785;
inline constexpr int kWebsiteMenu = 32786;
inline constexpr int kAbout = 32787;
inline constexpr int kContactUs = 32788;
inline constexpr int kOverwriteSettings = 32790;
inline constexpr int kVideoInformation = 32791;
inline constexpr int kLoadProfile = 32797;
inline constexpr int kSetOutputFileName = 32807;
inline constexpr int kStopPreviewMenu = 32809;
inline constexpr int kStopConversionMenu = 32810;

// Copying to the handheld and its settings (Edit, Settings and the list's menu).
inline constexpr int kSendToHandheld = 32830;
inline constexpr int kToggleThumbnails = 32831;
inline constexpr int kToggleNewerFirmware = 32832;
inline constexpr int kToggleCopyWhenFinished = 32833;

// A file Job's sound track and subtitles (Edit and the list's menu), and the
// defaults of new file Jobs (Settings).
inline constexpr int kSoundAndSubtitles = 32834;
inline constexpr int kTrackDefaults = 32835;

// Whether a start after a clean end brings the list back (Settings).
inline constexpr int kToggleKeepList = 32836;

// Settings → Jobs at once: Auto, then 1 to 8 as kJobsAtOnceAuto + N.
inline constexpr int kJobsAtOnceAuto = 32837;
inline constexpr int kJobsAtOnceMost = kJobsAtOnceAuto + 8;

// The list view's context menu, posted on to the main window.
inline constexpr int kListPlay = 0x867;
inline constexpr int kListStop = 0x868;
inline constexpr int kListAddFile = 0x869;
inline constexpr int kListClear = 0x86A;
inline constexpr int kListDvdSettings = 0x86B;
inline constexpr int kListSetOutputFileName = 0x86C;
inline constexpr int kListFileInformation = 0x86D;
inline constexpr int kListDeleteVideoFile = 0x86E;
inline constexpr int kListShowLog = 0x86F;  // the engine log of the selected Job
inline constexpr int kListSoundAndSubtitles = 0x871;
inline constexpr int kListSendToHandheld = 0x870;

// The list view's context-menu items; the window posts each on as its
// command above.
inline constexpr int kListMenuPlay = 32798;
inline constexpr int kListMenuStop = 32799;
inline constexpr int kListMenuAddFile = 32801;
inline constexpr int kListMenuDeleteVideoFile = 32802;
inline constexpr int kListMenuClear = 32803;
inline constexpr int kListMenuDvdSettings = 32804;
inline constexpr int kListMenuSetOutputFileName = 32805;
inline constexpr int kListMenuFileInformation = 32806;
inline constexpr int kListMenuSendToHandheld = 32811;
inline constexpr int kListMenuShowLog = 32812;
inline constexpr int kListMenuSoundAndSubtitles = 32813;

// Keys that reach a command: the whole window's, or the job list's only when
// it has the keyboard (Delete must not delete a Job while a value is typed).
// Alt and a menu's first letter open it below its button, as a menu bar does.
struct KeyBinding {
    const char* keys;  // as Qt writes a key sequence
    int command;
    bool listOnly;
};
inline constexpr KeyBinding kKeyBindings[] = {
    {"Delete", kDelete, true},       {"Ctrl+O", kAdd, false},
    {"Ctrl+S", kSaveProject, false}, {"F1", kHelp, false},
    {"Alt+F", kFileMenu, false},     {"Alt+E", kEditMenu, false},
    {"Alt+S", kSettingsMenu, false}, {"Alt+H", kHelpMenu, false},
};

// Pop-up menus of the top buttons and of the list view.
inline constexpr int kFileMenuResource = 143;
inline constexpr int kEditMenuResource = 144;
inline constexpr int kSettingsMenuResource = 145;
inline constexpr int kPlayMenuResource = 146;
inline constexpr int kConvertMenuResource = 147;
inline constexpr int kHelpMenuResource = 148;
inline constexpr int kJobsAtOnceMenuResource = 149;
inline constexpr int kListMenuWithSelection = 238;
inline constexpr int kListMenuWithoutSelection = 239;

}  // namespace pelorine::command
