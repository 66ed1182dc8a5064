#pragma once
// The decisions of the main window, by concern: the command table routes
// every command through its guard to one of the controllers (the job list,
// the batch, the preview, the project and profile files), which share one
// activity object. The window forwards commands and events here and shows
// what this asks for.

#include <memory>
#include <string>

#include "app/Activity.h"
#include "app/BatchController.h"
#include "app/CommandTable.h"
#include "app/FilesController.h"
#include "app/HandheldController.h"
#include "app/JobListOperations.h"
#include "app/JobRows.h"
#include "app/MainView.h"
#include "app/PreviewController.h"
#include "dvd/EngineDiscReader.h"
#include "dvd/OpenDvd.h"
#include "engine/Engine.h"
#include "jobs/JobList.h"
#include "keeping/KeepSetting.h"
#include "keeping/KeptWindowList.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/LargeFiles.h"
#include "platform/Machine.h"
#include "platform/MountTable.h"
#include "platform/OpticalDrives.h"
#include "platform/PowerControl.h"
#include "platform/SystemPaths.h"
#include "settings/JobsAtOnceSetting.h"
#include "settings/Settings.h"
#include "settings/TrackSettings.h"

namespace pelorine {

class MainController {
public:
    // Where Open DVD lists the drives and Send to PSP looks for the memory stick.
    struct Devices {
        const platform::OpticalDrives& drives;
        platform::LargeFiles& largeFiles;
        const platform::MountTable& mounts;
        // The processors and memory "Jobs at once: Auto" chooses from.
        const platform::Machine& machine;
        // A folder that stands for the only memory stick; empty: the mount
        // table is asked.
        std::string handheldOverride;
    };
    struct Services {
        Engine& engine;
        platform::SystemPaths& paths;
        platform::FileSystem& files;
        platform::PowerControl& power;
        platform::Desktop& desktop;
        Settings& settings;
        Devices devices;
    };

    MainController(Services services, MainView& view, Dialogs& dialogs);
    MainController(const MainController&) = delete;
    MainController& operator=(const MainController&) = delete;

    // Fills the grid and shows the output folder; the window calls it once
    // it is laid out.
    void initialise();

    // Every command of the window, its menus and its list view, with what
    // the window showed then. False for an id that is not a command.
    bool handleCommand(int id, const WindowState& at);

    // A file given to the program: a project replaces the list.
    void openFile(const std::string& path, const WindowState& at);
    // Files given on the command line or by a file manager: a project is
    // opened, a profile loaded, anything else added as a source.
    void openFiles(const std::vector<std::string>& paths, const WindowState& at);

    // From now on the list is kept on disk (the window's program does this
    // once it shows; tests may leave it out): what the last run left is
    // restored or asked about first, after a clean end only when the keep
    // setting is on.
    void keepList(KeepingServices services);
    // At a clean end: the list's last write. Ok when it is not kept.
    Status finishKeeping();

    // A double-click on a row, the selected one: StopPlay, then Play.
    void playSelected(std::optional<std::size_t> row);

    // Files and folders dropped on the job list: added as Add adds files
    // (with the profile box's selection `profile`), under Add's guard.
    void filesDropped(const std::vector<std::string>& paths, int profile);

    // The window's answer to BatchView::batchEnded: the grid shows the Job
    // of the selected row, as a click would.
    void batchOver(const WindowState& at);

    // The output path edit's text changed (also when set by the program).
    void outputPathEdited(const std::string& text);
    // The window is asked to close: true when it may.
    bool closeRequested();
    // The progress timer's tick, every 50 ms while a batch runs.
    void progressTick(const WindowState& at = {}) { batch_.progressTick(at); }

    ActivityState activityState() const { return activity_.state(); }
    bool batchActive() const { return batch_.workerRunning(); }
    // Whether a checkable menu item shows its check; none for other commands.
    std::optional<bool> checked(int command) const;
    // How many Jobs the next batch converts at once: the setting, Auto
    // resolved for the machine as it is now.
    int jobsAtOnce() const;

    JobList& jobs() { return jobs_; }
    JobListOperations& jobOperations() { return jobOperations_; }
    SettingsRows& rows() { return rows_; }
    BatchController& batch() { return batch_; }
    PreviewController& preview() { return preview_; }
    FilesController& files() { return files_; }
    OpenDvd& openDvd() { return openDvd_; }
    HandheldController& handheld() { return handheld_; }

private:
    void buildCommandTable();
    void addSettingChecks();
    void exitProgram();
    void showMenu(int menu, int button, const WindowState& at);
    void chooseOutputFolder();
    void applyOutputFolder(const std::string& folder);
    void openLink(const std::string& link);
    void openHelp();
    void videoInformation(std::optional<std::size_t> row);
    void setOutputFileName(std::optional<std::size_t> row);
    void overwriteSettings();
    void trackDefaults();
    void showSelectedLog(std::optional<std::size_t> row);

    Services services_;
    MainView& view_;
    Dialogs& dialogs_;
    JobList jobs_;
    JobRows jobRows_;
    SettingsRows rows_;
    CustomProfile custom_;
    Activity activity_;
    PreviewController preview_;
    FilesController files_;
    TrackSettings trackSettings_;
    JobListOperations jobOperations_;
    EngineDiscReader discReader_;
    OpenDvd openDvd_;
    CommandTable commands_;
    HandheldSettings handheldSettings_;
    HandheldController handheld_;
    KeepSetting keepSetting_;
    JobsAtOnceSetting jobsSetting_;
    std::unique_ptr<KeptWindowList> kept_;
    // Last: its destructor waits for a batch that still converts.
    BatchController batch_;
};

}  // namespace pelorine
